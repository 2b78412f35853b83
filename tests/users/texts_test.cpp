#include "core/program_state.h"
#include "users/texts.h"

#include <gtest/gtest.h>

using namespace quendal;
using namespace quendal::texts;

TEST(Texts, PickFollowsTheInterfaceLanguageEachTime) {
    EXPECT_EQ(pick(haupt::Exitbutton), QStringLiteral("Ende"));
    programState().UiLanguage = 2;
    EXPECT_EQ(pick(haupt::Exitbutton), QStringLiteral("Quit"));
    programState().UiLanguage = 1;
    EXPECT_EQ(pick(hilfe::okbutton), QString::fromUtf8("Schließen"));
    EXPECT_EQ(pick(hilfe::okbutton, 2), QStringLiteral("Close"));
}

TEST(Texts, MainWindowCaptions) {
    const std::pair<TextPair, std::pair<const char*, const char*>> rows[] = {
        {haupt::Einstellungenbutton, {"Einstellungen", "Settings"}},
        {haupt::Einzelstatistikbutton, {"Einzelstatistik", "Single statistics"}},
        {haupt::Gesamtstatistikbutton, {"Gesamtstatistik", "Global statistics"}},
        {haupt::Hilfebutton, {"Hilfe", "Help"}},
    };
    for (const auto& [pair, expected] : rows) {
        EXPECT_EQ(pick(pair, 1), QString::fromUtf8(expected.first));
        EXPECT_EQ(pick(pair, 2), QString::fromUtf8(expected.second));
    }
}

TEST(Texts, DialogsOfTheShell) {
    // The options dialog's left button, named cancelbutton, confirms and reads OK.
    EXPECT_EQ(pick(optionen::cancelbutton, 2), QStringLiteral("OK"));
    EXPECT_EQ(pick(optionen::okbutton, 1), QStringLiteral("Abbrechen"));
    EXPECT_EQ(pick(optionen::okbutton, 2), QStringLiteral("Cancel"));
    EXPECT_EQ(pick(optionen::Joycheck, 2), QStringLiteral("Use Joystick"));
    EXPECT_EQ(pick(optionen::caption, 1), QStringLiteral("Optionen"));
    EXPECT_EQ(pick(hilfe::document, 2), QStringLiteral("ehilfe.rtf"));
    EXPECT_EQ(pick(hilfe::VersionLabel, 2), QStringLiteral("Release: 05.02.2010"));
    EXPECT_EQ(pick(hilfe::dataFolderCaption, 1), QStringLiteral("Variable \"BasisPfad\""));
    EXPECT_EQ(pick(texteingabe::NL1, 2), QStringLiteral("Name:"));
    EXPECT_EQ(pick(texteingabe::cancelbutton, 2), QStringLiteral("Cancel"));
    EXPECT_EQ(pick(meldung::neinbutton, 2), QStringLiteral("No"));
    EXPECT_EQ(pick(kHinweis, 2), QStringLiteral("Info"));
}

TEST(Texts, LoginHintsAndTheUnusedTagAreGermanInBothLanguages) {
    for (const TextPair& pair : {login::label2, login::LMDSimpleLabel1, login::unbenutzt,
                                 startup::debugSizeReduced, startup::fullScreenLost}) {
        EXPECT_EQ(pick(pair, 1), pick(pair, 2));
    }
    EXPECT_EQ(pick(login::createError, 2), QStringLiteral("Error creating user profiles."));
    EXPECT_EQ(pick(startup::bitmapListsFailed, 2),
              QStringLiteral("Error reading graphic and/or sound files."));
}

TEST(Texts, ColourDepthWarningNamesTheColours) {
    EXPECT_TRUE(colourDepthWarning(15, 1).isEmpty());
    EXPECT_TRUE(colourDepthWarning(32, 2).isEmpty());
    const QString german = colourDepthWarning(8, 1);
    EXPECT_TRUE(german.startsWith(QStringLiteral("WICHTIGER HINWEIS:\r\r")));
    EXPECT_TRUE(german.contains(QStringLiteral("Darstellung von 256 Farben konfiguriert.\r\r")));
    EXPECT_TRUE(german.endsWith(QStringLiteral("in Fehlfarben dargestellt.")));
    EXPECT_TRUE(colourDepthWarning(14, 1).contains(QStringLiteral(" 256 Farben")));
    EXPECT_TRUE(colourDepthWarning(4, 1).contains(QStringLiteral(" 16 Farben")));
    EXPECT_EQ(colourDepthWarning(4, 2),
              QStringLiteral("IMPORTANT:\r\rThis program need a desktop color depth of at lease "
                             "15 bit (32000 colors).\rYou system currently supports 16 colors."
                             "\r\rPlease increase the color depth by using 'control "
                             "panel/display'.\rUntil then the program will display wrong "
                             "colors."));
    EXPECT_EQ(forDisplay(QStringLiteral("a\r\rb\r\nc")), QStringLiteral("a\n\nb\nc"));
}

TEST(Texts, OwnStartUpReportsFillInTheirDetails) {
    const QString text =
        pick(startup::dataFolderFailed, 2).arg(QStringLiteral("/x/"), QStringLiteral("denied"));
    EXPECT_TRUE(text.contains(QStringLiteral("/x/")));
    EXPECT_TRUE(text.contains(QStringLiteral("denied")));
    EXPECT_TRUE(pick(startup::debugSizeInvalid, 1).contains(QStringLiteral("debug 800 600")));
}
