#include "pdf_text.h"
#include "toolkit/band_report.h"

#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

ReportLabel label(const QString& name, double left, double top, double width, Qt::Alignment align,
                  double pixels, bool bold, const QString& text = {}) {
    ReportLabel l;
    l.name = name;
    l.leftMm = left;
    l.topMm = top;
    l.widthMm = width;
    l.alignment = align;
    l.font = ReportFont{QStringLiteral("Arial"), pixels, bold};
    l.text = text;
    return l;
}

bool writePdf(const BandReport& report, const QString& path) {
    QPdfWriter writer(path);
    return report.print(writer);
}

// pdftotext boxes a word from the font's ascent above the baseline; a label puts its
// baseline one ascent below its top, so the box starts at the label's top.
constexpr double tolerance = 0.5;

} // namespace

TEST(BandReport, PlacesEveryLabelOfTheTitleBandWhereItsMillimetresSay) {
    BandReport report;
    report.setMarginsMm(15);
    ReportBand& title = report.titleBand();
    title.heightMm = 244.7;
    title.colour = Qt::white;
    title.labels = {
        label("Head", 32.1, 1.3, 115.8, Qt::AlignHCenter, 19, true),
        label("Typ", 0, 14.6, 52.9, Qt::AlignLeft, 16, true),
        label("Zeit", 127.0, 15.5, 52.9, Qt::AlignRight, 16, true),
        label("_color2", 103.2, 38.4, 19.8, Qt::AlignLeft, 16, true, "Grün"),
        label("LAdd2", 6.9, 67.1, 32.7, Qt::AlignRight, 16, true, "Standardabw."),
        label("_ri4", 156.8, 114.1, 19.8, Qt::AlignLeft, 15, false, "1234"),
        label("empty", 10, 200, 20, Qt::AlignLeft, 15, false),
    };
    ASSERT_TRUE(report.setText("Head", "Erika Mustermann"));
    ASSERT_TRUE(report.setText("Typ", "Farbe - Version 2"));
    ASSERT_TRUE(report.setText("Zeit", "10.12.2026 - 10.15"));
    EXPECT_FALSE(report.setText("Nirgends", "x"));
    EXPECT_EQ(report.pageCount(), 1);

    QTemporaryDir dir;
    const QString path = dir.filePath("einzel.pdf");
    ASSERT_TRUE(writePdf(report, path));
    const auto pages = pdftest::readPdf(path);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_NEAR(pages[0].widthMm, 210.0, 0.5);
    EXPECT_NEAR(pages[0].heightMm, 297.0, 0.5);

    struct Expect {
        QString text;
        double left, top, width;
        Qt::Alignment align;
        double pixels;
    };
    const std::vector<Expect> expected = {
        {"Erika Mustermann", 32.1, 1.3, 115.8, Qt::AlignHCenter, 19},
        {"Farbe - Version 2", 0, 14.6, 52.9, Qt::AlignLeft, 16},
        {"10.12.2026 - 10.15", 127.0, 15.5, 52.9, Qt::AlignRight, 16},
        {"Grün", 103.2, 38.4, 19.8, Qt::AlignLeft, 16},
        {"Standardabw.", 6.9, 67.1, 32.7, Qt::AlignRight, 16},
        {"1234", 156.8, 114.1, 19.8, Qt::AlignLeft, 15},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.text.toStdString());
        const auto box = pdftest::find(pages[0], e.text);
        ASSERT_TRUE(box.has_value());
        const double left = 15 + e.left;
        const double right = left + e.width;
        if (e.align == Qt::AlignLeft) {
            EXPECT_NEAR(box->xMin, left, tolerance);
        } else if (e.align == Qt::AlignRight) {
            EXPECT_NEAR(box->xMax, right, tolerance);
        } else {
            EXPECT_NEAR((box->xMin + box->xMax) / 2, (left + right) / 2, tolerance);
        }
        EXPECT_NEAR(box->yMin, 15 + e.top, tolerance);
        // The size: a line of the font is about 1.15 times its pixel size high.
        const double fontMm = e.pixels * 25.4 / 96; // pixels at 96 dpi
        EXPECT_NEAR(box->yMax - box->yMin, fontMm * 1.15, fontMm * 0.1) << box->yMax - box->yMin;
    }
    EXPECT_EQ(pages[0].words.size(), 12U) << pages[0].text().toStdString();
}

TEST(BandReport, RepeatsTheDetailBandOverPagesEachWithItsPageHeader) {
    BandReport report;
    ReportBand& header = report.pageHeaderBand();
    header.heightMm = 19.8;
    header.labels = {label("Name", 0, 0.7, 52.9, Qt::AlignLeft, 16, true, "Erika"),
                     label("QRLabel1", 1.0, 14.2, 10.3, Qt::AlignLeft, 13, false, "Datum")};
    ReportBand& detail = report.detailBand();
    detail.heightMm = 6.9;
    ReportLabel f1 = label("F1", 0.7, 2.0, 20.8, Qt::AlignLeft, 13, false);
    f1.field = 0;
    ReportLabel f3 = label("F3", 75.1, 2.0, 16.2, Qt::AlignRight, 13, false);
    f3.field = 2;
    detail.labels = {f1, f3};
    std::vector<QStringList> rows;
    for (int i = 1; i <= 60; ++i) {
        rows.push_back(
            {QStringLiteral("Z%1").arg(i), QStringLiteral("ignored"), QString::number(i * 4)});
    }
    rows[59] = {QStringLiteral("Z60")}; // a short row leaves its other fields empty
    report.setRows(rows);

    // 297 - 2 * 15 - 19.8 leaves room for 35 rows of 6.9 mm on a page.
    ASSERT_EQ(report.pageCount(), 2);
    QTemporaryDir dir;
    const QString path = dir.filePath("gesamt.pdf");
    ASSERT_TRUE(writePdf(report, path));
    const auto pages = pdftest::readPdf(path);
    ASSERT_EQ(pages.size(), 2U);

    int row = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        const auto name = pdftest::find(pages[p], "Erika");
        const auto head = pdftest::find(pages[p], "Datum");
        ASSERT_TRUE(name && head);
        EXPECT_NEAR(name->yMin, 15.7, tolerance);
        EXPECT_NEAR(head->yMin, 29.2, tolerance);
        const int last = p == 0 ? 35 : 60;
        for (int slot = 0; row <= last; ++row, ++slot) {
            const auto cell = pdftest::find(pages[p], QStringLiteral("Z%1").arg(row));
            ASSERT_TRUE(cell.has_value()) << row;
            EXPECT_NEAR(cell->yMin, 15 + 19.8 + slot * 6.9 + 2.0, tolerance) << row;
            EXPECT_NEAR(cell->xMin, 15.7, tolerance);
            if (row < 60) {
                const auto count = pdftest::find(pages[p], QString::number(row * 4));
                ASSERT_TRUE(count.has_value()) << row;
                EXPECT_NEAR(count->xMax, 15 + 75.1 + 16.2, tolerance);
            }
        }
        EXPECT_FALSE(pages[p].text().contains("ignored"));
    }
    EXPECT_EQ(pages[1].words.size(), 2U + 25U + 24U);
}
