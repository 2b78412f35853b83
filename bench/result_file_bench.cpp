// Reading and writing result files of 100 to 10,000 runs: the lists, the chart's single pass
// (and, for comparison, the chart read record by record), the statistics and the writer.
#include "core/program_state.h"
#include "core/result_file.h"
#include "core/statistics.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <utility>

using namespace quendal;

namespace {

ResultRecord sampleRun(std::mt19937& gen, int32_t rounds) {
    ResultRecord r;
    r.header = {"V a r o n", "09.12.2026",       "10.41", "V-131", "Farbe/Wort",
                "Version 3", "Variabler Rahmen", "",      ""};
    std::uniform_int_distribution<int32_t> value(1, 4);
    std::uniform_int_distribution<int32_t> time(60, 3000);
    r.roundCount = rounds;
    for (int32_t i = 1; i <= rounds; ++i) {
        const int32_t t = value(gen);
        r.rounds[i] = {t, i % 7 == 0 ? 0 : (i % 5 == 0 ? value(gen) : t), time(gen), value(gen)};
    }
    return r;
}

// Result files generated once per size, in a folder that goes when the program ends.
class Files {
  public:
    Files() {
        char pattern[] = "/tmp/quendal-bench-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    Files(const Files&) = delete;
    Files& operator=(const Files&) = delete;
    ~Files() { std::filesystem::remove_all(dir_); }

    const std::string& get(int32_t records, int32_t rounds) {
        const auto key = std::make_pair(records, rounds);
        if (auto it = paths_.find(key); it != paths_.end()) {
            return it->second;
        }
        const std::string path =
            dir_ + "/r" + std::to_string(records) + "x" + std::to_string(rounds) + ".dat";
        std::mt19937 gen(static_cast<unsigned>(records * 1000 + rounds));
        std::ofstream out(path, std::ios::binary);
        for (int32_t i = 0; i < records; ++i) {
            out << FormatResultRecord(sampleRun(gen, rounds));
        }
        return paths_.emplace(key, path).first->second;
    }

  private:
    std::string dir_;
    std::map<std::pair<int32_t, int32_t>, std::string> paths_;
};

Files& files() {
    static Files instance;
    return instance;
}

void setRate(benchmark::State& state, const std::string& path) {
    const auto bytes = static_cast<double>(std::filesystem::file_size(path));
    state.counters["MB/s"] =
        benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = bytes / 1e6;
}

void BM_ListAllRuns(benchmark::State& state) {
    const auto records = static_cast<int32_t>(state.range(0));
    const auto rounds = static_cast<int32_t>(state.range(1));
    const std::string& path = files().get(records, rounds);
    ResultList list;
    for (auto _ : state) {
        ReadResultFile(path, 0, false, list);
        benchmark::DoNotOptimize(list.data());
    }
    if (list.size() != static_cast<std::size_t>(records)) {
        state.SkipWithError("wrong number of entries");
    }
    setRate(state, path);
}
BENCHMARK(BM_ListAllRuns)
    ->Args({100, 200})
    ->Args({1000, 200})
    ->Args({10000, 200})
    ->Args({1000, 40})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ChartWalk(benchmark::State& state) {
    const auto records = static_cast<int32_t>(state.range(0));
    const std::string& path = files().get(records, 200);
    int64_t bars = 0;
    for (auto _ : state) {
        WalkResultFile(path, records, [&bars](int32_t, const ResultRecord& r) {
            bars += r.statistics.columns[0].meanCorrect + r.statistics.columns[0].sdCorrect;
        });
    }
    benchmark::DoNotOptimize(bars);
    setRate(state, path);
}
BENCHMARK(BM_ChartWalk)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The chart as it reads when every record is loaded by its own pass: quadratic.
void BM_ChartRecordByRecord(benchmark::State& state) {
    const auto records = static_cast<int32_t>(state.range(0));
    const std::string& path = files().get(records, 200);
    ResultList unused;
    int64_t bars = 0;
    for (auto _ : state) {
        for (int32_t k = 1; k <= records; ++k) {
            ReadResultFile(path, k, false, unused);
            bars += programState().current.statistics.columns[0].meanCorrect;
        }
    }
    benchmark::DoNotOptimize(bars);
}
BENCHMARK(BM_ChartRecordByRecord)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ComputeRunStatistics(benchmark::State& state) {
    std::mt19937 gen(7);
    ResultRecord r = sampleRun(gen, 200);
    for (auto _ : state) {
        ComputeRunStatistics(r);
        benchmark::DoNotOptimize(r.statistics);
    }
}
BENCHMARK(BM_ComputeRunStatistics);

void BM_FormatResultRecord(benchmark::State& state) {
    std::mt19937 gen(7);
    const ResultRecord r = sampleRun(gen, 200);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatResultRecord(r));
    }
}
BENCHMARK(BM_FormatResultRecord);

} // namespace
