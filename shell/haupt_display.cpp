#include "core/program_state.h"
#include "shell/haupt.h"
#include "shell/platform_message.h"
#include "toolkit/taskbar_hint.h"
#include "users/texts.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWindow>

// The main window on the display: the full-screen surface it lies in, the window of a host
// program that owns it, the taskbar, the screens laid into it, and coming back to the front.

namespace quendal {

// --- Windows around it --------------------------------------------------------------------

void THaupt::hideTaskbarButton() {
    // In the full-screen surface, the surface is a tool window, and tool windows have no
    // taskbar entry. A window of its own is an ordinary one (a tool window that is neither
    // full screen nor owned is one that not every compositor handles), kept off the taskbar
    // by its window state.
    if (isWindow() && !property("quendalOffTaskbar").toBool()) {
        keepOffTaskbar(this);
    }
}

void THaupt::attachToHostWindow() {
    const int64_t handle = programState().HostWindowHandle;
    QWindow* own = window()->windowHandle();
    if (own == nullptr || handle < 0) {
        return;
    }
    // The window of the program that hosts this one owns the main window, or the full-screen
    // surface the main window lies in.
    hostWindow_ = QWindow::fromWinId(static_cast<WId>(handle));
    if (hostWindow_ != nullptr) {
        own->setTransientParent(hostWindow_);
    }
}

// --- Display -------------------------------------------------------------------------------

void THaupt::showDisplaySurface() {
    QScreen* display = QGuiApplication::primaryScreen();
    if (display == nullptr) {
        return;
    }
    if (!DXDraw_) {
        DXDraw_ =
            std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::Tool);
        DXDraw_->setObjectName(QStringLiteral("DXDraw"));
        DXDraw_->setWindowTitle(QStringLiteral("Quendal"));
        QPalette palette = DXDraw_->palette();
        palette.setColor(QPalette::Window, Qt::black);
        DXDraw_->setPalette(palette);
        DXDraw_->setAutoFillBackground(true);
        DXDraw_->installEventFilter(this);
        // The main window lies in the surface at its top-left: one window in the display's
        // full-screen state, which every window manager and compositor lays over its panels
        // and places at the output's origin, whatever it does with the positions of windows.
        setParent(DXDraw_.get(), Qt::Widget);
        move(0, 0);
    }
    DXDraw_->setGeometry(display->geometry());
    DXDraw_->setWindowState(DXDraw_->windowState() | Qt::WindowFullScreen);
    DXDraw_->show();
}

namespace {

// Raises a screen laid into the main window and gives it the input focus whenever it shows.
class HeldScreenFocus : public QObject {
  public:
    explicit HeldScreenFocus(QWidget& screen) : QObject(&screen), screen_(screen) {
        screen.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &screen_ && event->type() == QEvent::Show) {
            screen_.raise();
            screen_.setFocus(Qt::ActiveWindowFocusReason);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget& screen_;
};

} // namespace

void THaupt::holdPlayFieldScreen(QWidget& screen) {
    screen.setParent(this, Qt::Widget);
    new HeldScreenFocus(screen);
}

void THaupt::restoreAndRaise() {
    QWidget* top = window();
    if (top->isMinimized()) {
        top->showNormal();
    }
    top->raise();
    top->activateWindow();
    setFocus();
    // A dialog open over the window stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
        modal->raise();
        modal->activateWindow();
    }
}

void THaupt::ApplicationDeactivate() {
    if (!window()->isMinimized() || !programState().FullScreenMode) {
        return;
    }
    PlatformMessage(texts::pick(texts::startup::fullScreenLost), PlatformMessageKind::Information);
    // The window closes as usual, so the name and the options are kept.
    close();
}

} // namespace quendal
