#pragma once
// A picture slot: shows one entry of a bitmap list, 1:1 from its top-left corner, on a
// transparent background, at the pixels of its screen (see device_pixels.h). Index -1 (or
// any index the list does not have) shows nothing. The slot keeps a pointer to the list;
// the list must outlive it.

#include <QPixmap>
#include <QWidget>

namespace quendal {

class BitmapList;

class PictureSlot : public QWidget {
    Q_OBJECT
  public:
    explicit PictureSlot(QWidget* parent = nullptr);

    void setList(const BitmapList* list);
    const BitmapList* list() const { return list_; }

    void setIndex(int index);
    int index() const { return index_; }

    // Shows a picture made beforehand, without a list: assigning it copies nothing, so a
    // screen can change pictures while it measures time.
    void setPixmap(const QPixmap& pixmap);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void refresh();

    const BitmapList* list_ = nullptr;
    int index_ = -1;
    QPixmap pixmap_;
};

} // namespace quendal
