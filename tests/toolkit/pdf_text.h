#pragma once
// Reads the words of a PDF file back with poppler's pdftotext -bbox-layout, with their
// places in millimetres from the page's top-left corner.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <optional>
#include <vector>

namespace pdftest {

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax; // mm
};

struct Page {
    double widthMm = 0;
    double heightMm = 0;
    std::vector<Word> words;
    QString text() const {
        QStringList all;
        for (const Word& w : words) {
            all << w.text;
        }
        return all.join(u' ');
    }
};

inline std::vector<Page> readPdf(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox-layout"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    std::vector<Page> pages;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return pages;
    }
    constexpr double mmPerPoint = 25.4 / 72.0;
    QXmlStreamReader xml(p.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto a = xml.attributes();
        if (xml.name() == u"page") {
            pages.push_back({a.value(QStringLiteral("width")).toDouble() * mmPerPoint,
                             a.value(QStringLiteral("height")).toDouble() * mmPerPoint,
                             {}});
        } else if (xml.name() == u"word" && !pages.empty()) {
            Word w{QString(), a.value(QStringLiteral("xMin")).toDouble() * mmPerPoint,
                   a.value(QStringLiteral("yMin")).toDouble() * mmPerPoint,
                   a.value(QStringLiteral("xMax")).toDouble() * mmPerPoint,
                   a.value(QStringLiteral("yMax")).toDouble() * mmPerPoint};
            w.text = xml.readElementText();
            pages.back().words.push_back(w);
        }
    }
    return pages;
}

// The box around the first run of consecutive words that spells text (words joined by
// single blanks).
inline std::optional<Word> find(const Page& page, const QString& text) {
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    const auto n = static_cast<std::size_t>(parts.size());
    for (std::size_t i = 0; i + n <= page.words.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < n && match; ++k) {
            match = page.words[i + k].text == parts[static_cast<qsizetype>(k)];
        }
        if (match) {
            Word box = page.words[i];
            box.text = text;
            for (std::size_t k = 1; k < n; ++k) {
                const Word& w = page.words[i + k];
                box.xMin = std::min(box.xMin, w.xMin);
                box.yMin = std::min(box.yMin, w.yMin);
                box.xMax = std::max(box.xMax, w.xMax);
                box.yMax = std::max(box.yMax, w.yMax);
            }
            return box;
        }
    }
    return std::nullopt;
}

} // namespace pdftest
