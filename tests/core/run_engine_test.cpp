#include "core/catalogue.h"
#include "core/program_state.h"
#include "core/random.h"
#include "core/run_engine.h"

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace quendal {
namespace {

// The run screen as the engine sees it: what is visible where.
class RecordingView : public RunView {
  public:
    void ShowTargets(const TargetSlots& slots) override {
        targets = slots;
        targetsVisible = true;
        ++targetShows;
    }
    void HideTargets() override { targetsVisible = false; }
    void ShowCentre(int32_t picture) override { centre = picture; }
    void HideCentre() override { centre = -1; }
    void ShowIntermediate(int direction, int32_t picture) override {
        intermediate = {direction, picture};
    }
    void HideIntermediates() override { intermediate = {0, -1}; }
    void SetZeitlabel(const std::string& text) override {
        zeitlabel = text;
        if (!text.empty()) {
            zeitlabelTexts.push_back(text);
        }
    }
    void SetCountlabel(const std::string& text) override { countlabelTexts.push_back(text); }
    void SetRedBarsVisible(bool visible) override {
        redBars = visible;
        redBarShows += visible ? 1 : 0;
    }
    void PlayWrongSound() override { ++sounds; }
    void ShowEarlyEscapeMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
    }
    void Close(int modalResult) override { closes.push_back(modalResult); }

    TargetSlots targets{};
    bool targetsVisible = true; // visible until the engine hides them
    int targetShows = 0;
    int32_t centre = -1;
    std::pair<int, int32_t> intermediate{0, -1};
    std::string zeitlabel;
    std::vector<std::string> zeitlabelTexts;
    std::vector<std::string> countlabelTexts;
    bool redBars = false;
    int redBarShows = 0;
    int sounds = 0;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<int> closes;
};

// A timer that fires only when the test says so.
class ManualTimer : public PhaseTimer {
  public:
    void Start(int intervalMs, int startTag) override {
        running = true;
        interval = intervalMs;
        tag = startTag;
        starts.emplace_back(intervalMs, startTag);
    }
    void Stop() override { running = false; }

    bool running = false;
    int interval = 0;
    int tag = 0;
    std::vector<std::pair<int, int>> starts;
};

// A stop watch whose reading the test sets.
class ManualStopWatch : public StopWatch {
  public:
    void Start() override {
        running = true;
        ++startCount;
    }
    void Stop() override { running = false; }
    double ElapsedMs() const override { return reading; }

    bool running = false;
    int startCount = 0;
    double reading = 0.0;
};

int KeyOf(int direction) {
    constexpr std::array<int, 5> keys{0, kKeyUp, kKeyLeft, kKeyRight, kKeyDown};
    return keys[direction];
}

// The value a picture carries for an exercise, read off the picture table: {relevant,
// distractor}. Targets are colour patches 0..3 or digits 4..7.
std::pair<int, int> ValuesOf(int kind, int version, int picture) {
    if (picture < 4) {
        return {picture + 1, picture + 1};
    }
    if (picture < 8) {
        return {picture - 3, picture - 3};
    }
    if (picture < 12) {
        return {picture - 7, picture - 7};
    }
    if (picture < 28) {
        const int word = (picture - 12) / 4 + 1;
        const int ink = (picture - 12) % 4 + 1;
        return version == 3 ? std::pair{ink, word} : std::pair{word, ink};
    }
    if (picture < 40) {
        const int count = (picture - 28) / 3 + 1;
        return {count, count};
    }
    const int digit = (picture - 40) / 12 + 1;
    const int count = (picture - 40) % 12 / 3 + 1;
    (void)kind;
    return version == 3 ? std::pair{count, digit} : std::pair{digit, count};
}

class RunEngineTest : public testing::Test {
  protected:
    void SetUp() override {
        programState().reset();
        programState().LocalClock = [] { return LocalDateTime{2026, 12, 9, 14, 30}; };
        SeedRandom(4711);
    }
    void TearDown() override { programState().reset(); }

    static void Configure(int kind, int version, int roundCount, int frameMode = 2,
                          int feedback = 1, int timeLimitMs = 3000) {
        RunSettings& settings = programState().runSettings;
        settings.kind = kind;
        settings.version = version;
        settings.roundCount = roundCount;
        settings.frameMode = frameMode;
        settings.feedback = feedback;
        settings.timeLimitMs = timeLimitMs;
    }
    static int CurrentRound() { return programState().runSettings.currentRound; }
    static const RoundRecord& Round(int r) { return programState().current.rounds[r]; }

    // The tick of the running timer.
    void Fire() {
        ASSERT_TRUE(timer.running);
        const int tag = timer.tag;
        timer.running = false;
        engine.DerTimerTimer(tag);
    }
    // From the pause of a round to its presentation.
    void EndPause() {
        ASSERT_TRUE(timer.running);
        ASSERT_EQ(timer.tag, kPauseTag);
        ASSERT_EQ(timer.interval, kPauseMs);
        Fire();
        ASSERT_EQ(timer.tag, kAnswerTag);
        ASSERT_EQ(timer.interval, programState().runSettings.timeLimitMs);
        ASSERT_FALSE(engine.InputLocked());
    }
    void Press(int key, double elapsedMs = 400.0) {
        watch.reading = elapsedMs;
        engine.FormKeyDown(key);
    }
    void Tap(int key, double elapsedMs = 400.0) {
        Press(key, elapsedMs);
        engine.FormKeyUp(key);
    }
    // The direction whose target matches the stimulus in the centre, as the user sees it.
    int CorrectDirection() const {
        const RunSettings& settings = programState().runSettings;
        const int relevant = ValuesOf(settings.kind, settings.version, view.centre).first;
        for (int slot = 1; slot <= 4; ++slot) {
            if (ValuesOf(settings.kind, 1, view.targets[slot].picture).first == relevant) {
                return slot;
            }
        }
        return 0;
    }
    // Plays rounds 1..rounds answering each correctly and ends in the pause of the next one.
    void PlayCorrectRounds(int rounds) {
        for (int r = 0; r < rounds; ++r) {
            EndPause();
            Tap(KeyOf(CorrectDirection()));
            ASSERT_EQ(timer.tag, kFeedbackTag);
            Fire();
        }
    }
    // Seeds the generator so that the next RandomBelow(5) satisfies the condition.
    static int SeedForNextAddition(const std::function<bool(int)>& wanted) {
        for (uint64_t seed = 1;; ++seed) {
            SeedRandom(seed);
            const int addition = RandomBelow(5);
            if (wanted(addition)) {
                SeedRandom(seed);
                return addition;
            }
        }
    }

    RecordingView view;
    ManualTimer timer;
    ManualStopWatch watch;
    RunEngine engine{view, timer, watch};
};

// Whole runs of every exercise, both frames and both signals: every second round answered
// correctly, the others wrongly.
TEST_F(RunEngineTest, PlaysWholeRunsOfAllEightExercises) {
    for (const Exercise& exercise : ExerciseCatalogue()) {
        for (int frameMode = 1; frameMode <= 2; ++frameMode) {
            for (int feedback = 1; feedback <= 2; ++feedback) {
                SCOPED_TRACE(testing::Message()
                             << "kind " << exercise.kind << " version " << exercise.version
                             << " frame " << frameMode << " feedback " << feedback);
                programState().reset();
                programState().RunUnsaved = false;
                view = RecordingView{};
                timer = ManualTimer{};
                Configure(exercise.kind, exercise.version, 20, frameMode, feedback);
                engine.FormShow();
                EXPECT_FALSE(view.targetsVisible);

                std::array<int, 5> perTarget{};
                std::vector<TargetSlots> orders;
                int wrong = 0;
                for (int r = 1; r <= 20; ++r) {
                    ASSERT_EQ(CurrentRound(), r);
                    ASSERT_EQ(view.centre, -1);
                    ASSERT_EQ(view.intermediate.first, 0);
                    ASSERT_FALSE(view.redBars);
                    ASSERT_EQ(view.zeitlabel, "");
                    // Variable targets are absent in every pause; fixed ones stay after the
                    // first presentation.
                    ASSERT_EQ(view.targetsVisible, frameMode == 2 && r > 1);
                    EndPause();
                    ASSERT_TRUE(view.targetsVisible);
                    orders.push_back(view.targets);
                    const int stimulus = view.centre;
                    ASSERT_GE(stimulus, exercise.firstPicture);
                    ASSERT_LE(stimulus, exercise.lastPicture);
                    ASSERT_FALSE(IsCongruentPicture(stimulus));
                    const auto [relevant, distractor] =
                        ValuesOf(exercise.kind, exercise.version, stimulus);
                    const int correct = CorrectDirection();
                    ASSERT_NE(correct, 0);
                    const int direction = r % 2 == 0 ? correct : correct % 4 + 1;
                    const int elapsed = 250 + 10 * r;
                    Tap(KeyOf(direction), elapsed + 0.75);

                    const RoundRecord& round = Round(r);
                    EXPECT_EQ(round.targetValue, relevant);
                    EXPECT_EQ(round.distractorValue, distractor);
                    EXPECT_EQ(round.chosenValue,
                              ValuesOf(exercise.kind, 1, view.targets[direction].picture).first);
                    EXPECT_GE(round.reactionTimeMs, elapsed);
                    EXPECT_LE(round.reactionTimeMs, elapsed + 4);
                    EXPECT_EQ(view.zeitlabel, std::to_string(round.reactionTimeMs));
                    EXPECT_EQ(view.centre, -1);
                    EXPECT_EQ(view.intermediate, (std::pair<int, int32_t>{direction, stimulus}));
                    const bool isWrong = direction != correct;
                    wrong += isWrong ? 1 : 0;
                    EXPECT_EQ(view.redBars, isWrong && feedback == 1);
                    EXPECT_EQ(view.sounds, feedback == 2 ? wrong : 0);
                    ++perTarget[relevant];
                    ASSERT_EQ(timer.tag, kFeedbackTag);
                    ASSERT_EQ(timer.interval, kFeedbackMs);
                    Fire();
                }
                EXPECT_EQ(view.closes, std::vector<int>{kModalOk});
                EXPECT_EQ(engine.ModalResult(), kModalOk);
                EXPECT_FALSE(timer.running);
                EXPECT_EQ(programState().current.roundCount, 20);
                EXPECT_EQ(CurrentRound(), 20);
                EXPECT_TRUE(programState().RunUnsaved);
                EXPECT_EQ(programState().current.header[kPrtkey],
                          "V-" + std::to_string(exercise.kind) + std::to_string(exercise.version) +
                              std::to_string(frameMode));
                std::vector<std::string> counts;
                for (int left = 20; left >= 0; --left) {
                    counts.push_back(std::to_string(left));
                }
                EXPECT_EQ(view.countlabelTexts, counts);
                EXPECT_EQ(perTarget, (std::array<int, 5>{0, 5, 5, 5, 5}));
                EXPECT_EQ(view.redBarShows, feedback == 1 ? 10 : 0);
                // Fixed targets never move; variable ones do.
                bool allSame = true;
                for (const TargetSlots& order : orders) {
                    allSame = allSame && order == orders.front();
                }
                EXPECT_EQ(allSame, frameMode == 2);
                if (frameMode == 2) {
                    for (int slot = 1; slot <= 4; ++slot) {
                        EXPECT_EQ(orders.front()[slot].picture, TargetPicture(exercise.kind, slot));
                    }
                }
            }
        }
    }
}

TEST_F(RunEngineTest, DirectionHeldThroughTheFeedbackDelaysThePresentationIn700MsSteps) {
    Configure(1, 1, 8);
    engine.FormShow();
    EndPause();
    Press(kKeyUp); // answers round 1 and stays down
    EXPECT_TRUE(engine.KeyHeld());
    Press(kKeyUp); // the key repeats during the feedback
    Fire();        // feedback over: round 2 pauses
    ASSERT_EQ(CurrentRound(), 2);
    const std::size_t startsBefore = timer.starts.size();
    for (int step = 0; step < 3; ++step) {
        Fire();
        EXPECT_EQ(timer.tag, kPauseTag);
        EXPECT_EQ(timer.interval, kPauseMs);
        EXPECT_EQ(view.centre, -1);
        EXPECT_EQ(watch.startCount, 1);
        Press(kKeyUp); // repeats change nothing
    }
    EXPECT_EQ(timer.starts.size(), startsBefore + 3);
    engine.FormKeyUp(kKeyUp);
    EXPECT_FALSE(engine.KeyHeld());
    Fire();
    EXPECT_EQ(timer.tag, kAnswerTag);
    EXPECT_NE(view.centre, -1);
    EXPECT_EQ(watch.startCount, 2);
    EXPECT_EQ(Round(2), RoundRecord{});
}

TEST_F(RunEngineTest, DirectionPressedAndReleasedDuringThePauseDoesNotDelay) {
    Configure(2, 2, 8);
    engine.FormShow();
    Tap(kKeyDown);
    Tap(kKeyLeft);
    EXPECT_FALSE(engine.KeyHeld());
    EndPause();
    EXPECT_EQ(Round(1), RoundRecord{});
    // The same during the feedback.
    Tap(kKeyRight);
    Tap(kKeyRight);
    EXPECT_EQ(Round(1).chosenValue, programState().targetSlots[3].value);
    Fire();
    EndPause();
}

TEST_F(RunEngineTest, ReleasingAnyKeyOrTheStickClearsKeyHeld) {
    Configure(1, 2, 8);
    engine.FormShow();
    EndPause();
    Press(kKeyLeft);
    engine.FormKeyUp('A');
    EXPECT_FALSE(engine.KeyHeld());
    Fire();
    Press(kKeyDown); // held in the pause
    EXPECT_TRUE(engine.KeyHeld());
    engine.ReleaseDirection(); // the stick is back in its centre zone
    EXPECT_FALSE(engine.KeyHeld());
    EndPause();
}

TEST_F(RunEngineTest, OtherKeysNeitherAnswerNorBlock) {
    Configure(2, 4, 8);
    engine.FormShow();
    EndPause();
    for (int key : {13, 32, 65, 36, 41, 122}) {
        engine.FormKeyDown(key);
    }
    EXPECT_FALSE(engine.InputLocked());
    EXPECT_FALSE(engine.KeyHeld());
    EXPECT_EQ(timer.tag, kAnswerTag);
    EXPECT_TRUE(timer.running);
}

// A joystick held diagonally sends left, then up: the first answers, the second is dropped.
TEST_F(RunEngineTest, DiagonalStickAnswersWithTheFirstDirection) {
    Configure(1, 1, 8, 1);
    engine.FormShow();
    EndPause();
    engine.HandleDirection(kKeyLeft);
    engine.HandleDirection(kKeyUp);
    EXPECT_EQ(Round(1).chosenValue, programState().targetSlots[2].value);
    EXPECT_EQ(view.intermediate.first, 2);
}

TEST_F(RunEngineTest, NoAnswerWithinTheLimitIsATimeOut) {
    for (int feedback = 1; feedback <= 2; ++feedback) {
        programState().reset();
        view = RecordingView{};
        Configure(2, 3, 8, 2, feedback, 500);
        engine.FormShow();
        EndPause();
        EXPECT_EQ(timer.interval, 500);
        Fire();
        EXPECT_TRUE(engine.InputLocked());
        EXPECT_EQ(Round(1).chosenValue, 0);
        EXPECT_EQ(Round(1).reactionTimeMs, 500);
        EXPECT_EQ(Round(1).targetValue, ValuesOf(2, 3, programState().roundSequence[0]).first);
        EXPECT_TRUE(view.zeitlabelTexts.empty());
        EXPECT_EQ(view.centre, -1);
        EXPECT_EQ(view.intermediate.first, 0);
        EXPECT_EQ(view.redBars, feedback == 1);
        EXPECT_EQ(view.sounds, feedback == 2 ? 1 : 0);
        EXPECT_EQ(timer.tag, kFeedbackTag);
        // A key just after the tick only counts as held.
        Tap(KeyOf(CorrectDirection()));
        EXPECT_EQ(Round(1).chosenValue, 0);
    }
}

// limit - 3 ms on the stop watch plus a random addition of 3 or 4 reaches the limit.
TEST_F(RunEngineTest, ReadingJustBelowTheLimitWithTheRandomAdditionIsNoAnswer) {
    Configure(1, 4, 8, 2, 1, 1000);
    engine.FormShow();
    EndPause();
    SeedForNextAddition([](int a) { return a >= 3; });
    Tap(KeyOf(CorrectDirection()), 997.5);
    EXPECT_EQ(Round(1).chosenValue, 0);
    EXPECT_EQ(Round(1).reactionTimeMs, 1000);
    EXPECT_EQ(view.intermediate.first, 0);
    EXPECT_TRUE(view.zeitlabelTexts.empty());
    EXPECT_TRUE(view.redBars);
    Fire();

    // With an addition of 0 to 2 the same reading is an answer, the fraction dropped.
    EndPause();
    const int addition = SeedForNextAddition([](int a) { return a <= 2; });
    const int correct = CorrectDirection();
    Tap(KeyOf(correct), 997.9);
    EXPECT_EQ(Round(2).reactionTimeMs, 997 + addition);
    EXPECT_EQ(Round(2).chosenValue, Round(2).targetValue);
    EXPECT_EQ(view.intermediate.first, correct);
    EXPECT_EQ(view.zeitlabel, std::to_string(997 + addition));
    EXPECT_FALSE(view.redBars);
}

TEST_F(RunEngineTest, OddStopWatchReadingsStayWithinTheRecord) {
    Configure(1, 1, 8, 2, 1, 5000);
    engine.FormShow();
    EndPause();
    Tap(kKeyUp, -3.0);
    EXPECT_LE(Round(1).reactionTimeMs, 4);
    EXPECT_GE(Round(1).reactionTimeMs, 0);
    Fire();
    EndPause();
    Tap(kKeyUp, 1.0e12);
    EXPECT_EQ(Round(2).reactionTimeMs, 5000);
    EXPECT_EQ(Round(2).chosenValue, 0);
}

TEST_F(RunEngineTest, LateTimeLimitTickAfterAnAnswerChangesNothing) {
    Configure(2, 1, 8);
    engine.FormShow();
    EndPause();
    Tap(KeyOf(CorrectDirection()), 812.0);
    const RoundRecord answered = Round(1);
    engine.DerTimerTimer(kAnswerTag); // queued before the key was handled
    engine.DerTimerTimer(kPauseTag);
    EXPECT_EQ(Round(1), answered);
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.tag, kFeedbackTag);
    EXPECT_EQ(CurrentRound(), 1);
    Fire();
    EXPECT_EQ(CurrentRound(), 2);
    EndPause();
}

