#include "frame/own_fenster.h"

#include "core/program_state.h"
#include "frame/dialog_look.h"
#include "toolkit/bitmap_list.h"
#include "toolkit/builtin_lists.h"
#include "toolkit/design_scale.h"
#include "toolkit/keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cmath>

namespace quendal {

namespace {

// Title colour of the framed dialogs, RGB(200, 250, 230) once the first dialog exists.
QColor gTitleColour{200, 250, 230};

// Sizes of the frame bitmaps by index; fixed measures of the painter, not those of the
// bitmaps.
constexpr std::array<QSize, 8> kFrameSizes = {
    QSize(24, 47),  // 0 top-left corner
    QSize(23, 47),  // 1 right edge tile
    QSize(135, 47), // 2 top edge tile
    QSize(135, 47), // 3 top-right corner with the close box
    QSize(23, 24),  // 4 bottom-left corner
    QSize(159, 24), // 5 bottom edge tile
    QSize(23, 24),  // 6 bottom-right corner
    QSize(23, 47),  // 7 left edge tile
};

void copyTile(QPainter& p, int x, int y, const QImage& tile, int index) {
    if (tile.isNull()) {
        return;
    }
    const QSize size = kFrameSizes.at(static_cast<size_t>(index));
    p.drawImage(QPoint(x, y), tile, QRect(QPoint(0, 0), size));
}

} // namespace

TOwnFenster::TOwnFenster(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    preview_ = new KeyPreview(this, [this](QKeyEvent& event) { return previewKey(event); });
}

TOwnFenster::~TOwnFenster() {
    delete hostWindow_;
}

QColor TOwnFenster::titleColour() {
    return gTitleColour;
}

void TOwnFenster::FormCreate() {
    gTitleColour = QColor(200, 250, 230);
}

bool TOwnFenster::IsInCloseBox(int x, int y) const {
    const int left = width() - 42;
    const int top = 18;
    return x >= left && x < left + CloseBoxSize && y >= top && y < top + CloseBoxSize;
}

void TOwnFenster::centreOnPlayField() {
    const ProgramState& state = programState();
    // C++ division truncates toward zero, as the halvings must.
    move((state.PlayWidth - width()) / 2, (state.PlayHeight - height()) / 2);
}

void TOwnFenster::fitToPlayField() {
    auto* ppp = findChild<QWidget*>(QStringLiteral("ppp"), Qt::FindDirectChildrenOnly);
    if (ppp == nullptr) {
        return;
    }
    if (!scale_) {
        scale_ = std::make_unique<DesignScale>(ppp);
    }
    if (scale_->factor() == 1.0) {
        designPanel_ = ppp->size();
    }
    // The frame around the panel keeps its measures at any scale.
    const QSize frame(LeftWidth + RightWidth, TitleHeight + BottomHeight);
    const ProgramState& state = programState();
    double factor = std::min({1.0, double(state.PlayWidth - frame.width()) / designPanel_.width(),
                              double(state.PlayHeight - frame.height()) / designPanel_.height()});
    factor = std::max(factor, SmallestScale);
    if (factor != scale_->factor()) {
        scale_->apply(factor);
    }
    // Resized even when the limits stand already: a window system may have held the closed
    // window to a smaller size.
    setFixedSize(frame + ppp->size());
    resize(frame + ppp->size());
}

double TOwnFenster::contentScale() const {
    return scale_ ? scale_->factor() : 1.0;
}

int TOwnFenster::captionPointSize(int pixelsPerInch) {
    if (pixelsPerInch <= 100) {
        return 12;
    }
    return static_cast<int>(std::lround(96.0 / pixelsPerInch * 12.0));
}

QFont TOwnFenster::captionFont(int pixelsPerInch) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(captionPointSize(pixelsPerInch));
    return font;
}

