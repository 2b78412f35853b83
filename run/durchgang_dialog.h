#pragma once
// TDurchgangDialog, the run screen: a black, borderless window over the whole play field,
// framed by tiles, with the play panel in its middle. On the panel stand nine picture slots:
// the four targets, the centre and the four places half way between the centre and each
// target. Two counters on the plate in the bottom border show the last reaction time and the
// rounds left; right of the panel the play label names what to attend to; four red bars or a
// short sound signal a wrong answer. The round engine decides what is shown when; the screen
// is its view, its phase timer DerTimer and the owner of its stop watch.
//
// Times are true: the stimulus is painted and handed to the display server before the stop
// watch starts, and a key is passed to the engine as it arrives. Both ends of the stop watch
// are the display server's times where it gives them (run/server_stamps.h): the frame's and
// the key event's own; a joystick move is timed by the poll that found it. Nothing between the
// two loads, converts or writes anything: the pictures are made ready when the screen shows.

#include "core/run_engine.h"
#include "frame/joystick_screen.h"
#include "run/server_stamps.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <vector>

class QLabel;

namespace quendal {

class BitmapPanel;
class PictureSlot;
class TMeldungDialog;

class TDurchgangDialog : public QDialog, public RunView, public PhaseTimer, public JoystickScreen {
    Q_OBJECT
  public:
    // The message box shows the note of an early Escape; without one the screen makes its own
    // when it first needs it.
    explicit TDurchgangDialog(TMeldungDialog* messageBox = nullptr, QWidget* parent = nullptr);
    ~TDurchgangDialog() override;
    TDurchgangDialog(const TDurchgangDialog&) = delete;
    TDurchgangDialog& operator=(const TDurchgangDialog&) = delete;

    // The play label's word; the start flow sets it before the screen is shown.
    void setSpielart(const QString& word);
    const RunEngine& engine() const { return engine_; }
    const SteadyStopWatch& stopWatch() const { return StopWatch_; }
    const ServerStamps& serverStamps() const { return stamps_; }

    // The engine's view.
    void ShowTargets(const TargetSlots& targetSlots) override;
    void HideTargets() override;
    void ShowCentre(int32_t picture) override;
    void HideCentre() override;
    void ShowIntermediate(int direction, int32_t picture) override;
    void HideIntermediates() override;
    void SetZeitlabel(const std::string& text) override;
    void SetCountlabel(const std::string& text) override;
    void SetRedBarsVisible(bool visible) override;
    void PlayWrongSound() override;
    void ShowEarlyEscapeMessage(const std::string& text, const std::string& caption) override;
    void Close(int modalResult) override;

    // The phase timer DerTimer: one shot, millisecond precision, its tag kept.
    void Start(int intervalMs, int tag) override;
    void Stop() override;
    void DerTimerTimer();

    // The joystick's directions and its return to the centre zone.
    void HandleDirection(int key) override;
    void ReleaseDirection() override;

    // The places of the layout, for the show handler and for tests.
    void layoutScreen();

    void done(int result) override;
    // Closing by the window manager is Escape.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    void FormShow();
    void FormClose();
    void preparePictures();
    void presentNow();

    TMeldungDialog* messageBox_;
    TMeldungDialog* ownMessageBox_ = nullptr;

    BitmapPanel* backpanel_;
    PictureSlot* Oben_;
    PictureSlot* Links_;
    PictureSlot* Rechts_;
    PictureSlot* Unten_;
    PictureSlot* Mitte_;
    PictureSlot* XOben_;
    PictureSlot* XLinks_;
    PictureSlot* XRechts_;
    PictureSlot* XUnten_;
    std::array<QLabel*, 4> bars_{}; // oklabel1, OKLabel2, OKlabel3, oklabel4
    QLabel* Zeitlabel_;
    QLabel* Countlabel_;
    QLabel* SpielartLabel_;

    QTimer DerTimer_;
    int timerTag_ = 0;
    SteadyStopWatch StopWatch_;
    ServerStamps stamps_;
    RunEngine engine_;

    // The exercise pictures 0..88, made once when the screen shows.
    std::vector<QPixmap> pictures_;
    bool cursorHidden_ = false;
    bool closing_ = false;
};

} // namespace quendal
