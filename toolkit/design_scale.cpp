#include "toolkit/design_scale.h"

#include <QFrame>
#include <cmath>

namespace quendal {

namespace {

// Plain panels, whose children stand at the places their code gave them.
bool isPanel(const QWidget* widget) {
    const QMetaObject* kind = widget->metaObject();
    return kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject;
}

QSize scaledSize(const QSize& size, double factor) {
    auto side = [factor](int v) { return v >= QWIDGETSIZE_MAX ? v : DesignScale::edge(v, factor); };
    return {side(size.width()), side(size.height())};
}

} // namespace

DesignScale::DesignScale(QWidget* root) : root_(root) {}

int DesignScale::edge(int value, double factor) {
    return static_cast<int>(std::lround(value * factor));
}

void DesignScale::note(QWidget* widget, bool placed) {
    design_.push_back({widget, widget->geometry(), widget->minimumSize(), widget->maximumSize(),
                       placed, widget->testAttribute(Qt::WA_SetFont), widget->font()});
    const bool entered = widget == root_ || isPanel(widget);
    for (QObject* child : widget->children()) {
        auto* part = qobject_cast<QWidget*>(child);
        // Inner parts of the widgets that arrange themselves are noted for their fonts only.
        if (part != nullptr && !part->isWindow()) {
            note(part, entered);
        }
    }
}

QFont DesignScale::scaledFont(const QFont& font, double factor, const QWidget* widget) {
    QFont scaled = font;
    if (font.pixelSize() > 0) {
        // In points, which take fractions, so the text shrinks exactly as its box does.
        scaled.setPointSizeF(font.pixelSize() * factor * 72.0 / widget->logicalDpiY());
    } else if (font.pointSizeF() > 0) {
        scaled.setPointSizeF(font.pointSizeF() * factor);
    }
    return scaled;
}

void DesignScale::apply(double factor) {
    if (root_ == nullptr || factor <= 0 || factor > 1) {
        return;
    }
    if (factor_ == 1.0) {
        if (factor == 1.0) {
            return;
        }
        design_.clear();
        note(root_, false);
    }
    factor_ = factor;
    const bool design = factor == 1.0;
    // Fonts first: widgets that arrange their parts when resized then see their new fonts.
    for (const Noted& n : design_) {
        QWidget* w = n.widget;
        if (w == nullptr || (!n.ownFont && w != root_)) {
            continue;
        }
        if (design) {
            w->setFont(n.ownFont ? n.font : QFont()); // the root inherits again
        } else {
            w->setFont(scaledFont(n.font, factor, w));
        }
    }
    for (const Noted& n : design_) {
        QWidget* w = n.widget;
        if (w == nullptr || (!n.placed && w != root_)) {
            continue;
        }
        const QRect& g = n.geometry;
        w->setMinimumSize(design ? n.minimum : scaledSize(n.minimum, factor));
        w->setMaximumSize(design ? n.maximum : scaledSize(n.maximum, factor));
        if (w == root_) {
            // The root keeps its place (in the dialog's frame); only its size changes.
            w->resize(design ? g.size() : scaledSize(g.size(), factor));
            continue;
        }
        if (design) {
            w->setGeometry(g);
            continue;
        }
        const int left = edge(g.left(), factor);
        const int top = edge(g.top(), factor);
        w->setGeometry(left, top, edge(g.left() + g.width(), factor) - left,
                       edge(g.top() + g.height(), factor) - top);
    }
}

} // namespace quendal