// Escape in rounds 7, 8 and 12, in the pause, the answer phase and the feedback.
TEST_F(RunEngineTest, EscapeAbandonsBeforeRound8AndEndsWithAResultFromRound8On) {
    enum Phase { kPause, kAnswer, kFeedback };
    for (int round : {7, 8, 12}) {
        for (Phase phase : {kPause, kAnswer, kFeedback}) {
            SCOPED_TRACE(testing::Message() << "round " << round << " phase " << phase);
            programState().reset();
            programState().LocalClock = [] { return LocalDateTime{2026, 1, 2, 3, 4}; };
            programState().RunUnsaved = true;
            view = RecordingView{};
            Configure(1, 3, 20);
            engine.FormShow();
            PlayCorrectRounds(round - 1);
            ASSERT_EQ(CurrentRound(), round);
            if (phase != kPause) {
                EndPause();
            }
            if (phase == kFeedback) {
                Tap(KeyOf(CorrectDirection()));
                ASSERT_EQ(Round(round).chosenValue, Round(round).targetValue);
            }
            engine.FormKeyDown(kKeyEscape);
            EXPECT_FALSE(timer.running);
            EXPECT_TRUE(engine.Closed());
            if (round < 8) {
                EXPECT_EQ(view.closes, std::vector<int>{kModalCancel});
                ASSERT_EQ(view.messages.size(), 1u);
                EXPECT_EQ(view.messages[0].first,
                          "Eine statistische Auswertung erfolgt erst, wenn mindestens 8 "
                          "Durchgänge durchlaufen wurden.");
                EXPECT_EQ(view.messages[0].second, "Hinweis");
                EXPECT_FALSE(programState().RunUnsaved);
                EXPECT_EQ(programState().current.roundCount, 0);
                EXPECT_EQ(programState().current.header[kPrname], "");
            } else {
                EXPECT_EQ(view.closes, std::vector<int>{kModalOk});
                EXPECT_TRUE(view.messages.empty());
                EXPECT_TRUE(programState().RunUnsaved);
                EXPECT_EQ(programState().current.roundCount, round - 1);
                EXPECT_EQ(CurrentRound(), round - 1);
                EXPECT_EQ(programState().current.header[kSvdate], "02.01.2026");
                EXPECT_EQ(programState().current.header[kSvtime], "03.04");
            }
            // Nothing after the close: a second Escape, keys, late ticks.
            const ResultRecord closedRecord = programState().current;
            engine.FormKeyDown(kKeyEscape);
            engine.FormKeyDown(kKeyUp);
            engine.DerTimerTimer(kPauseTag);
            engine.DerTimerTimer(kAnswerTag);
            engine.DerTimerTimer(kFeedbackTag);
            EXPECT_EQ(programState().current, closedRecord);
            EXPECT_EQ(view.closes.size(), 1u);
            EXPECT_FALSE(timer.running);
        }
    }
}

