#pragma once
// The round engine: plays one run round after round (pause, presentation, answer or
// time-out, feedback) and ends it when all rounds are played or the user presses Escape.
// It has no screen of its own; it talks to the run screen through RunView, to time through
// a one-shot PhaseTimer and a StopWatch, and to chance through RandomBelow. Its product is
// the round list and header of the current ResultRecord and the modal result of the screen.

#include "core/program_state.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace quendal {

// Key codes as the screens deliver them.
constexpr int kKeyEscape = 27;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

// Tags of the phase timer.
constexpr int kPauseTag = 1;
constexpr int kAnswerTag = 2;
constexpr int kFeedbackTag = 3;

constexpr int kPauseMs = 700;     // before every presentation
constexpr int kFeedbackMs = 1000; // after every answer or time-out

// Modal results of the run screen.
constexpr int kModalOk = 1;     // the run has a result
constexpr int kModalCancel = 2; // the run was abandoned

// Directions name the target slots: 1 up, 2 left, 3 right, 4 down; 0 none.
int DirectionOfKey(int key);

// What the run screen shows. Target slots 1..4 are Oben, Links, Rechts, Unten; the
// intermediate places of directions 1..4 are XOben, XLinks, XRechts, XUnten.
class RunView {
  public:
    virtual ~RunView() = default;
    // Oben, Links, Rechts and Unten get the pictures of slots 1..4 and are shown.
    virtual void ShowTargets(const TargetSlots& slots) = 0;
    virtual void HideTargets() = 0;
    // The stimulus picture in Mitte.
    virtual void ShowCentre(int32_t picture) = 0;
    virtual void HideCentre() = 0;
    // The stimulus half way towards the chosen target.
    virtual void ShowIntermediate(int direction, int32_t picture) = 0;
    virtual void HideIntermediates() = 0;
    virtual void SetZeitlabel(const std::string& text) = 0;
    virtual void SetCountlabel(const std::string& text) = 0;
    // The four red bars oklabel1, OKLabel2, OKlabel3 and oklabel4 together.
    virtual void SetRedBarsVisible(bool visible) = 0;
    // Starts the wrong-answer sound and returns at once.
    virtual void PlayWrongSound() = 0;
    // The modal message of an Escape before round 8: OK button only, centred, four lines.
    virtual void ShowEarlyEscapeMessage(const std::string& text, const std::string& caption) = 0;
    // Closes the run screen with modal result 1 or 2.
    virtual void Close(int modalResult) = 0;
};

// A one-shot timer: after intervalMs it calls RunEngine::DerTimerTimer with the tag it was
// started with, once. Starting it again replaces the running start; Stop cancels it.
class PhaseTimer {
  public:
    virtual ~PhaseTimer() = default;
    virtual void Start(int intervalMs, int tag) = 0;
    virtual void Stop() = 0;
};

// The reaction-time stop watch: Start runs it from zero, Stop holds its reading.
class StopWatch {
  public:
    virtual ~StopWatch() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual double ElapsedMs() const = 0;
};

// The stop watch on the monotonic clock, with sub-millisecond resolution. Each end is read
// from the clock when Start or Stop is called, unless the screen has stamped it beforehand with
// a time taken outside the program's own scheduling (the display server's time of the frame,
// the input event's own time): a stamp is the time of the next Start or Stop, once. A reading
// whose stop lies before its start is 0.
class SteadyStopWatch final : public StopWatch {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    void Start() override;
    void Stop() override;
    double ElapsedMs() const override;

    void StampStart(std::optional<TimePoint> at) { startStamp_ = at; }
    void StampStop(std::optional<TimePoint> at) { stopStamp_ = at; }
    TimePoint StartedAt() const { return started_; }
    TimePoint StoppedAt() const { return stopped_; }

  private:
    TimePoint started_{};
    TimePoint stopped_{};
    std::optional<TimePoint> startStamp_;
    std::optional<TimePoint> stopStamp_;
    bool running_ = false;
};

// Ends a run with a result: lowers currentRound by one (the round in progress does not
// count), writes the run header in the interface language and the round count into the
// current ResultRecord and marks it unsaved.
void FinishRun();

// The message of an Escape before round 8, in the interface language.
std::string EarlyEscapeText(int uiLanguage);
std::string EarlyEscapeCaption(int uiLanguage);

class RunEngine {
  public:
    RunEngine(RunView& view, PhaseTimer& timer, StopWatch& stopWatch);

    // Prepares the run from the program-wide RunSettings and starts its first round.
    void FormShow();
    // Every key-down of the run screen: Escape first, then HandleDirection.
    void FormKeyDown(int key);
    // Every key-up of the run screen.
    void FormKeyUp(int key);
    // A key-down or a joystick direction; only the arrow keys have an effect.
    void HandleDirection(int key);
    // A key was released or the joystick came back to its centre zone.
    void ReleaseDirection();
    // The phase timer's tick with the tag it was started with.
    void DerTimerTimer(int tag);

    bool InputLocked() const { return inputLocked_; }
    bool KeyHeld() const { return keyHeld_; }
    // True once the screen was closed; the engine then ignores keys and ticks.
    bool Closed() const { return closed_; }
    int ModalResult() const { return modalResult_; }
    int32_t Stimulus() const { return stimulus_; }
    int32_t CorrectSlot() const { return correctSlot_; }

  private:
    void NextRound();
    void ClearCentre();
    void PresentStimulus();
    void JudgeAnswer();
    void Escape();
    void StartTimer(int intervalMs, int tag);
    void StopTimer();
    void Close(int modalResult);

    RunView& view_;
    PhaseTimer& timer_;
    StopWatch& stopWatch_;

    bool inputLocked_ = true;
    bool keyHeld_ = false;
    bool closed_ = false;
    int modalResult_ = 0;
    int runningTag_ = 0; // tag of the running timer start, 0 when stopped
    int32_t roundCount_ = 0;
    int32_t stimulus_ = 0;
    int32_t correctSlot_ = 0;
    int chosenDirection_ = 0;
    int32_t reactionTimeMs_ = 0;
};

} // namespace quendal
