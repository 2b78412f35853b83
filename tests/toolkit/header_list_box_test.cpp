#include "toolkit/header_list_box.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

const std::vector<HeaderListBox::Column> statisticsColumns = {
    {"Nr.", 43},      {"Datum", 61},    {"Übungstyp", 200}, {"Anzahl", 50}, {"Richtig", 47},
    {"Mittelw.", 58}, {"St.-Abw.", 54}, {"Falsch", 46},     {"Interf.", 50}};

QString runLine(int n) {
    return QStringLiteral("%1;10.12.2026;Farbe/Wort - Version 3;20;%2;%3;%4;1;0")
        .arg(n)
        .arg(n % 20)
        .arg(400 + n % 300)
        .arg(n % 90);
}

} // namespace

TEST(HeaderListBox, ShowsTenThousandLinesInColumnsAndReportsSelectionAndDoubleClicks) {
    HeaderListBox box;
    box.resize(604, 320);
    box.setColumns(statisticsColumns);
    box.setHeaderHeight(17);
    QFont body(QStringLiteral("Arial"));
    body.setPixelSize(11);
    QFont head(QStringLiteral("Arial"));
    head.setPixelSize(11);
    head.setBold(true);
    box.setHeaderFont(head);
    box.setBodyFont(body);

    QStringList lines;
    for (int n = 1; n <= 10000; ++n) {
        lines << runLine(n);
    }
    lines << QStringLiteral("Datenfehler") << QStringLiteral("-;-;Keine Daten vorhanden")
          << QStringLiteral("1;2;3;4;5;6;7;8;9;10");
    box.setLines(lines);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    ASSERT_EQ(box.lineCount(), 10003);
    EXPECT_EQ(box.model()->rowCount(), 10003);
    EXPECT_EQ(box.model()->columnCount(), 9);
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(box.designWidth(c), statisticsColumns[c].width);
        EXPECT_EQ(box.model()->headerData(c, Qt::Horizontal).toString(), statisticsColumns[c].head);
    }
    EXPECT_EQ(box.header()->height(), 17);
    EXPECT_TRUE(box.header()->font().bold());
    EXPECT_FALSE(box.font().bold());
    EXPECT_EQ(box.font().pixelSize(), 11);
    EXPECT_FALSE(box.rootIsDecorated());
    EXPECT_TRUE(box.uniformRowHeights());

    EXPECT_EQ(box.line(4710), runLine(4711));
    const QStringList expected = runLine(4711).split(';');
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(box.model()->index(4710, c).data().toString(), expected[c]) << c;
    }
    EXPECT_EQ(box.field(10000, 0), "Datenfehler");
    EXPECT_EQ(box.field(10000, 1), "");
    EXPECT_EQ(box.field(10001, 2), "Keine Daten vorhanden");
    EXPECT_EQ(box.field(10001, 8), "");
    EXPECT_EQ(box.field(10002, 8), "9;10"); // nothing is lost beyond the last column

    QSignalSpy changed(&box, &HeaderListBox::currentRowChanged);
    EXPECT_EQ(box.currentRow(), -1);
    box.setCurrentRow(9999);
    EXPECT_EQ(box.currentRow(), 9999);
    EXPECT_EQ(changed.count(), 1);
    box.setCurrentRow(20000); // outside: nothing changes
    EXPECT_EQ(box.currentRow(), 9999);

    // The user double-clicks the third visible line.
    box.scrollToTop();
    QSignalSpy doubled(&box, &HeaderListBox::lineDoubleClicked);
    const QRect third = box.visualRect(box.model()->index(2, 2));
    ASSERT_TRUE(third.isValid());
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(box.currentRow(), 2);
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, third.center());
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled.first().first().toInt(), 2);

    // New head texts keep the columns; a new list replaces the old one and selects nothing.
    box.setHeadTexts(
        {"#", "date", "type", "rounds", "correct", "aver.val.", "deviat.", "incor.", "interf."});
    EXPECT_EQ(box.model()->headerData(2, Qt::Horizontal).toString(), "type");
    EXPECT_EQ(box.designWidth(2), 200);
    box.setLines({runLine(1), runLine(2)});
    EXPECT_EQ(box.lineCount(), 2);
    EXPECT_EQ(box.currentRow(), -1);
    box.addLine(runLine(3));
    box.setCurrentRow(2);
    EXPECT_EQ(box.field(2, 0), "3");
    box.clear();
    EXPECT_EQ(box.lineCount(), 0);
    EXPECT_EQ(box.currentRow(), -1);
}

