// Drawing the progress chart of 100 to 2,000 runs: adding the pairs one by one as the chart
// dialog reads the runs, setting them all at once, and painting the filled chart.
#include "toolkit/stacked_bar_chart.h"

#include <QPixmap>
#include <benchmark/benchmark.h>

using namespace quendal;

namespace {

void BM_AddPairs(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    StackedBarChart chart;
    chart.resize(590, 337);
    for (auto _ : state) {
        chart.clear();
        for (int k = 1; k <= n; ++k) {
            chart.addPair(QString::number(k), 400 + k % 300, k % 90);
        }
        benchmark::DoNotOptimize(chart.pairCount());
    }
}
BENCHMARK(BM_AddPairs)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_SetPairsAndDraw(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    QStringList labels;
    QList<double> first;
    QList<double> second;
    for (int k = 1; k <= n; ++k) {
        labels << QString::number(k);
        first << 400 + k % 300;
        second << k % 90;
    }
    StackedBarChart chart;
    chart.resize(590, 337);
    for (auto _ : state) {
        chart.setPairs(labels, first, second);
        const QPixmap picture = chart.grab();
        benchmark::DoNotOptimize(picture.cacheKey());
    }
}
BENCHMARK(BM_SetPairsAndDraw)->Arg(100)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
