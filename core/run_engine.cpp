#include "core/run_engine.h"

#include "core/catalogue.h"
#include "core/local_clock.h"
#include "core/random.h"
#include "core/sequence.h"

#include <algorithm>
#include <cmath>

namespace quendal {

namespace {

// The longest reading of the stop watch that is turned into a reaction time; far beyond
// every time limit, so that the conversion to whole milliseconds cannot overflow.
constexpr double kLongestReadingMs = 1.0e9;

int32_t WholeMilliseconds(double elapsedMs) {
    if (!(elapsedMs > 0.0)) { // also a reading that is not a number
        return 0;
    }
    return static_cast<int32_t>(std::min(elapsedMs, kLongestReadingMs));
}

bool German(int uiLanguage) {
    return uiLanguage == 1;
}

} // namespace

int DirectionOfKey(int key) {
    switch (key) {
    case kKeyUp:
        return 1;
    case kKeyLeft:
        return 2;
    case kKeyRight:
        return 3;
    case kKeyDown:
        return 4;
    default:
        return 0;
    }
}

void SteadyStopWatch::Start() {
    started_ = startStamp_.value_or(std::chrono::steady_clock::now());
    startStamp_.reset();
    stopStamp_.reset();
    running_ = true;
}

void SteadyStopWatch::Stop() {
    if (running_) {
        stopped_ = stopStamp_.value_or(std::chrono::steady_clock::now());
        running_ = false;
    }
    stopStamp_.reset();
}

double SteadyStopWatch::ElapsedMs() const {
    const auto end = running_ ? std::chrono::steady_clock::now() : stopped_;
    if (end < started_) {
        return 0.0;
    }
    return std::chrono::duration<double, std::milli>(end - started_).count();
}

void FinishRun() {
    ProgramState& state = programState();
    RunSettings& settings = state.runSettings;
    ResultRecord& record = state.current;

    settings.currentRound -= 1;

    const LocalDateTime now = state.LocalClock ? state.LocalClock() : SystemLocalTime();
    const ExerciseVocabulary::List& kindWords = state.vocabulary.playKindNames;
    const bool german = German(state.UiLanguage);

    record.header[kPrname] = "V a r o n";
    record.header[kSvdate] = FormatDate(now);
    record.header[kSvtime] = FormatTime(now);
    record.header[kPrtkey] = "V-" + std::to_string(settings.kind) +
                             std::to_string(settings.version) + std::to_string(settings.frameMode);
    record.header[kInfo1] = settings.kind == kColourExercise ? kindWords[1] + "/" + kindWords[2]
                                                             : kindWords[3] + "/" + kindWords[4];
    record.header[kInfo2] = (german ? "Version " : "version ") + std::to_string(settings.version);
    if (settings.frameMode == 1) {
        record.header[kInfo3] = german ? "Variabler Rahmen" : "variable frame";
    } else {
        record.header[kInfo3] = german ? "Fester Rahmen" : "steady frame";
    }
    record.header[kInfo4].clear();
    record.header[kInfo5].clear();

    record.roundCount = std::clamp<int32_t>(settings.currentRound, 0, kMaxRounds);
    state.RunUnsaved = true;
}

std::string EarlyEscapeText(int uiLanguage) {
    return German(uiLanguage) ? "Eine statistische Auswertung erfolgt erst, wenn mindestens 8 "
                                "Durchgänge durchlaufen wurden."
                              : "You will have to pass at least 8 rounds for a statistic analysis.";
}

std::string EarlyEscapeCaption(int uiLanguage) {
    return German(uiLanguage) ? "Hinweis" : "info";
}

RunEngine::RunEngine(RunView& view, PhaseTimer& timer, StopWatch& stopWatch)
    : view_(view), timer_(timer), stopWatch_(stopWatch) {}

void RunEngine::FormShow() {
    ProgramState& state = programState();
    RunSettings& settings = state.runSettings;

    closed_ = false;
    modalResult_ = 0;
    view_.HideTargets();
    keyHeld_ = false;
    inputLocked_ = true;
    StopTimer();

    // Only the eight exercises of the catalogue can be played; anything else would judge
    // its rounds against values of another exercise, so the run is abandoned at once.
    if (!FindExercise(settings.kind, settings.version)) {
        state.RunUnsaved = false;
        Close(kModalCancel);
        return;
    }
    FillStimulusTable(settings.kind, settings.version);
    // The round list holds 200 rounds; a run never plays more.
    roundCount_ = std::clamp<int32_t>(settings.roundCount, 0, kMaxRounds);
    settings.currentRound = 0;
    BuildRoundSequence();
    NextRound();
}

void RunEngine::NextRound() {
    RunSettings& settings = programState().runSettings;

    view_.SetZeitlabel("");
    view_.SetRedBarsVisible(false);
    settings.currentRound += 1;
    view_.SetCountlabel(std::to_string(roundCount_ + 1 - settings.currentRound));
    if (settings.currentRound > roundCount_) {
        FinishRun();
        Close(kModalOk);
        return;
    }
    ClearCentre();
    StartTimer(kPauseMs, kPauseTag);
}

void RunEngine::ClearCentre() {
    view_.HideCentre();
    view_.HideIntermediates();
    // With variable positions the targets are absent during the pause; fixed ones stay.
    if (programState().runSettings.frameMode == 1) {
        view_.HideTargets();
    }
}

void RunEngine::DerTimerTimer(int tag) {
    // A tick of a start that was stopped or replaced in the meantime belongs to no phase.
    if (closed_ || tag != runningTag_) {
        return;
    }
    StopTimer();
    switch (tag) {
    case kPauseTag:
        // A direction held from the feedback on keeps the stimulus back.
        if (keyHeld_) {
            StartTimer(kPauseMs, kPauseTag);
        } else {
            PresentStimulus();
        }
        break;
    case kAnswerTag:
        if (inputLocked_) {
            return;
        }
        reactionTimeMs_ = programState().runSettings.timeLimitMs;
        JudgeAnswer();
        break;
    case kFeedbackTag:
        NextRound();
        break;
    default:
        break;
    }
}

void RunEngine::PresentStimulus() {
    ProgramState& state = programState();

    SetUpTargets();
    view_.ShowTargets(state.targetSlots);
    stimulus_ = state.roundSequence[state.runSettings.currentRound - 1];
    correctSlot_ = quendal::CorrectSlot(state.targetSlots, state.stimulusTable[stimulus_].relevant);
    chosenDirection_ = 0;
    view_.ShowCentre(stimulus_);
    stopWatch_.Start();
    inputLocked_ = false;
    StartTimer(state.runSettings.timeLimitMs, kAnswerTag);
}

void RunEngine::FormKeyDown(int key) {
    if (closed_) {
        return;
    }
    if (key == kKeyEscape) {
        Escape();
    }
    HandleDirection(key);
}

void RunEngine::FormKeyUp(int /*key*/) {
    ReleaseDirection();
}

void RunEngine::HandleDirection(int key) {
    if (closed_) {
        return;
    }
    const int direction = DirectionOfKey(key);
    // A direction pressed during the pause or the feedback counts as held.
    if (inputLocked_ && direction != 0) {
        keyHeld_ = true;
    }
    // A held or repeating key cannot answer.
    if (keyHeld_ || direction == 0) {
        return;
    }
    keyHeld_ = true;
    inputLocked_ = true;
    StopTimer();
    stopWatch_.Stop();
    // The recorded time carries a random addition of 0 to 4 ms.
    reactionTimeMs_ = RandomBelow(5) + WholeMilliseconds(stopWatch_.ElapsedMs());
    chosenDirection_ = direction;
    JudgeAnswer();
}

void RunEngine::ReleaseDirection() {
    keyHeld_ = false;
}

void RunEngine::JudgeAnswer() {
    ProgramState& state = programState();
    const RunSettings& settings = state.runSettings;
    const TargetSlots& slots = state.targetSlots;

    inputLocked_ = true;
    // A time that reaches the limit is no answer, even when a key came just before the tick.
    if (reactionTimeMs_ >= settings.timeLimitMs) {
        reactionTimeMs_ = settings.timeLimitMs;
        chosenDirection_ = 0;
    } else {
        view_.SetZeitlabel(std::to_string(reactionTimeMs_));
    }
    const bool correct = chosenDirection_ != 0 && chosenDirection_ == correctSlot_;

    view_.HideCentre();
    if (chosenDirection_ != 0) {
        view_.ShowIntermediate(chosenDirection_, stimulus_);
    }

    RoundRecord& round = state.current.rounds[settings.currentRound];
    round.targetValue = slots[correctSlot_].value;
    round.chosenValue = slots[chosenDirection_].value;
    round.reactionTimeMs = reactionTimeMs_;
    round.distractorValue = state.stimulusTable[stimulus_].distractor;

    if (!correct) {
        if (settings.feedback == 1) {
            view_.SetRedBarsVisible(true);
        } else if (settings.feedback == 2) {
            view_.PlayWrongSound();
        }
    }
    StartTimer(kFeedbackMs, kFeedbackTag);
}

void RunEngine::Escape() {
    ProgramState& state = programState();

    StopTimer();
    if (state.runSettings.currentRound >= 8) {
        FinishRun();
        Close(kModalOk);
        return;
    }
    state.RunUnsaved = false;
    view_.ShowEarlyEscapeMessage(EarlyEscapeText(state.UiLanguage),
                                 EarlyEscapeCaption(state.UiLanguage));
    Close(kModalCancel);
}

void RunEngine::StartTimer(int intervalMs, int tag) {
    runningTag_ = tag;
    timer_.Start(intervalMs, tag);
}

void RunEngine::StopTimer() {
    runningTag_ = 0;
    timer_.Stop();
}

void RunEngine::Close(int modalResult) {
    closed_ = true;
    modalResult_ = modalResult;
    inputLocked_ = true;
    StopTimer();
    view_.Close(modalResult);
}

} // namespace quendal