TEST_F(RunEngineTest, EarlyEscapeMessageInEnglish) {
    programState().UiLanguage = 2;
    Configure(2, 2, 20);
    engine.FormShow();
    engine.FormKeyDown(kKeyEscape);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first,
              "You will have to pass at least 8 rounds for a statistic analysis.");
    EXPECT_EQ(view.messages[0].second, "info");
    EXPECT_EQ(engine.ModalResult(), kModalCancel);
}

TEST_F(RunEngineTest, AcousticSignalForWrongAnswersOnly) {
    Configure(1, 2, 8, 1, 2);
    engine.FormShow();
    EndPause();
    Tap(KeyOf(CorrectDirection()));
    EXPECT_EQ(view.sounds, 0);
    EXPECT_FALSE(view.redBars);
    Fire();
    EndPause();
    const int wrong = CorrectDirection() % 4 + 1;
    Tap(KeyOf(wrong));
    EXPECT_EQ(view.sounds, 1);
    EXPECT_FALSE(view.redBars);
    EXPECT_EQ(Round(2).chosenValue, view.targets[wrong].value);
    EXPECT_NE(Round(2).chosenValue, Round(2).targetValue);
}

TEST_F(RunEngineTest, RunOfFourRoundsAndTheLongestRun) {
    Configure(2, 3, 4, 1);
    engine.FormShow();
    PlayCorrectRounds(4);
    EXPECT_EQ(view.closes, std::vector<int>{kModalOk});
    EXPECT_EQ(programState().current.roundCount, 4);

    // The round list holds 200 rounds: a larger count plays 200.
    programState().reset();
    view = RecordingView{};
    Configure(1, 4, 204, 1);
    engine.FormShow();
    EXPECT_EQ(view.countlabelTexts.front(), "200");
    PlayCorrectRounds(200);
    EXPECT_EQ(view.closes, std::vector<int>{kModalOk});
    EXPECT_EQ(programState().current.roundCount, 200);
    for (int r = 1; r <= 200; ++r) {
        ASSERT_EQ(Round(r).chosenValue, Round(r).targetValue) << r;
    }
}

TEST_F(RunEngineTest, UnknownExerciseIsAbandonedAtOnce) {
    for (const auto& [kind, version] : {std::pair{0, 1}, {3, 1}, {1, 0}, {2, 5}}) {
        programState().reset();
        programState().RunUnsaved = true;
        view = RecordingView{};
        Configure(kind, version, 20);
        engine.FormShow();
        EXPECT_EQ(view.closes, std::vector<int>{kModalCancel});
        EXPECT_FALSE(programState().RunUnsaved);
        EXPECT_FALSE(timer.running);
        EXPECT_EQ(programState().current.roundCount, 0);
    }
}

TEST(SteadyStopWatchTest, HoldsItsReadingWhenStopped) {
    SteadyStopWatch watch;
    EXPECT_EQ(watch.ElapsedMs(), 0.0);
    watch.Start();
    const double running = watch.ElapsedMs();
    EXPECT_GE(running, 0.0);
    watch.Stop();
    const double stopped = watch.ElapsedMs();
    EXPECT_GE(stopped, running);
    EXPECT_EQ(watch.ElapsedMs(), stopped);
    watch.Start();
    EXPECT_GE(watch.ElapsedMs(), 0.0);
}

} // namespace
} // namespace quendal
