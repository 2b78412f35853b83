#include "pdf_text.h"
#include "toolkit/stacked_bar_chart.h"

#include <QBarSet>
#include <QChart>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

bool near(QRgb pixel, const QColor& colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

} // namespace

TEST(StackedBarChart, StacksThePairsInOrderAndPrintsTheFooterOnlyOnPaper) {
    const QColor mean(140, 158, 242);
    const QColor deviation(134, 242, 202);
    const QColor background(215, 250, 240);
    StackedBarChart chart;
    chart.resize(590, 337);
    chart.setSetTitles("Mittelwert", "Abweichung");
    chart.setSetColors(mean, deviation);
    chart.setBackgroundColor(background);
    chart.addPair("1", 500, 80);
    chart.addPair("3", 0, 0); // a run without a correct answer
    chart.addPair("7", 420, 60);
    chart.addPair("7", 300, 30); // a repeated label still makes a pair of its own
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));

    EXPECT_EQ(chart.pairCount(), 4);
    EXPECT_EQ(chart.labels(), QStringList({"1", "3", "7", "7"}));
    EXPECT_EQ(chart.categories().size(), 4);
    EXPECT_EQ(chart.firstValues(), QList<double>({500, 0, 420, 300}));
    EXPECT_EQ(chart.secondValues(), QList<double>({80, 0, 60, 30}));
    EXPECT_EQ(chart.firstSet()->label(), "Mittelwert");
    EXPECT_EQ(chart.secondSet()->label(), "Abweichung");
    EXPECT_GE(chart.valueAxisMax(), 580.0);
    EXPECT_LE(chart.valueAxisMax(), 1000.0);
    EXPECT_TRUE(chart.chart()->title().isEmpty());
    EXPECT_EQ(chart.rubberBand(), QChartView::NoRubberBand);

    // On screen: the mean stands on the axis, the deviation on top of it, nothing where
    // the zero pair stands.
    const QImage shown = chart.grab().toImage();
    QChart* c = chart.chart();
    auto pixelAt = [&](double category, double value) {
        const QPointF p = c->mapToPosition(QPointF(category, value));
        return shown.pixel(p.toPoint());
    };
    EXPECT_TRUE(near(pixelAt(0, 250), mean, 40));
    EXPECT_TRUE(near(pixelAt(0, 540), deviation, 40));
    EXPECT_FALSE(near(pixelAt(0, 640), deviation, 40));
    EXPECT_FALSE(near(pixelAt(1, 5), mean, 40));
    EXPECT_TRUE(near(pixelAt(2, 400), mean, 40));
    EXPECT_TRUE(near(pixelAt(2, 460), deviation, 40));
    EXPECT_TRUE(near(pixelAt(3, 320), deviation, 40));
    EXPECT_TRUE(near(pixelAt(3, 340), background, 10));

    const QString footer = "user1.dat (10.12.2026 - 10.15)";
    chart.setFooterText(footer);
    QTemporaryDir dir;
    // What the screen shows, drawn into a PDF: no footer.
    const QString screenPdf = dir.filePath("screen.pdf");
    {
        QPdfWriter writer(screenPdf);
        QPainter painter(&writer);
        chart.render(&painter);
    }
    const QString printedPdf = dir.filePath("printed.pdf");
    {
        QPdfWriter writer(printedPdf);
        ASSERT_TRUE(chart.print(writer));
    }
    const auto screen = pdftest::readPdf(screenPdf);
    const auto printed = pdftest::readPdf(printedPdf);
    ASSERT_EQ(screen.size(), 1U);
    ASSERT_EQ(printed.size(), 1U);
    for (const auto* pages : {&screen, &printed}) {
        const QString text = pages->front().text();
        EXPECT_TRUE(text.contains("Mittelwert") && text.contains("Abweichung"))
            << text.toStdString();
        EXPECT_TRUE(pdftest::find(pages->front(), "ms").has_value());
    }
    EXPECT_FALSE(pdftest::find(screen[0], footer).has_value());
    const auto foot = pdftest::find(printed[0], footer);
    ASSERT_TRUE(foot.has_value()) << printed[0].text().toStdString();
    // The legend stands above the plot, the footer below everything, within the margins.
    const auto legend = pdftest::find(printed[0], "Mittelwert");
    ASSERT_TRUE(legend.has_value());
    const auto axisTitle = pdftest::find(printed[0], "ms");
    EXPECT_LT(legend->yMax, foot->yMin);
    EXPECT_GE(legend->yMin, 15.0);
    EXPECT_LE(foot->xMax, 195.0);
    EXPECT_GE(foot->xMin, 15.0);
    // The category labels read in order from left to right below the bars.
    const auto one = pdftest::find(printed[0], "1");
    const auto three = pdftest::find(printed[0], "3");
    ASSERT_TRUE(one && three);
    EXPECT_LT(one->xMax, three->xMin);
    EXPECT_LT(legend->yMax, one->yMin);
    EXPECT_LT(one->yMax, foot->yMin);

    chart.clear();
    EXPECT_EQ(chart.pairCount(), 0);
    EXPECT_TRUE(chart.categories().isEmpty());
    EXPECT_TRUE(chart.firstValues().isEmpty());
}
