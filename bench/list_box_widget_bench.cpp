// Filling the list box with header with 10,000 and 50,000 lines of the overall statistics,
// and the first drawing of the filled list, on the offscreen platform.
#include "toolkit/header_list_box.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

using namespace quendal;

namespace {

QStringList runLines(int count) {
    QStringList lines;
    lines.reserve(count);
    for (int n = 1; n <= count; ++n) {
        lines << QStringLiteral("%1;10.12.2026;Farbe/Wort - Version 3;20;%2;%3;%4;1;0")
                     .arg(n)
                     .arg(n % 20)
                     .arg(400 + n % 300)
                     .arg(n % 90);
    }
    return lines;
}

void setUp(HeaderListBox& box) {
    box.resize(604, 320);
    box.setColumns({{"Nr.", 43},
                    {"Datum", 61},
                    {"Übungstyp", 200},
                    {"Anzahl", 50},
                    {"Richtig", 47},
                    {"Mittelw.", 58},
                    {"St.-Abw.", 54},
                    {"Falsch", 46},
                    {"Interf.", 50}});
    box.setHeaderHeight(17);
}

// Replacing every line of a shown list and selecting the newest, as the overall view does.
void BM_FillLines(benchmark::State& state) {
    const QStringList lines = runLines(static_cast<int>(state.range(0)));
    HeaderListBox box;
    setUp(box);
    box.show();
    for (auto _ : state) {
        box.setLines(lines);
        box.setCurrentRow(box.lineCount() - 1);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(box.currentRow());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillLines)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// Filling and drawing the visible part once.
void BM_FillAndDraw(benchmark::State& state) {
    const QStringList lines = runLines(static_cast<int>(state.range(0)));
    HeaderListBox box;
    setUp(box);
    for (auto _ : state) {
        box.setLines(lines);
        box.setCurrentRow(0);
        const QPixmap picture = box.grab();
        benchmark::DoNotOptimize(picture.cacheKey());
    }
}
BENCHMARK(BM_FillAndDraw)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
