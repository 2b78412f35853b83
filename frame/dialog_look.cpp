#include "frame/dialog_look.h"

#include "toolkit/builtin_lists.h"
#include "toolkit/image_button.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTextEdit>
#include <QWidget>

namespace quendal {

namespace look {

void fill(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QWidget* contentPanel(QWidget* dialog, int width, int height) {
    auto* ppp = new QWidget(dialog);
    ppp->setObjectName(QStringLiteral("ppp"));
    ppp->setGeometry(23, 47, width, height);
    fill(ppp, kPanel);
    return ppp;
}

QWidget* lightBox(QWidget* parent, const char* name, const QRect& geometry) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    fill(box, kLight);
    return box;
}

ImageButton* dialogButton(QWidget* parent, const char* name, int x, int y) {
    auto* button = new ImageButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setTransparentColor(kSteel);
    button->setFaces(builtinButtonList(), 3, 3);
    button->setAutoSize(false);
    button->setGeometry(x, y, 138, 34);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    button->setFont(font);
    button->setCaptionColor(kButtonCaption);
    return button;
}

namespace {

// Gives the focus back to its holder whenever the view it watches would take it.
class FocusReturn : public QObject {
  public:
    FocusReturn(QTextEdit* view, QWidget* holder) : QObject(view), view_(view), holder_(holder) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool entered = watched == view_ && event->type() == QEvent::FocusIn;
        const bool pressed =
            watched == view_->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                             event->type() == QEvent::MouseButtonDblClick);
        if (entered || pressed) {
            holder_->setFocus();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QTextEdit* view_;
    QWidget* holder_;
};

} // namespace

QTextEdit* textView(QWidget* parent, const char* name, const QRect& geometry,
                    QWidget* focusHolder) {
    auto* view = new QTextEdit(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setGeometry(geometry);
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setTextInteractionFlags(Qt::NoTextInteraction);
    view->setAcceptRichText(true);
    view->setUndoRedoEnabled(false);
    view->setFocusPolicy(Qt::NoFocus);
    view->viewport()->setCursor(Qt::ArrowCursor);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, kLight);
    palette.setColor(QPalette::Text, Qt::black);
    view->setPalette(palette);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(19);
    view->document()->setDefaultFont(font);
    view->document()->setDocumentMargin(8);
    // The scroll bar in the dialog's colours: a steel-blue handle on a pale track.
    view->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: rgb(188, 230, 218); width: 15px; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgb(88, 130, 173); min-height: 32px;"
        " border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:vertical:hover { background: rgb(70, 112, 156); }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    if (focusHolder != nullptr) {
        new FocusReturn(view, focusHolder);
    }
    return view;
}

} // namespace look

KeyPreview::KeyPreview(QWidget* dialog, Handler handler)
    : QObject(dialog), dialog_(dialog), handler_(std::move(handler)) {}

void KeyPreview::install() {
    for (QWidget* child : dialog_->findChildren<QWidget*>()) {
        if (child->window() == dialog_) {
            child->installEventFilter(this);
        }
    }
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    // Only keys aimed at this dialog's own controls: a dialog opened from it (its child, with
    // a window of its own) reads its keys itself.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && watched != dialog_ && widget != nullptr &&
        widget->window() == dialog_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handler_(*key)) {
            key->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quendal
