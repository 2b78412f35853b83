#include "frame/daten.h"
#include "shell_fixture.h"

#include <QFile>
#include <filesystem>

using namespace quendal;
using quendal::testing::ShellTest;

namespace {

namespace fs = std::filesystem;

// A program folder of its own whose DATA/ (spelt as given) holds copies of some of the
// build's lists for one layout.
void copyLists(const quendal::testing::ScratchFolder& into, const std::string& dataName,
               const std::string& layout, const std::vector<std::string>& names) {
    const fs::path from = fs::path(QUENDAL_DATA_OUT) / layout;
    const fs::path to = fs::path(into.folder()) / dataName / layout;
    fs::create_directories(to);
    for (const std::string& name : names) {
        fs::copy_file(from / name, to / name);
    }
}

} // namespace

TEST_F(ShellTest, LoadsTheListsOfTheLayoutAndLanguage) {
    programState().PlayWidth = 800;
    programState().UiLanguage = 2;
    TDaten& d = daten();
    EXPECT_GE(d.SchemeBMPliste.count(), TDaten::kSchemeEntries);
    EXPECT_GE(d.HauptBMListe.count(), TDaten::kHauptEntries);
    // The "800" layout: gates 234 wide, window borders 19.
    EXPECT_EQ(d.SchemeBMPliste.image(16).width(), 234);
    EXPECT_EQ(d.SchemeBMPliste.image(6).width(), 19);
    EXPECT_EQ(d.ButtonList().count(), 9);
    EXPECT_EQ(d.WaveFalsch.size(), 21372);
    EXPECT_EQ(Daten(), &d);
}

TEST_F(ShellTest, AMissingEnglishSchemeListFailsWithTheEnglishMessage) {
    quendal::testing::ScratchFolder program;
    copyLists(program, "DATA", "1024/", {"ehaupt.bml", "haupt.bml", "scheme.bml"});
    programState().ProgramFolder = program.folder();
    programState().UiLanguage = 2;
    TDaten d;
    QString error;
    EXPECT_FALSE(d.FormCreate(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("escheme.bml"))) << error.toStdString();
    EXPECT_EQ(TDaten::loadFailureMessage(),
              QStringLiteral("Error reading graphic and/or sound files."));
    EXPECT_EQ(d.HauptBMListe.count(), 0) << "no half-loaded lists stay behind";

    // The same folder serves German, and a lower-case "data" is the same folder.
    programState().UiLanguage = 1;
    EXPECT_TRUE(d.LoadBitmapLists(&error)) << error.toStdString();
    EXPECT_EQ(TDaten::loadFailureMessage(),
              QStringLiteral("Fehler beim Einlesen der Grafiken bzw. Sounds."));
}

TEST_F(ShellTest, ListsAreLookedUpInTheFolderOfThePlayWidthWhateverTheCaseOfData) {
    quendal::testing::ScratchFolder program;
    copyLists(program, "data", "640/", {"haupt.bml", "scheme.bml"});
    programState().ProgramFolder = program.folder();
    programState().PlayWidth = 750;
    TDaten d;
    QString error;
    EXPECT_TRUE(d.LoadBitmapLists(&error)) << error.toStdString();
    programState().PlayWidth = 751; // "800/" is not there
    EXPECT_FALSE(d.LoadBitmapLists(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("800/"))) << error.toStdString();
}

TEST_F(ShellTest, AListWithoutTheEntriesTheScreensReadIsRefused) {
    quendal::testing::ScratchFolder program;
    copyLists(program, "DATA", "1024/", {"haupt.bml"});
    const QList<QImage> few{QImage(4, 4, QImage::Format_RGB32)};
    QString error;
    ASSERT_TRUE(BitmapList(few).save(
        QString::fromStdString(program.folder() + "DATA/1024/scheme.bml"), &error));
    programState().ProgramFolder = program.folder();
    TDaten d;
    EXPECT_FALSE(d.LoadBitmapLists(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("scheme.bml"))) << error.toStdString();

    // A file without the signature, and no program folder at all.
    QFile damaged(QString::fromStdString(program.folder() + "DATA/1024/scheme.bml"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a bitmap list");
    damaged.close();
    EXPECT_FALSE(d.LoadBitmapLists(&error));
    programState().ProgramFolder.clear();
    EXPECT_FALSE(d.LoadBitmapLists(&error));
}

TEST_F(ShellTest, TheBuildsOwnListsAreDrawnAfreshForAScaledScreenAndOthersAreCheckedWhole) {
    // The lists the build drew are known by their fingerprints: their pictures can be drawn
    // again at any pixel ratio, the same as in the file at 1.
    TDaten& own = daten();
    ASSERT_TRUE(own.SchemeBMPliste.hasPainter());
    ASSERT_TRUE(own.HauptBMListe.hasPainter());
    for (const int entry : {9, 11, 16, 35}) {
        const QPixmap drawn = own.SchemeBMPliste.pixmap(entry, 2.0);
        EXPECT_DOUBLE_EQ(drawn.devicePixelRatio(), 2.0) << entry;
        EXPECT_EQ(drawn.size(), own.SchemeBMPliste.size(entry) * 2) << entry;
        EXPECT_EQ(own.SchemeBMPliste.pixmap(entry, 1.0).toImage(),
                  own.SchemeBMPliste.image(entry).convertToFormat(QImage::Format_RGB32))
            << entry;
    }
    EXPECT_DOUBLE_EQ(own.HauptBMListe.pixmap(40, 1.25).devicePixelRatio(), 1.25);

    // A list of other pictures (here: one changed) is read with every picture checked, and
    // its pictures are what a scaled screen shows, scaled.
    quendal::testing::ScratchFolder program;
    copyLists(program, "DATA", "1024/", {"haupt.bml"});
    QList<QImage> pictures;
    for (int i = 0; i < own.SchemeBMPliste.count(); ++i) {
        pictures << own.SchemeBMPliste.image(i);
    }
    pictures[11].setPixel(0, 0, qRgb(255, 0, 255));
    QString error;
    ASSERT_TRUE(BitmapList(pictures).save(
        QString::fromStdString(program.folder() + "DATA/1024/scheme.bml"), &error));
    programState().ProgramFolder = program.folder();
    TDaten other;
    ASSERT_TRUE(other.LoadBitmapLists(&error)) << error.toStdString();
    EXPECT_FALSE(other.SchemeBMPliste.hasPainter());
    EXPECT_TRUE(other.HauptBMListe.hasPainter()) << "the copied list is still the build's";
    EXPECT_DOUBLE_EQ(other.SchemeBMPliste.pixmap(11, 2.0).devicePixelRatio(), 1.0);
    EXPECT_EQ(other.SchemeBMPliste.image(11).pixel(0, 0), qRgb(255, 0, 255));

    // A file whose bytes were damaged on the way is not the build's and is found out.
    QFile copy(QString::fromStdString(program.folder() + "DATA/1024/haupt.bml"));
    ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
    QByteArray bytes = copy.readAll();
    const qsizetype data = bytes.indexOf("IDAT", bytes.size() / 2) + 6;
    bytes[data] = static_cast<char>(bytes[data] ^ 0x21);
    copy.seek(0);
    copy.write(bytes);
    copy.close();
    EXPECT_FALSE(other.LoadBitmapLists(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("haupt.bml"))) << error.toStdString();
}