void TOwnFenster::paintFrame(QPainter& p, int w, int h, const BitmapList& frame,
                             const QString& caption) {
    // Each strip is drawn at least once; tiles that run past their strip are overdrawn by
    // what is painted after them.
    int x = 24;
    do {
        copyTile(p, x, 0, frame.image(2), 2);
        x += 135;
    } while (x < w - 135);
    copyTile(p, 0, 0, frame.image(0), 0);
    copyTile(p, w - 135, 0, frame.image(3), 3);

    int y = 47;
    do {
        copyTile(p, 0, y, frame.image(7), 7);
        copyTile(p, w - 23, y, frame.image(1), 1);
        y += 47;
    } while (y < h - 24);

    x = 23;
    do {
        copyTile(p, x, h - 24, frame.image(5), 5);
        x += 159;
    } while (x < w - 23);
    copyTile(p, 0, h - 24, frame.image(4), 4);
    copyTile(p, w - 23, h - 24, frame.image(6), 6);

    if (caption.isEmpty()) {
        return;
    }
    const int dpi = p.device() != nullptr ? p.device()->logicalDpiY() : 96;
    p.setFont(captionFont(dpi));
    p.setPen(gTitleColour);
    p.setBackgroundMode(Qt::TransparentMode);
    // The caption ends before the close box rather than running under it.
    const QRect area(CaptionPos, QPoint(w - 42 - 4, TitleHeight - 1));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
}

void TOwnFenster::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    // Behind the bitmaps, so that a program without them still shows a closed frame.
    p.fillRect(rect(), QColor(82, 190, 160));
    paintFrame(p, width(), height(), builtinFrameList(), windowTitle());
}

void TOwnFenster::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    // Only presses on the frame itself count, not those a child control let through.
    if (event->button() == Qt::LeftButton && childAt(pos) == nullptr) {
        if (IsInCloseBox(pos.x(), pos.y())) {
            done(ResultCancel);
            return;
        }
        dragging_ = true;
        pressGlobal_ = event->globalPosition().toPoint();
        pressWindowPos_ = this->pos();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void TOwnFenster::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        // End the press and let the window manager move the window with the pointer. Where
        // the platform refuses, the frame follows the pointer itself until the release.
        dragging_ = false;
        QWindow* window = windowHandle();
        if (window != nullptr && window->startSystemMove()) {
            return;
        }
        manualMove_ = true;
    }
    if (manualMove_ && (event->buttons() & Qt::LeftButton) != 0) {
        move(pressWindowPos_ + (event->globalPosition().toPoint() - pressGlobal_));
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void TOwnFenster::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        manualMove_ = false;
    }
    QDialog::mouseReleaseEvent(event);
}

void TOwnFenster::showEvent(QShowEvent* event) {
    attachToHostWindow();
    // Controls made since the last show are watched too.
    preview_->install();
    FormShow();
    fitToPlayField();
    centreOnPlayField();
    QDialog::showEvent(event);
}

void TOwnFenster::hideEvent(QHideEvent* event) {
    // Closed, the dialog is at its design again, for whatever its code changes before the next
    // show.
    if (scale_ && scale_->factor() != 1.0) {
        scale_->apply(1.0);
        setFixedSize(designPanel_ + QSize(LeftWidth + RightWidth, TitleHeight + BottomHeight));
    }
    QDialog::hideEvent(event);
}

void TOwnFenster::FormShow() {}

void TOwnFenster::okbuttonClick() {
    done(ResultOk);
}

void TOwnFenster::cancelbuttonClick() {
    done(ResultCancel);
}

void TOwnFenster::attachToHostWindow() {
    if (hostAttached_) {
        return;
    }
    hostAttached_ = true;
    const int64_t handle = programState().HostWindowHandle;
    if (handle < 0) {
        return;
    }
    // The window of another program that hosts this one owns every dialog; a platform that
    // cannot reach foreign windows leaves the dialog without an owner.
    hostWindow_ = QWindow::fromWinId(static_cast<WId>(handle));
    QWindow* window = windowHandle();
    if (hostWindow_ != nullptr && window != nullptr) {
        window->setTransientParent(hostWindow_);
    }
}

bool TOwnFenster::previewKey(QKeyEvent& event) {
    if (FormKeyDown(keys::keyCode(event))) {
        return true;
    }
    const QChar typed = keys::keyChar(event);
    return !typed.isNull() && FormKeyPress(typed);
}

void TOwnFenster::keyPressEvent(QKeyEvent* event) {
    if (previewKey(*event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TOwnFenster::FormKeyDown(int key) {
    if (key == keys::Enter) {
        okbuttonClick();
        return true;
    }
    if (key == keys::Escape) {
        cancelbuttonClick();
        return true;
    }
    return false;
}

bool TOwnFenster::FormKeyPress(QChar /*key*/) {
    return false;
}

void TOwnFenster::reject() {
    done(ResultCancel);
}

} // namespace quendal
