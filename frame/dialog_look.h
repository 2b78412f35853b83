#pragma once
// The look shared by the framed dialogs: the colours of their content panels, the light boxes
// behind their texts, their image buttons, and key preview, by which a dialog reads every
// key before the control with the focus does.

#include <QColor>
#include <QObject>
#include <QRect>
#include <functional>

class QKeyEvent;
class QTextEdit;
class QWidget;

namespace quendal {

class ImageButton;

namespace look {

inline const QColor kPanel{82, 190, 160};
inline const QColor kLight{215, 250, 240};
inline const QColor kSteel{88, 130, 173};
inline const QColor kText{64, 128, 128};
inline const QColor kButtonCaption{210, 220, 240};

// Fills the widget's background with the colour.
void fill(QWidget* widget, const QColor& colour);

// The content panel "ppp" of a framed dialog at (23, 47) with its size.
QWidget* contentPanel(QWidget* dialog, int width, int height);

// A light box: a plain area behind a dialog's texts and controls.
QWidget* lightBox(QWidget* parent, const char* name, const QRect& geometry);

// An image button of 138 x 34 with the faces 3, 4 and 5 of the built-in button list, the
// steel-blue transparent colour and its caption in Arial 13 pixels bold.
ImageButton* dialogButton(QWidget* parent, const char* name, int x, int y);

// A read-only rich-text view for the dialogs that show a document: no border, light
// background, black Tahoma 19 pixels unless the document says otherwise, an arrow cursor, a
// vertical scroll bar in the dialog's colours, and no keyboard focus or text selection of its
// own. Whenever the view would take the focus, or a mouse button is pressed in it, the focus
// goes back to focusHolder (the dialog's hidden button), so the text never shows a caret and
// keys reach the dialog; the scroll bar still scrolls it.
QTextEdit* textView(QWidget* parent, const char* name, const QRect& geometry, QWidget* focusHolder);

} // namespace look

// Shows every key press aimed at a descendant of the dialog to `handler` first; a key the
// handler consumes (returns true for) never reaches the control. Descendants made after
// install() are not watched.
class KeyPreview : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<bool(QKeyEvent&)>;
    KeyPreview(QWidget* dialog, Handler handler);

    // Watches every descendant of the dialog that exists now.
    void install();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* dialog_;
    Handler handler_;
};

} // namespace quendal
