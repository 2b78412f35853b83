#include "toolkit/number_field.h"

#include "core/folders.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <optional>

namespace quendal {

namespace {

// A held arrow repeats after this pause, then at this rate.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 80;

std::optional<int> readWholeNumber(const QString& text) {
    const auto number = parseDecimal(text.toStdString());
    if (!number) {
        return std::nullopt;
    }
    // A whole number beyond the integer range is as large or as small as one can be.
    constexpr int64_t lowest = std::numeric_limits<int>::min();
    constexpr int64_t highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(*number, lowest, highest));
}

} // namespace

// --- NumberField ----------------------------------------------------------------------------

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumberField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
}

bool NumberField::holdsNumber() const {
    return readWholeNumber(text()).has_value();
}

int NumberField::value() const {
    return readWholeNumber(text()).value_or(minimum_);
}

void NumberField::setValue(int value) {
    setText(QString::number(std::clamp(value, minimum_, maximum_)));
}

// --- SpinButton -----------------------------------------------------------------------------

SpinButton::SpinButton(QWidget* parent) : QWidget(parent), repeat_(new QTimer(this)) {
    // The field beside it keeps the keyboard; the arrows are for the mouse.
    setFocusPolicy(Qt::NoFocus);
    connect(repeat_, &QTimer::timeout, this, &SpinButton::repeat);
}

void SpinButton::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
}

void SpinButton::setStep(int step) {
    step_ = std::max(1, step);
}

void SpinButton::setValue(int value) {
    value_ = std::clamp(value, minimum_, maximum_);
}

void SpinButton::stepUp() {
    stepBy(1);
}

void SpinButton::stepDown() {
    stepBy(-1);
}

void SpinButton::stepBy(int direction) {
    const int64_t next = static_cast<int64_t>(value_) + static_cast<int64_t>(direction) * step_;
    const int clamped =
        static_cast<int>(std::clamp<int64_t>(next, int64_t{minimum_}, int64_t{maximum_}));
    if (clamped == value_) {
        return;
    }
    value_ = clamped;
    emit changed(value_);
}

void SpinButton::setColours(const QColor& face, const QColor& arrow, const QColor& line) {
    face_ = face;
    arrow_ = arrow;
    line_ = line;
    update();
}

QSize SpinButton::sizeHint() const {
    return {17, 28};
}

void SpinButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const int w = width();
    const int h = height();
    const int half = h / 2;
    const QRect halves[2] = {QRect(0, 0, w, half), QRect(0, half, w, h - half)};
    for (int i = 0; i < 2; ++i) {
        const bool down = (i == 0 && held_ == Arrow::Up) || (i == 1 && held_ == Arrow::Down);
        const QRect r = halves[i];
        p.fillRect(r, down ? face_.darker(115) : face_);
        // A small arrow in the middle of its half, pointing up or down.
        const double cx = r.x() + r.width() / 2.0 + (down ? 0.5 : 0.0);
        const double cy = r.y() + r.height() / 2.0 + (down ? 0.5 : 0.0);
        const double aw = std::min(r.width() - 6, 9) / 2.0;
        const double ah = aw * 0.9;
        QPainterPath path;
        if (i == 0) {
            path.moveTo(cx - aw, cy + ah / 2);
            path.lineTo(cx + aw, cy + ah / 2);
            path.lineTo(cx, cy - ah / 2);
        } else {
            path.moveTo(cx - aw, cy - ah / 2);
            path.lineTo(cx + aw, cy - ah / 2);
            path.lineTo(cx, cy + ah / 2);
        }
        path.closeSubpath();
        p.fillPath(path, arrow_);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(line_);
    p.drawLine(0, 0, 0, h - 1);
    p.drawLine(1, half, w - 1, half);
}

void SpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    held_ = event->position().y() < height() / 2.0 ? Arrow::Up : Arrow::Down;
    stepBy(held_ == Arrow::Up ? 1 : -1);
    repeat_->start(kRepeatDelayMs);
    update();
    event->accept();
}

void SpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        release();
    }
    QWidget::mouseReleaseEvent(event);
}

void SpinButton::hideEvent(QHideEvent* event) {
    release();
    QWidget::hideEvent(event);
}

void SpinButton::repeat() {
    if (held_ == Arrow::None) {
        repeat_->stop();
        return;
    }
    repeat_->setInterval(kRepeatIntervalMs);
    stepBy(held_ == Arrow::Up ? 1 : -1);
}

void SpinButton::release() {
    repeat_->stop();
    if (held_ != Arrow::None) {
        held_ = Arrow::None;
        update();
    }
}

} // namespace quendal
