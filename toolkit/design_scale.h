#pragma once
// Shrinks a tree of widgets laid out at fixed places (a dialog's content panel) by a factor,
// and puts it back: the place and size of the root's children and of theirs, and every font a
// widget of the tree sets itself (the root's always), in proportion. A widget that lays out
// its own inner parts (a list, a text view, a combo box, a button) is scaled as a whole and
// arranges its parts itself; only plain panels are entered.
//
// The design is what the tree looks like while the factor is 1: it is noted each time the
// tree leaves that state, so code that rearranges the tree at design size between two scalings
// (a message box sized per message) is followed.

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace quendal {

class DesignScale {
  public:
    explicit DesignScale(QWidget* root);

    // Scales the tree from its design by factor (above 0, at most 1); 1 puts the design back.
    void apply(double factor);
    double factor() const { return factor_; }
    QWidget* root() const { return root_; }

    // A design coordinate or length scaled: edges are rounded, so widgets that touch at
    // design touch when scaled.
    static int edge(int value, double factor);

  private:
    struct Noted {
        QPointer<QWidget> widget;
        QRect geometry;
        QSize minimum;
        QSize maximum;
        bool placed = false; // its place and size are scaled (a child of a plain panel)
        bool ownFont = false;
        QFont font;
    };

    void note(QWidget* widget, bool placed);
    static QFont scaledFont(const QFont& font, double factor, const QWidget* widget);

    QPointer<QWidget> root_;
    double factor_ = 1.0;
    std::vector<Noted> design_;
};

} // namespace quendal