// The list at its size in the overall view and at the sizes of the smaller play fields, with
// few lines (no vertical scroll bar) and with many: the columns fill the visible width with no
// horizontal scroll bar, every head and every date whole, the other columns in the
// proportions of their given widths; a line without fields stands whole across its row.
TEST(HeaderListBox, ColumnsShareTheWidthInProportionAndALineWithoutFieldsSpansTheRow) {
    HeaderListBox box;
    std::vector<HeaderListBox::Column> columns = statisticsColumns;
    columns[1].widest = QStringLiteral("00.00.0000");
    box.setColumns(columns);
    QFont body(QStringLiteral("Arial"));
    body.setPixelSize(11);
    box.setBodyFont(body);
    box.setHeaderFont(body);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const int margin = box.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &box) + 1;
    for (const int lines : {3, 400}) {
        QStringList list;
        for (int n = 1; n <= lines; ++n) {
            list << (n == 2 ? QStringLiteral("Datenfehler") : runLine(n));
        }
        box.setLines(list);
        // Its size and font in the overall view at 1024 x 768 and at 640 x 480.
        for (const auto& [size, pixels] : {std::pair(QSize(604, 320), 11), {QSize(537, 284), 10}}) {
            body.setPixelSize(pixels);
            box.setBodyFont(body);
            box.setHeaderFont(body);
            box.resize(size);
            QCoreApplication::processEvents();
            const std::string where =
                std::to_string(size.width()) + " wide, " + std::to_string(lines) + " lines";
            EXPECT_FALSE(box.horizontalScrollBar()->isVisible()) << where;
            EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0) << where;
            EXPECT_EQ(box.verticalScrollBar()->isVisible(), lines > 100) << where;
            const int visible = box.viewport()->width();
            int sum = 0;
            for (int c = 0; c < 9; ++c) {
                sum += box.header()->sectionSize(c);
                EXPECT_LE(QFontMetrics(body).horizontalAdvance(columns[c].head) + 7,
                          box.header()->sectionSize(c))
                    << where << " head " << c;
            }
            EXPECT_EQ(sum, visible) << where;
            EXPECT_LE(QFontMetrics(body).horizontalAdvance(QStringLiteral("10.12.2026")) +
                          2 * margin,
                      box.header()->sectionSize(1))
                << where;
            // The columns that kept their proportion: all but the date (and the number, whose
            // head is wider than its share at the smallest size).
            int rest = visible;
            int restShares = 0;
            std::vector<int> free;
            for (int c = 0; c < 9; ++c) {
                const int need = QFontMetrics(body).horizontalAdvance(columns[c].head) + 7;
                if (c == 1 || box.header()->sectionSize(c) <= need + 1) {
                    rest -= box.header()->sectionSize(c);
                } else {
                    free.push_back(c);
                    restShares += columns[c].width;
                }
            }
            ASSERT_GE(free.size(), 5U) << where;
            for (const int c : free) {
                EXPECT_LE(std::abs(box.header()->sectionSize(c) -
                                   double(columns[c].width) * rest / restShares),
                          1.0)
                    << where << " column " << c;
            }

            const QRect error = box.visualRect(box.model()->index(1, 0));
            EXPECT_GE(error.width(), visible - 1) << where;
            EXPECT_EQ(box.visualRect(box.model()->index(0, 0)).width(),
                      box.header()->sectionSize(0))
                << where;
        }
    }
}
