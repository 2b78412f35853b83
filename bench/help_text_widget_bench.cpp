// Showing a 15 MB help text in the help viewer's text view, on the offscreen platform: the
// rich-text reader with its bounds, against the floor (the same characters, already decoded,
// put into the view as plain text) and a naive viewer that takes the whole text as plain text.
// The time is what the window is held for before it can act on the next event.
#include "toolkit/rtf_reader.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>

using namespace quendal;

namespace {

constexpr qsizetype kFileBytes = qsizetype{15} * 1000 * 1000;

struct HugeHelp {
    QTemporaryDir dir;
    QString path;
    QString wholeText; // every character of the file's text
    HugeHelp() {
        QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}";
        const QByteArray paragraph = "{\\b Kapitel} Ein Absatz der Hilfe f\\'fcr Quendal mit "
                                     "{\\i kursivem} Text, lang genug f\\'fcr zwei Zeilen im "
                                     "Fenster der Hilfe und noch etwas mehr.\\par\n";
        while (rtf.size() < kFileBytes) {
            rtf += paragraph;
        }
        rtf += "}";
        path = dir.filePath(QStringLiteral("hilfe.rtf"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(rtf);
        }
        const QString one = QString::fromLatin1("Kapitel Ein Absatz der Hilfe f\xfcr Quendal mit "
                                                "kursivem Text, lang genug f\xfcr zwei Zeilen im "
                                                "Fenster der Hilfe und noch etwas mehr.\n");
        wholeText.reserve(rtf.size());
        while (wholeText.size() < rtf.size() * one.size() / paragraph.size()) {
            wholeText += one;
        }
    }
};

const HugeHelp& help() {
    static const HugeHelp instance;
    return instance;
}

// The view as the help viewer has it, shown; its visible part is drawn after each load.
struct View {
    QTextEdit edit;
    View() {
        edit.resize(588, 386);
        edit.setReadOnly(true);
        edit.show();
        QCoreApplication::processEvents();
    }
    void draw() {
        const QPixmap picture = edit.viewport()->grab();
        benchmark::DoNotOptimize(picture.cacheKey());
    }
};

void BM_HelpViewerReadsTheFile(benchmark::State& state) {
    View view;
    for (auto _ : state) {
        RtfReader::readFile(help().path, view.edit.document());
        view.draw();
    }
    state.counters["characters"] = static_cast<double>(view.edit.document()->characterCount());
}
BENCHMARK(BM_HelpViewerReadsTheFile)->Iterations(3)->Unit(benchmark::kMillisecond);

// The floor: as many characters as the viewer shows, without any reading or formatting.
void BM_FloorPlainTextOfTheSameLength(benchmark::State& state) {
    View view;
    const QString shown = help().wholeText.left(RtfReader::kMaxCharacters);
    for (auto _ : state) {
        view.edit.setPlainText(shown);
        view.draw();
    }
}
BENCHMARK(BM_FloorPlainTextOfTheSameLength)->Iterations(3)->Unit(benchmark::kMillisecond);

// A naive viewer that takes the whole text, even as plain text.
void BM_NaiveWholeTextAsPlainText(benchmark::State& state) {
    View view;
    for (auto _ : state) {
        view.edit.setPlainText(help().wholeText);
        view.draw();
    }
    state.counters["characters"] = static_cast<double>(help().wholeText.size());
}
BENCHMARK(BM_NaiveWholeTextAsPlainText)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
