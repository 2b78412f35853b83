#include "toolkit/picture_slot.h"

#include "toolkit/bitmap_list.h"
#include "toolkit/device_pixels.h"

#include <QPainter>

namespace quendal {

PictureSlot::PictureSlot(QWidget* parent) : QWidget(parent) {}

void PictureSlot::setList(const BitmapList* list) {
    list_ = list;
    refresh();
}

void PictureSlot::setIndex(int index) {
    if (index == index_) {
        return;
    }
    index_ = index;
    refresh();
}

void PictureSlot::setPixmap(const QPixmap& pixmap) {
    list_ = nullptr;
    index_ = -1;
    pixmap_ = pixmap;
    update();
}

void PictureSlot::refresh() {
    // The pixmap is made once per change, so a repaint during a round only copies pixels.
    pixmap_ = (list_ != nullptr && index_ >= 0 && index_ < list_->count())
                  ? list_->pixmap(index_, devicePixelRatioF())
                  : QPixmap();
    update();
}

void PictureSlot::paintEvent(QPaintEvent* /*event*/) {
    if (pixmap_.isNull()) {
        return;
    }
    QPainter p(this);
    paintPicture(p, QPointF(0, 0), pixmap_);
}

} // namespace quendal
