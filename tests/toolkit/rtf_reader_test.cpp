#include "toolkit/rtf_reader.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

// The character format of the first fragment that contains text.
QTextCharFormat formatOf(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text)) {
                return it.fragment().charFormat();
            }
        }
    }
    ADD_FAILURE() << "no fragment holds " << text.toStdString();
    return {};
}

QTextBlock blockWith(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text)) {
            return block;
        }
    }
    ADD_FAILURE() << "no paragraph holds " << text.toStdString();
    return {};
}

QString plain(const char* rtf) {
    return RtfReader::plainText(QByteArray(rtf));
}

// As a word processor writes it: tables, styles, document information, a generator tag.
const char* const kWordProcessorRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031"
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New "
    "Roman{\\*\\falt Times};}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue64;}\r\n"
    "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}\r\n"
    "{\\info{\\title Hidden title}{\\author Someone}}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\qc\\sa200\\sl276\\slmult1\\b\\f0\\fs32 Heading\\b0\\par\r\n"
    "\\pard\\sa200\\fs24 Plain \\i italic\\i0 , \\ul underlined\\ulnone , "
    "\\cf1 red\\cf0 , \\f1 serif\\f0 .\\par\r\n"
    "\\qr Gr\\'fc\\'dfe \\u8364? end\\par\r\n"
    "\\pard\\qj Line one\\line line two\\tab tabbed\\par\r\n"
    "{\\pict\\wmetafile8\\picw100\\pich100 0123456789abcdef}\r\n"
    "After picture\\par\r\n"
    "}\r\n";

} // namespace

