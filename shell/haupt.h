#pragma once
// THaupt, the main window: borderless, black, covering the play field at the top-left, with
// a frame painted from the scheme list around one of two panels. Before a login the panel
// Anmeldepanel shows the four user tags; a left click on a tag logs its user in, a right
// click renames it first. After the login the panel backpanel shows the two exercise gates,
// the menu and the logo for the rest of the program's life. Escape or the exit button close
// the window; closing writes the current tag's name file and "optionen.cfg".

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QWindow;

namespace quendal {

class BitmapPanel;
class ImageButton;
class TDaten;
class TEinzelstatistikDialog;
class THilfeDialog;
class TMeldungDialog;
class TOptionenDialog;
class TParameterDialog;
class TTextEingabeDialog;
struct MainLayout;

class THaupt : public QWidget {
    Q_OBJECT
  public:
    explicit THaupt(QWidget* parent = nullptr);
    ~THaupt() override;
    THaupt(const THaupt&) = delete;
    THaupt& operator=(const THaupt&) = delete;

    // What the start-up hands over once the data module and the dialogs exist.
    void setDaten(TDaten* daten) { daten_ = daten; }
    // The program's dialogs, made once at start-up: the tags log in through the name dialog,
    // the settings, help and single statistics buttons open theirs. A null dialog leaves its
    // controls inert.
    struct Dialogs {
        TTextEingabeDialog* name = nullptr;
        TMeldungDialog* meldung = nullptr;
        THilfeDialog* hilfe = nullptr;
        TOptionenDialog* optionen = nullptr;
        TEinzelstatistikDialog* einzelstatistik = nullptr;
    };
    void useDialogs(const Dialogs& dialogs);
    void setMeldungDialog(TMeldungDialog* dialog) { meldung_ = dialog; }
    // Logs a user in by a tag (1..4), renaming it first when rename is on; true when the
    // user is logged in. Without a handler the tags do nothing.
    using LoginHandler = std::function<bool(int tag, bool rename)>;
    void setLoginHandler(LoginHandler handler) { login_ = std::move(handler); }
    // What the menu buttons open; without a handler a button does nothing.
    void setEinstellungenHandler(std::function<void()> handler) {
        einstellungen_ = std::move(handler);
    }
    void setHilfeHandler(std::function<void()> handler) { hilfe_ = std::move(handler); }
    // What the gates start: the exercise of kind 1 (Tor1) or 2 (Tor2); without a handler the
    // gates do nothing.
    void setGateHandler(std::function<void(int kind)> handler) { gate_ = std::move(handler); }
    // What the "Gesamtstatistik" button opens; without a handler it does nothing.
    void setGesamtstatistikHandler(std::function<void()> handler) {
        gesamtstatistik_ = std::move(handler);
    }
    // Shows or hides the menu buttons and the gates around an exercise; the hidden user
    // button stays hidden.
    void ShowMenuButtons(bool visible);

    // The creation handler's panel step: the login panel shows, the menu panel and the user
    // button are hidden. The rest of the creation is the start-up's (see startup.h).
    void showLoginPanel();

    // Show handler, in this order: PrepareUserTags, ApplyMainTexts, RunDisplayChecks, layout.
    void FormShow();
    // The tags get their files and names; a result file that cannot be created is reported
    // with the message box and the program is asked to end.
    void PrepareUserTags();
    // The exercise words and the captions of the menu in the interface language.
    void ApplyMainTexts();
    // Colour-depth warning, no taskbar entry, joystick detection; the joystick is looked for
    // (detectJoystick) right after the window's first frame is on the screen.
    void RunDisplayChecks();
    void detectJoystick();
    // Places the panels and their controls from the scheme list and the play field.
    void layoutWindow();

    void ExitbuttonClick();
    void EinstellungenbuttonClick();
    void HilfebuttonClick();
    void Tor1Click();
    void Tor2Click();
    void EinzelstatistikbuttonClick();
    void GesamtstatistikbuttonClick();
    // Tag clicks: tag 1..4, left button (KeyNClick) or right button pressed (KeyNMouseDown).
    void KeyClick(int tag);
    void KeyMouseDown(int tag, Qt::MouseButton button);

    // The application lost the input focus: when the window was minimised while the display
    // was held in full-screen mode, the user is told and the program ends.
    void ApplicationDeactivate();

    // The black full-screen surface the play field lies in, shown when the play field is to
    // fill the display from its top-left; null otherwise.
    QWidget* displaySurface() const { return DXDraw_.get(); }
    // Covers the whole primary screen in black, in the display's full-screen state, and lays
    // the main window into it at its top-left.
    void showDisplaySurface();
    // A screen that covers the play field (the instruction and the run screen) is laid into
    // the main window, over its whole area and with the input focus while it shows: it stands
    // where the main window stands, also where the desktop, not the program, places windows
    // (a Wayland compositor, also for the X windows of its XWayland).
    void holdPlayFieldScreen(QWidget& screen);

    // Restores a minimised window and brings it to the front (a second start asks for this).
    void restoreAndRaise();

    bool loggedIn() const { return loggedIn_; }

  signals:
    // The program should end with this exit code once control returns to the event loop.
    void quitRequested(int exitCode);
    // The window has closed after its close handlers ran.
    void closed();
    // The window's first frame has gone to the display (emitted once, from the event loop
    // right after that frame's painting, before the joystick is looked for).
    void firstFrameShown();
    // The show handler needs the dialogs now (a message box), before the first frame.
    void dialogsNeeded();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The window shows no sign of the input focus, so gaining or losing it repaints nothing.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCloseQuery();
    void FormClose();
    void hideTaskbarButton();
    void attachToHostWindow();
    void applyFaces();
    // The tags, hints and logo of the login panel on a panel of this size.
    void layoutLoginPanel(int panelWidth, int panelHeight);
    void switchToMenu();
    void firstFrameOut();

    TDaten* daten_ = nullptr;
    TMeldungDialog* meldung_ = nullptr;
    LoginHandler login_;
    std::function<void()> einstellungen_;
    std::function<void()> hilfe_;
    std::function<void()> einzelstatistik_;
    std::function<void(int)> gate_;
    std::function<void()> gesamtstatistik_;

    BitmapPanel* Anmeldepanel_;
    QLabel* B1_;
    std::array<ImageButton*, 4> keys_{};
    QLabel* label2_;
    QLabel* LMDSimpleLabel1_;

    BitmapPanel* backpanel_;
    ImageButton* Tor1_;
    ImageButton* Tor2_;
    ImageButton* Einstellungenbutton_;
    ImageButton* Einzelstatistikbutton_;
    ImageButton* Gesamtstatistikbutton_;
    ImageButton* Hilfebutton_;
    ImageButton* Exitbutton_;
    ImageButton* Benutzerbutton_;
    QLabel* Logo1_;

    std::unique_ptr<QWidget> DXDraw_;
    QWindow* hostWindow_ = nullptr;
    bool shownOnce_ = false;
    bool joystickPending_ = false;
    bool firstFramePainted_ = false;
    bool loggedIn_ = false;
    bool closing_ = false;
};

} // namespace quendal
