// The overall statistics view and the chart on a result file of 10,000 runs of 200 rounds:
// opening the view (reading the file and filling the list) should stay under 0.5 s, drawing
// the chart (one pass over the file, the bars set and painted) under 1 s.

#include "core/message_sink.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"
#include "stats/filter_dialog.h"
#include "stats/gesamtstatistik_dialog.h"
#include "toolkit/header_list_box.h"
#include "toolkit/stacked_bar_chart.h"

#include <QTimer>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

using namespace quendal;

namespace {

constexpr int kRuns = 10000;
constexpr int kRounds = 200;

class SilentMessages : public MessageSink {
  public:
    int Show(const std::string&, const std::string&, bool, bool, int) override {
        return kMessageNo;
    }
};

// A user whose file holds kRuns runs of kRounds rounds, made once.
void prepareUser() {
    static bool made = false;
    ProgramState& state = programState();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quendal-overall-bench";
    state.CurrentUser.Folder = folder.string() + "/";
    state.CurrentUser.ResultFileName = "user1.dat";
    state.CurrentUser.DisplayName = "Erika Mustermann";
    state.DataFolder = state.CurrentUser.Folder;
    if (made) {
        return;
    }
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / "user1.dat", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < kRuns; ++i) {
        ResultRecord r;
        const int kind = i % 2 + 1;
        const int version = i % 4 + 1;
        r.header = {"V a r o n",
                    i % 10 == 0 ? "10.12.2026" : "01.12.2026",
                    "09.30",
                    "V-" + std::to_string(kind) + std::to_string(version) + "1",
                    kind == 1 ? "Farbe/Wort" : "Zahl/Anzahl",
                    "Version " + std::to_string(version),
                    "Fester Rahmen",
                    "",
                    ""};
        r.roundCount = kRounds;
        for (int k = 1; k <= kRounds; ++k) {
            const int target = (k + i) % 4 + 1;
            r.rounds[static_cast<std::size_t>(k)] = {target, k % 5 == 0 ? target % 4 + 1 : target,
                                                     300 + (k * 37 + i) % 900, target % 4 + 1};
        }
        ComputeRunStatistics(r);
        out << FormatResultRecord(r);
    }
    made = true;
}

void BM_OpenOverallView(benchmark::State& bench) {
    prepareUser();
    SilentMessages messages;
    TGesamtstatistikDialog dialog(messages);
    for (auto _ : bench) {
        QTimer::singleShot(0, &dialog, [&] { dialog.cancelbuttonClick(); });
        GesamtstatistikbuttonClick(dialog, messages);
    }
    if (dialog.StatistikListBox()->lineCount() != kRuns) {
        bench.SkipWithError("the list does not hold every run");
    }
}
BENCHMARK(BM_OpenOverallView)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DrawChart(benchmark::State& bench) {
    prepareUser();
    SilentMessages messages;
    TFilterDialog dialog(messages);
    dialog.FormShow();
    dialog.show();
    for (auto _ : bench) {
        programState().RecordsRead = kRuns;
        dialog.AnzeigenButtonClick();
        benchmark::DoNotOptimize(dialog.Chart1()->widget()->grab());
    }
    const auto* chart = dynamic_cast<const StackedBarChart*>(dialog.Chart1());
    if (chart == nullptr || chart->pairCount() != kRuns) {
        bench.SkipWithError("the chart does not show every run");
    }
}
BENCHMARK(BM_DrawChart)->Unit(benchmark::kMillisecond)->Iterations(5);

// The share of the pass over the file and the setting of the pairs, without the painting.
void BM_ChartPassOnly(benchmark::State& bench) {
    prepareUser();
    SilentMessages messages;
    TFilterDialog dialog(messages);
    dialog.FormShow();
    for (auto _ : bench) {
        programState().RecordsRead = kRuns;
        dialog.AnzeigenButtonClick();
    }
}
BENCHMARK(BM_ChartPassOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

// The pass over the file alone.
void BM_WalkOnly(benchmark::State& bench) {
    prepareUser();
    const ProgramState& state = programState();
    for (auto _ : bench) {
        int64_t sum = 0;
        WalkResultFile(
            state.CurrentUser.Folder + state.CurrentUser.ResultFileName, kRuns,
            [&](int32_t, const ResultRecord& r) { sum += r.statistics.columns[0].meanCorrect; });
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_WalkOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