TEST(RtfReader, ReadsWhatAWordProcessorWrites) {
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(QByteArray(kWordProcessorRtf), &document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Heading\nPlain italic, underlined, red, serif.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Grüße € end")));
    EXPECT_TRUE(document.toRawText().contains(QString::fromUtf8("Line one\u2028line two\ttabbed")));
    EXPECT_TRUE(text.contains(QStringLiteral("After picture")));
    for (const char* hidden : {"Hidden title", "Someone", "Riched20", "Normal", "heading 1",
                               "0123456789", "Times;", "Arial"}) {
        EXPECT_FALSE(text.contains(QLatin1String(hidden))) << hidden;
    }

    const QTextCharFormat heading = formatOf(document, QStringLiteral("Heading"));
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(heading.fontPointSize(), 16.0);
    EXPECT_EQ(heading.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_TRUE(formatOf(document, QStringLiteral("italic")).fontItalic());
    EXPECT_FALSE(formatOf(document, QStringLiteral("Plain")).fontItalic());
    EXPECT_TRUE(formatOf(document, QStringLiteral("underlined")).fontUnderline());
    EXPECT_EQ(formatOf(document, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(document, QStringLiteral("serif")).fontFamilies().toStringList(),
              QStringList{QStringLiteral("Times New Roman")});
    EXPECT_DOUBLE_EQ(formatOf(document, QStringLiteral("Plain")).fontPointSize(), 12.0);

    EXPECT_EQ(blockWith(document, QStringLiteral("Heading")).blockFormat().alignment(),
              Qt::AlignHCenter);
    EXPECT_EQ(blockWith(document, QStringLiteral("Plain")).blockFormat().alignment(),
              Qt::AlignLeft);
    EXPECT_EQ(blockWith(document, QStringLiteral("end")).blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(blockWith(document, QStringLiteral("Line one")).blockFormat().alignment(),
              Qt::AlignJustify);
    EXPECT_GT(blockWith(document, QStringLiteral("Plain")).blockFormat().bottomMargin(), 0.0);
}

TEST(RtfReader, EscapesAndSpecialCharacters) {
    EXPECT_EQ(plain("{\\rtf1 a\\~b\\-c\\_d \\{x\\} \\\\}"),
              QString::fromUtf8("a\u00A0b\u00ADc\u2011d {x} \\"));
    EXPECT_EQ(plain("{\\rtf1 \\ldblquote q\\rdblquote  \\endash  \\emdash  \\bullet}"),
              QString::fromUtf8("\u201Cq\u201D \u2013 \u2014 \u2022"));
    // Windows-1252 bytes, escaped or raw.
    EXPECT_EQ(plain("{\\rtf1 \\'80\\'84\\'e4 \xe4}"), QString::fromUtf8("€„ä ä"));
}

TEST(RtfReader, UnicodeWithItsStandInCharacters) {
    EXPECT_EQ(plain("{\\rtf1 \\u252?ber}"), QString::fromUtf8("über"));
    EXPECT_EQ(plain("{\\rtf1\\uc2 \\u8364\\'80\\'80 x}"), QString::fromUtf8("€ x"));
    EXPECT_EQ(plain("{\\rtf1\\uc0 \\u8364 x}"), QString::fromUtf8("€x"));
    // A stand-in escape counts as one character, and a group end stops the skipping.
    EXPECT_EQ(plain("{\\rtf1 {\\u228\\'e4}a}"), QString::fromUtf8("äa"));
    EXPECT_EQ(plain("{\\rtf1 {\\uc3\\u228}abc}"), QString::fromUtf8("äabc"));
    EXPECT_EQ(plain("{\\rtf1 \\u-4064?}"), QString(QChar(0xF020)));
    // A character beyond 16 bits comes as a pair of surrogates.
    EXPECT_EQ(plain("{\\rtf1 \\u-10179?\\u-8704?!}"), QString::fromUtf8("😀!"));
    EXPECT_EQ(plain("{\\rtf1 \\u-10179? x}"), QString::fromUtf8("\uFFFD x"));
}

TEST(RtfReader, GroupsKeepTheirFormattingAndPardPlainReset) {
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(
        "{\\rtf1 {\\b bold {\\i both}} none\\par\\qc centred\\par\\pard left {\\b\\fs40 "
        "big\\plain  small}}",
        &document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("bold both none\ncentred\nleft big small"));
    EXPECT_EQ(formatOf(document, QStringLiteral("both")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(document, QStringLiteral("both")).fontItalic());
    EXPECT_EQ(formatOf(document, QStringLiteral("none")).fontWeight(), QFont::Normal);
    EXPECT_EQ(blockWith(document, QStringLiteral("centred")).blockFormat().alignment(),
              Qt::AlignHCenter);
    EXPECT_EQ(blockWith(document, QStringLiteral("left")).blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(formatOf(document, QStringLiteral("big")).fontPointSize(), 20.0);
    EXPECT_EQ(formatOf(document, QStringLiteral("small")).fontWeight(), QFont::Normal);
}

TEST(RtfReader, UnknownDestinationsAndBinaryDataAreSkipped) {
    EXPECT_EQ(plain("{\\rtf1 a{\\*\\unknowndest secret {\\b nested}}b}"), QStringLiteral("ab"));
    EXPECT_EQ(plain("{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}b}"),
              QStringLiteral("alinkb"));
    EXPECT_EQ(plain("{\\rtf1 a{\\pict\\bin5 }{\\}x}b}"), QStringLiteral("ab"));
    EXPECT_EQ(plain("{\\rtf1 a{\\header head}{\\footer foot}b{\\v hidden}c}"),
              QStringLiteral("abc"));
}

TEST(RtfReader, RefusesWhatIsNoRichTextAndKeepsTheDocument) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("before"));
    EXPECT_FALSE(RtfReader::read("plain text", &document));
    EXPECT_FALSE(RtfReader::read("", &document));
    EXPECT_FALSE(RtfReader::read("{\\rt", &document));
    EXPECT_FALSE(RtfReader::readFile(QStringLiteral("/no/such/file.rtf"), &document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("before"));
}

TEST(RtfReader, SurvivesBrokenInput) {
    const QByteArray deep =
        "{\\rtf1 " + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + "after}";
    EXPECT_EQ(RtfReader::plainText(deep), QStringLiteral("after"));
    for (const char* broken :
         {"{\\rtf1", "{\\rtf1 \\", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 \\'zz", "{\\rtf1 \\u",
          "{\\rtf1 \\u99999999999999999999 x", "{\\rtf1 \\fs-99999999999 x}",
          "{\\rtf1 \\bin99999999999", "{\\rtf1 }}}}} x", "{\\rtf1 {\\fonttbl{\\f0",
          "{\\rtf1 {\\colortbl\\red999;}\\cf1 x\\cf99999 y}", "{\\rtf1 \\uc99999\\u65 abc}",
          "{\\rtf1 \\li99999999\\fi-99999999 x\\par}"}) {
        QTextDocument document;
        EXPECT_TRUE(RtfReader::read(QByteArray(broken), &document)) << broken;
    }
    EXPECT_EQ(plain("{\\rtf1 a}}}} b"), QStringLiteral("a"));
    EXPECT_EQ(plain("{\\rtf1 unclosed {\\b group"), QStringLiteral("unclosed group"));
}

TEST(RtfReader, ReadsTheShippedTexts) {
    const auto folder = std::filesystem::path(QUENDAL_SOURCE_DIR) / "assets" / "texts";
    for (const char* name : {"hilfe.rtf", "ehilfe.rtf", "stat.rtf"}) {
        QTextDocument document;
        const QString path = QString::fromStdString((folder / name).string());
        ASSERT_TRUE(RtfReader::readFile(path, &document)) << name;
        const QString text = document.toPlainText();
        EXPECT_GT(text.size(), 1500) << name;
        EXPECT_FALSE(text.contains(QLatin1Char('\\'))) << name;
        EXPECT_FALSE(text.contains(QLatin1Char('{'))) << name;
        EXPECT_FALSE(text.contains(QChar(QChar::ReplacementCharacter))) << name;
        EXPECT_GT(document.blockCount(), 15) << name;
    }
    QTextDocument german;
    RtfReader::readFile(QString::fromStdString((folder / "hilfe.rtf").string()), &german);
    EXPECT_TRUE(german.toPlainText().contains(QString::fromUtf8("Übung")));
    QTextDocument english;
    RtfReader::readFile(QString::fromStdString((folder / "ehilfe.rtf").string()), &english);
    EXPECT_TRUE(english.toPlainText().contains(QStringLiteral("exercise")));
}

TEST(RtfReader, HangingIndentsTabToTheirTextColumn) {
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read("{\\rtf1\\pard\\fi-360\\li720\\sa150 \\'95\\tab item\\par"
                                "\\pard\\tx3000 a\\tab b\\par}",
                                &document));
    const QTextBlockFormat bullet = blockWith(document, QStringLiteral("item")).blockFormat();
    EXPECT_DOUBLE_EQ(bullet.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(bullet.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(bullet.bottomMargin(), 10.0);
    // The tab after the bullet reaches the left indent, counted from where the line starts.
    ASSERT_EQ(bullet.tabPositions().size(), 1);
    EXPECT_DOUBLE_EQ(bullet.tabPositions()[0].position, 24.0);
    const QTextBlockFormat plainTabs = blockWith(document, QStringLiteral("b")).blockFormat();
    ASSERT_EQ(plainTabs.tabPositions().size(), 1);
    EXPECT_DOUBLE_EQ(plainTabs.tabPositions()[0].position, 200.0);
}

TEST(RtfReader, LineSpacing) {
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(
        "{\\rtf1\\pard\\sl276\\slmult1 a\\par\\pard\\sl-300\\slmult0 b\\par\\pard c\\par}",
        &document));
    const QTextBlockFormat a = blockWith(document, QStringLiteral("a")).blockFormat();
    EXPECT_EQ(a.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(a.lineHeight(), 115.0);
    const QTextBlockFormat b = blockWith(document, QStringLiteral("b")).blockFormat();
    EXPECT_EQ(b.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(b.lineHeight(), 20.0);
    EXPECT_EQ(blockWith(document, QStringLiteral("c")).blockFormat().lineHeightType(),
              QTextBlockFormat::SingleHeight);
}
