#include "toolkit/dbf_table.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

const std::vector<DbfField> printFields = {{"F1", 10}, {"F2", 30}, {"F3", 10}, {"F4", 10},
                                           {"F5", 10}, {"F6", 10}, {"F7", 10}, {"F8", 10}};

std::vector<std::string> runRow(int i) {
    return {QStringLiteral("%1.12.2026").arg(i, 2, 10, QChar('0')).toStdString(),
            i % 2 == 0 ? "Farbe/Wort - Version 3" : "Zahl/Anzahl - Grün",
            std::to_string(4 * i),
            std::to_string(i),
            std::to_string(400 + i),
            std::to_string(50 + i),
            std::to_string(i % 3),
            std::to_string(i % 4)};
}

// The rows as an independent reader sees them: dbview's fields, ';'-separated, decoded
// from Windows-1252.
std::vector<QStringList> readWithDbview(const QString& path) {
    QProcess p;
    p.start("dbview", {"-b", "-t", "-d", ";", path});
    p.waitForFinished(30000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    auto decode = QStringDecoder("windows-1252");
    const QString out = decode(p.readAllStandardOutput());
    std::vector<QStringList> rows;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        QStringList fields = line.split(';');
        if (!fields.isEmpty() && fields.last().isEmpty()) {
            fields.removeLast(); // dbview ends every field with the delimiter
        }
        rows.push_back(fields);
    }
    return rows;
}

} // namespace

TEST(DbfTable, WritesThePrintTableThatShapelibAndDbviewReadBackInWindows1252) {
    const QDate started = QDate::currentDate();
    QTemporaryDir dir;
    const std::string path = dir.filePath("drucktmp.DBF").toStdString();
    ASSERT_EQ(DbfTable::create(path, printFields), DbfTable::CreateResult::Created);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"drucktmp.DBF"});
    {
        DbfTable table;
        ASSERT_TRUE(table.open(path));
        EXPECT_EQ(table.rowCount(), 0);
        for (int i = 1; i <= 12; ++i) {
            ASSERT_TRUE(table.appendRow(runRow(i)));
        }
        // A marked entry of the list, and a short one whose missing fields stay empty.
        ASSERT_TRUE(table.appendRow({"-", "Keine Daten vorhanden", "0", "0", "0", "0", "0", "0"}));
        ASSERT_TRUE(table.appendRow({"Übungstyp"}));
    }
    DbfTable table;
    ASSERT_TRUE(table.open(path));
    const std::vector<DbfField> fields = table.fields();
    ASSERT_EQ(fields.size(), 8U);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(fields[i].name, printFields[i].name);
        EXPECT_EQ(fields[i].width, printFields[i].width);
    }
    ASSERT_EQ(table.rowCount(), 14);
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(table.row(i - 1), runRow(i)) << i;
    }
    EXPECT_EQ(table.row(12)[1], "Keine Daten vorhanden");
    EXPECT_EQ(table.row(13), (std::vector<std::string>{"Übungstyp", "", "", "", "", "", "", ""}));
    EXPECT_TRUE(table.row(14).empty());
    table.close();

    // The file holds Windows-1252 bytes, not UTF-8.
    QFile raw(QString::fromStdString(path));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.contains("Gr\xFCn"));
    EXPECT_TRUE(bytes.contains("\xDC"
                               "bungstyp"));
    EXPECT_FALSE(bytes.contains("Grün"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x03);  // dBase III, no memo
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x03); // language: Windows ANSI
    const QDate changed(1900 + static_cast<unsigned char>(bytes[1]), bytes[2], bytes[3]);
    EXPECT_TRUE(changed >= started && changed <= QDate::currentDate())
        << bytes.left(4).toHex().toStdString();

    const std::vector<QStringList> seen = readWithDbview(QString::fromStdString(path));
    ASSERT_EQ(seen.size(), 14U);
    for (int i = 1; i <= 12; ++i) {
        QStringList expected;
        for (const std::string& f : runRow(i)) {
            expected << QString::fromStdString(f);
        }
        EXPECT_EQ(seen[i - 1], expected) << i;
    }
    EXPECT_EQ(seen[13].value(0), "Übungstyp");
}

TEST(DbfTable, ASecondTableReplacesTheFirstAndFailuresAreToldApart) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("drucktmp.DBF").toStdString();
    ASSERT_EQ(DbfTable::create(path, printFields), DbfTable::CreateResult::Created);
    {
        DbfTable table;
        ASSERT_TRUE(table.open(path));
        for (int i = 1; i <= 12; ++i) {
            ASSERT_TRUE(table.appendRow(runRow(i)));
        }
    }
    ASSERT_EQ(DbfTable::create(path, printFields), DbfTable::CreateResult::Created);
    {
        DbfTable table;
        ASSERT_TRUE(table.open(path));
        EXPECT_EQ(table.rowCount(), 0);
        // A text longer than its field is cut to the field's width.
        ASSERT_TRUE(table.appendRow({"01.01.2027-und-mehr", "Farbe"}));
    }
    DbfTable table;
    ASSERT_TRUE(table.open(path));
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.row(0)[0], "01.01.2027");
    EXPECT_EQ(readWithDbview(QString::fromStdString(path)).size(), 1U);
    table.close();

    EXPECT_EQ(DbfTable::create(dir.filePath("fehlt/drucktmp.DBF").toStdString(), printFields),
              DbfTable::CreateResult::CannotCreate);
    const std::string bad = dir.filePath("bad.DBF").toStdString();
    EXPECT_EQ(DbfTable::create(bad, {{"F1", 10}, {"ZU_LANGER_NAME", 10}}),
              DbfTable::CreateResult::CannotDefineFields);
    EXPECT_EQ(DbfTable::create(bad, {{"F1", 0}}), DbfTable::CreateResult::CannotDefineFields);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(bad)));
    EXPECT_FALSE(DbfTable().open(bad));
}
