#include "toolkit/number_field.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quendal;

TEST(NumberField, ReadsItsTextAsAWholeNumberAndClampsOnlyWhatIsSet) {
    NumberField field;
    field.setRange(500, 5000);
    field.setMaxLength(4);
    const struct {
        const char* typed;
        const char* kept;
        int value;
    } rows[] = {{"1234", "1234", 1234}, {"12345", "1234", 1234}, // at most four characters
                {"9999", "9999", 9999}, {"100", "100", 100},     // typed text is never corrected
                {"", "", 500},          {"12a", "12a", 500},     // no number: the minimum
                {" 42 ", " 42 ", 42},   {"-7", "-7", -7}};
    for (const auto& row : rows) {
        field.clear();
        QTest::keyClicks(&field, QString::fromLatin1(row.typed));
        EXPECT_EQ(field.text(), QString::fromLatin1(row.kept)) << row.typed;
        EXPECT_EQ(field.value(), row.value) << row.typed;
        EXPECT_EQ(field.holdsNumber(), row.value != 500) << row.typed;
    }
    field.setValue(6000);
    EXPECT_EQ(field.text(), QStringLiteral("5000"));
    field.setValue(499);
    EXPECT_EQ(field.text(), QStringLiteral("500"));
    field.setValue(777);
    EXPECT_EQ(field.text(), QStringLiteral("777"));

    NumberField wide;
    wide.setRange(0, 10);
    wide.setText(QStringLiteral("99999999999999"));
    EXPECT_EQ(wide.value(), 2147483647); // a whole number, however large
    wide.setText(QStringLiteral("99999999999999999999999"));
    EXPECT_EQ(wide.value(), 0); // beyond any whole number the field holds: the minimum
}

TEST(SpinButton, StepsWithinItsRangeAndReportsOnlyItsOwnChanges) {
    SpinButton spin;
    spin.resize(17, 30);
    spin.setRange(4, 200);
    spin.setStep(4);
    QSignalSpy changed(&spin, &SpinButton::changed);
    spin.setValue(250);
    EXPECT_EQ(spin.value(), 200);
    EXPECT_EQ(changed.count(), 0); // a value set from outside is not reported

    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(8, 4)); // upper half: up
    EXPECT_EQ(spin.value(), 200);
    EXPECT_EQ(changed.count(), 0);                               // nothing changed at the top
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(8, 26)); // lower half: down
    EXPECT_EQ(spin.value(), 196);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 196);

    spin.setValue(6);
    spin.stepDown();
    EXPECT_EQ(spin.value(), 4);
    spin.stepDown();
    EXPECT_EQ(spin.value(), 4);
    spin.stepUp();
    EXPECT_EQ(spin.value(), 8);
    EXPECT_EQ(changed.count(), 3);

    // Held down, the arrow repeats until it is released.
    spin.setValue(4);
    QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(8, 4));
    QTest::qWait(700);
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(8, 4));
    const int reached = spin.value();
    EXPECT_GT(reached, 8);
    QTest::qWait(200);
    EXPECT_EQ(spin.value(), reached);
}
