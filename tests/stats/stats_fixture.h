#pragma once
// What the tests of the statistics screens share: a logged-in user whose result file in a
// scratch folder is written by the program's own writer, a fixed clock, prints going into
// PDF files in the scratch folder, and a message box that records every message and answers
// its questions as the test says.

#include "core/local_clock.h"
#include "core/message_sink.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"
#include "stats/filter_dialog.h"
#include "tests/core/scratch_folder.h"
#include "toolkit/stacked_bar_chart.h"

#include <QByteArray>
#include <QtGlobal>
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quendal::testing {

struct Shown {
    std::string text;
    std::string caption;
    bool yesNo;
    int lines;
};

class RecordingMessages : public MessageSink {
  public:
    int Show(const std::string& text, const std::string& caption, bool yesNo, bool /*centred*/,
             int lines) override {
        shown.push_back({text, caption, yesNo, lines});
        if (!yesNo) {
            return kMessageNo;
        }
        if (answers.empty()) {
            return kMessageYes;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Shown> shown;
    std::deque<int> answers; // for the yes/no questions; Yes once they run out
};

// The chart dialog's chart as the chart module made it.
inline StackedBarChart* chartOf(const TFilterDialog& dialog) {
    return dynamic_cast<StackedBarChart*>(dialog.Chart1());
}

// Today in the tests.
inline const LocalDateTime kToday{2026, 12, 10, 9, 30};
inline const std::string kTodayText = "10.12.2026";

// One run to write: its exercise, date, and how its rounds are answered.
struct StoredRun {
    int kind = 1;    // 1 colour, 2 number
    int version = 1; // 1..4
    std::string date = kTodayText;
    std::string time = "09.30";
    int rounds = 8;
    int correctEvery = 1; // every n-th round correct; 0: none
    int baseMs = 400;
};

class StatsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramState& state = programState();
        state.LocalClock = [] { return kToday; };
        state.DataFolder = data.folder();
        state.CurrentUser.Folder = data.folder();
        state.CurrentUser.ResultFileName = "user1.dat";
        state.CurrentUser.DisplayName = "  Erika Mustermann ";
        state.CurrentUser.tag = 1;
        qputenv("QUENDAL_PRINT_TO_PDF", QByteArray::fromStdString(data.file("pdf")));
        data.write("user1.dat", "");
    }
    void TearDown() override { qunsetenv("QUENDAL_PRINT_TO_PDF"); }

    std::string resultFile() const { return data.file("user1.dat"); }

    // Appends a run through AppendResultRecord, as the program does after a run; the current
    // record is put back afterwards.
    void append(const StoredRun& run) {
        ProgramState& state = programState();
        const ResultRecord before = state.current;
        ResultRecord& r = state.current;
        r = ResultRecord{};
        const auto& words = state.vocabulary;
        const std::string info1 = run.kind == 1
                                      ? words.playKindNames[1] + "/" + words.playKindNames[2]
                                      : words.playKindNames[3] + "/" + words.playKindNames[4];
        r.header = {"V a r o n",
                    run.date,
                    run.time,
                    "V-" + std::to_string(run.kind) + std::to_string(run.version) + "1",
                    info1,
                    "Version " + std::to_string(run.version),
                    "Fester Rahmen",
                    "",
                    ""};
        r.roundCount = run.rounds;
        for (int i = 1; i <= run.rounds; ++i) {
            const int target = (i - 1) % 4 + 1;
            const bool correct = run.correctEvery > 0 && i % run.correctEvery == 0;
            r.rounds[static_cast<std::size_t>(i)] = {target, correct ? target : target % 4 + 1,
                                                     run.baseMs + 37 * i, (target + 1) % 4 + 1};
        }
        ComputeRunStatistics(r);
        ASSERT_EQ(AppendResultRecord(resultFile()), kAppendOk);
        state.current = before;
    }

    // A record whose program key is "/" (no data) or "\" (data error), as no part of the
    // program writes it.
    void appendMarked(const std::string& key) {
        data.write("user1.dat",
                   data.read("user1.dat") +
                       "$ prname            V a r o n\r\n"
                       "$ svdate           " +
                       kTodayText +
                       "\r\n"
                       "$ svtime                08.00\r\n"
                       "$ prtkey" +
                       std::string(21 - key.size(), ' ') + key +
                       "\r\n"
                       "$ info 1                     \r\n$ info 2                     \r\n"
                       "$ info 3                     \r\n$ info 4                     \r\n"
                       "$ info 5                     \r\n$ eodata \r\n");
    }

    // A record with a number that does not convert: listed as "Datenfehler".
    void appendFaulty() {
        data.write("user1.dat", data.read("user1.dat") +
                                    "$ prname            V a r o n\r\n"
                                    "$ svdate           " +
                                    kTodayText +
                                    "\r\n"
                                    "$ svtime                08.15\r\n"
                                    "$ prtkey                V-121\r\n"
                                    "$ info 1           Farbe/Wort\r\n"
                                    "$ info 2            Version 2\r\n"
                                    "$ info 3        Fester Rahmen\r\n"
                                    "$ info 4                     \r\n"
                                    "$ info 5                     \r\n"
                                    "         2         2       812         4\r\n"
                                    "         4        x1      1066         1\r\n"
                                    "$ eodata \r\n");
    }

    ScratchFolder data;
    RecordingMessages messages;
};

} // namespace quendal::testing
