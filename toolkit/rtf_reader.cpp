#include "toolkit/rtf_reader.h"

#include "core/safe_file.h"
#include "toolkit/rtf_document_builder.h"

#include <QColor>
#include <QFile>
#include <QSet>
#include <QTextDocument>
#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace quendal {
namespace {

// The characters 0x80..0x9F of Windows-1252; the five undefined bytes keep their number.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar fromCp1252(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        return QChar(kCp1252High[b - 0x80]);
    }
    return QChar(static_cast<char16_t>(b));
}

constexpr int kMaxTwips = 31680; // 22 inches: more is nonsense in a help text
constexpr int kMaxHalfPoints = 3276;

using rtf::CharState;
using rtf::ParaState;

enum class Destination { Text, Skip, FontTable, ColourTable };

struct Group {
    CharState chars;
    ParaState para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // characters that stand in for each \uN
};

// Destinations whose content is never text of the document.
const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> words = {
        "stylesheet",   "info",
        "pict",         "header",
        "headerl",      "headerr",
        "headerf",      "footer",
        "footerl",      "footerr",
        "footerf",      "footnote",
        "object",       "objdata",
        "fldinst",      "xmlnstbl",
        "listtable",    "listoverridetable",
        "rsidtbl",      "generator",
        "themedata",    "colorschememapping",
        "latentstyles", "datastore",
        "mmathPr",      "filetbl",
        "revtbl",       "pgdsctbl",
        "author",       "operator",
        "title",        "subject",
        "comment",      "keywords",
        "doccomm",      "company",
        "nonshppict",   "shp",
        "shpinst",      "annotation",
        "atnid",        "atnauthor",
        "private",      "userprops",
        "blipuid",      "pntxta",
        "pntxtb",       "fchars",
        "lchars",       "ftnsep",
        "ftnsepc",      "ftncn",
        "aftnsep",      "aftnsepc",
        "aftncn",       "template",
        "docvar",       "background",
        "listpicture",  "bkmkstart",
        "bkmkend",      "tc",
        "txe",          "xe",
        "category",     "manager",
        "hlinkbase",    "buptim",
        "creatim",      "printim",
        "revtim",       "wgrffmtfilter",
        "passwordhash",
    };
    return words;
}

class Parser {
  public:
    Parser(const QByteArray& input, QTextDocument* document) : in_(input), builder_(document) {}

    void run() {
        builder_.begin();
        groups_.push_back(Group{});
        while (pos_ < in_.size() && !finished_) {
            step();
        }
        builder_.finish(top().para);
    }

  private:
    Group& top() { return groups_.back(); }
    bool skipping() const {
        return overflow_ > 0 || groups_.back().destination == Destination::Skip;
    }

    void step() {
        const auto c = static_cast<unsigned char>(in_[pos_++]);
        switch (c) {
        case '{':
            unicodePending_ = 0;
            openGroup();
            return;
        case '}':
            unicodePending_ = 0;
            closeGroup();
            return;
        case '\\':
            controlWord();
            return;
        case '\r':
        case '\n':
        case 0:
            return;
        default:
            textByte(c);
        }
    }

    void openGroup() {
        groupStart_ = true;
        if (overflow_ > 0 || static_cast<int>(groups_.size()) >= RtfReader::kMaxGroupDepth) {
            ++overflow_;
            return;
        }
        Group inner = groups_.back();
        groups_.push_back(inner);
    }

    void closeGroup() {
        groupStart_ = false;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (groups_.size() <= 1) {
            finished_ = true; // the closing brace of the document
            return;
        }
        const Destination leaving = groups_.back().destination;
        groups_.pop_back();
        if (leaving == Destination::FontTable && top().destination != Destination::FontTable) {
            endFontEntry();
        }
    }

    // A character that stands in for the last \uN is dropped.
    bool swallowedByUnicode() {
        if (unicodePending_ > 0) {
            --unicodePending_;
            return true;
        }
        return false;
    }

    void textByte(unsigned char c) {
        groupStart_ = false;
        if (swallowedByUnicode() || skipping()) {
            return;
        }
        switch (top().destination) {
        case Destination::FontTable:
            if (c == ';') {
                endFontEntry();
            } else {
                fontName_ += fromCp1252(c);
            }
            return;
        case Destination::ColourTable:
            if (c == ';') {
                builder_.addColour(colourSeen_ ? QColor(red_, green_, blue_) : QColor());
                red_ = green_ = blue_ = 0;
                colourSeen_ = false;
            }
            return;
        default:
            break;
        }
        if (c == '\t') {
            addText(QStringLiteral("\t"));
        } else if (c >= 0x20) {
            addText(QString(fromCp1252(c)));
        }
    }

    void endFontEntry() {
        if (fontNumber_ >= 0) {
            const QString name = fontName_.trimmed();
            if (!name.isEmpty()) {
                builder_.addFont(fontNumber_, name);
            }
        }
        fontNumber_ = -1;
        fontName_.clear();
    }

    void controlWord() {
        if (pos_ >= in_.size()) {
            return;
        }
        const auto c = static_cast<unsigned char>(in_[pos_]);
        if (!isLetter(c)) {
            ++pos_;
            controlSymbol(c);
            groupStart_ = false;
            return;
        }
        QByteArray word;
        while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_]))) {
            if (word.size() < 32) {
                word += in_[pos_];
            }
            ++pos_;
        }
        bool hasParam = false;
        bool negative = false;
        int64_t value = 0;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9') {
            hasParam = true;
            value = std::min<int64_t>(value * 10 + (in_[pos_] - '0'), INT32_MAX);
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') {
            ++pos_;
        }
        const int param = static_cast<int>(negative ? -value : value);
        const bool atGroupStart = groupStart_;
        groupStart_ = false;
        handleWord(word, hasParam, param, atGroupStart);
    }

    static bool isLetter(unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }

    static int hexValue(unsigned char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    }

    void controlSymbol(unsigned char c) {
        switch (c) {
        case '*':
            top().destination = Destination::Skip;
            return;
        case '\'': {
            int value = -1;
            if (pos_ + 1 < in_.size()) {
                const int hi = hexValue(static_cast<unsigned char>(in_[pos_]));
                const int lo = hexValue(static_cast<unsigned char>(in_[pos_ + 1]));
                if (hi >= 0 && lo >= 0) {
                    value = hi * 16 + lo;
                    pos_ += 2;
                }
            }
            if (value < 0 || swallowedByUnicode() || skipping()) {
                return;
            }
            if (top().destination == Destination::FontTable) {
                fontName_ += fromCp1252(static_cast<unsigned char>(value));
            } else if (top().destination == Destination::Text) {
                addText(QString(fromCp1252(static_cast<unsigned char>(value))));
            }
            return;
        }
        default:
            break;
        }
        if (swallowedByUnicode() || skipping() || top().destination != Destination::Text) {
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            addText(QString(QChar(c)));
            return;
        case '~':
            addText(QString(QChar(0x00A0)));
            return;
        case '-':
            addText(QString(QChar(0x00AD)));
            return;
        case '_':
            addText(QString(QChar(0x2011)));
            return;
        case '\r':
        case '\n':
            endParagraph();
            return;
        case '\t':
            addText(QStringLiteral("\t"));
            return;
        default:
            return; // \| \: and the like have no text
        }
    }

    void handleWord(const QByteArray& w, bool hasParam, int param, bool atGroupStart) {
        // \bin is followed by raw bytes that must never be read as rich text.
        if (w == "bin") {
            const qsizetype n = hasParam && param > 0 ? param : 0;
            pos_ = std::min(in_.size(), pos_ + n);
            return;
        }
        if (overflow_ > 0) {
            return;
        }
        Group& g = top();
        if (w == "fonttbl") {
            g.destination = Destination::FontTable;
            fontNumber_ = -1;
            fontName_.clear();
            return;
        }
        if (w == "colortbl") {
            g.destination = Destination::ColourTable;
            return;
        }
        if (skippedDestinations().contains(w)) {
            g.destination = Destination::Skip;
            return;
        }
        if (g.destination == Destination::Skip) {
            return;
        }
        if (g.destination == Destination::FontTable) {
            if (w == "f") {
                if (!atGroupStart && fontNumber_ >= 0) {
                    endFontEntry();
                }
                fontNumber_ = param;
            }
            return;
        }
        if (g.destination == Destination::ColourTable) {
            const int v = std::clamp(param, 0, 255);
            if (w == "red") {
                red_ = v;
                colourSeen_ = true;
            } else if (w == "green") {
                green_ = v;
                colourSeen_ = true;
            } else if (w == "blue") {
                blue_ = v;
                colourSeen_ = true;
            }
            return;
        }
        if (w == "u") {
            if (swallowedByUnicode()) {
                return;
            }
            addUnicode(static_cast<char16_t>(param & 0xFFFF));
            unicodePending_ = g.unicodeSkip;
            return;
        }
        if (swallowedByUnicode()) {
            return;
        }
        formattingWord(g, w, hasParam, param);
    }

    static bool on(bool hasParam, int param) { return !hasParam || param != 0; }
    static int twips(int param) { return std::clamp(param, -kMaxTwips, kMaxTwips); }

    void formattingWord(Group& g, const QByteArray& w, bool hasParam, int param) {
        CharState& ch = g.chars;
        ParaState& pa = g.para;
        if (w == "par" || w == "sect" || w == "page" || w == "row") {
            endParagraph();
        } else if (w == "line") {
            addText(QString(QChar(QChar::LineSeparator)));
        } else if (w == "tab" || w == "cell") {
            addText(QStringLiteral("\t"));
        } else if (w == "pard") {
            pa = ParaState{};
        } else if (w == "plain") {
            ch = CharState{};
        } else if (w == "ql") {
            pa.alignment = Qt::AlignLeft;
        } else if (w == "qc") {
            pa.alignment = Qt::AlignHCenter;
        } else if (w == "qr") {
            pa.alignment = Qt::AlignRight;
        } else if (w == "qj") {
            pa.alignment = Qt::AlignJustify;
        } else if (w == "li") {
            pa.leftIndent = twips(param);
        } else if (w == "ri") {
            pa.rightIndent = twips(param);
        } else if (w == "fi") {
            pa.firstIndent = twips(param);
        } else if (w == "sb") {
            pa.spaceBefore = twips(param);
        } else if (w == "sa") {
            pa.spaceAfter = twips(param);
        } else if (w == "sl") {
            pa.lineSpacing = twips(param);
        } else if (w == "slmult") {
            pa.lineMultiple = param == 1;
        } else if (w == "tx") {
            // A paragraph has at most a few dozen tab stops; more are ignored.
            if (pa.tabStops.size() < 64) {
                pa.tabStops.append(std::clamp(param, 0, kMaxTwips));
            }
        } else if (w == "b") {
            ch.bold = on(hasParam, param);
        } else if (w == "i") {
            ch.italic = on(hasParam, param);
        } else if (w == "ul") {
            ch.underline = on(hasParam, param);
        } else if (w == "ulnone") {
            ch.underline = false;
        } else if (w == "strike") {
            ch.strike = on(hasParam, param);
        } else if (w == "v") {
            ch.hidden = on(hasParam, param);
        } else if (w == "fs") {
            ch.halfPoints = hasParam ? std::clamp(param, 2, kMaxHalfPoints) : 24;
        } else if (w == "f") {
            ch.font = std::max(param, 0);
        } else if (w == "cf") {
            ch.colour = std::max(param, 0);
        } else if (w == "cb" || w == "highlight" || w == "chcbpat") {
            ch.background = std::max(param, 0);
        } else if (w == "super") {
            ch.vertical = 1;
        } else if (w == "sub") {
            ch.vertical = 2;
        } else if (w == "nosupersub") {
            ch.vertical = 0;
        } else if (w == "uc") {
            g.unicodeSkip = std::clamp(param, 0, 16);
        } else if (w == "deff") {
            builder_.setDefaultFont(std::max(param, 0));
        } else if (w == "emdash") {
            addText(QString(QChar(0x2014)));
        } else if (w == "endash") {
            addText(QString(QChar(0x2013)));
        } else if (w == "lquote") {
            addText(QString(QChar(0x2018)));
        } else if (w == "rquote") {
            addText(QString(QChar(0x2019)));
        } else if (w == "ldblquote") {
            addText(QString(QChar(0x201C)));
        } else if (w == "rdblquote") {
            addText(QString(QChar(0x201D)));
        } else if (w == "bullet") {
            addText(QString(QChar(0x2022)));
        } else if (w == "emspace") {
            addText(QString(QChar(0x2003)));
        } else if (w == "enspace") {
            addText(QString(QChar(0x2002)));
        }
        // Every other word changes nothing the view shows.
    }

    void addUnicode(char16_t unit) {
        if (QChar::isHighSurrogate(unit)) {
            if (highSurrogate_ != 0) {
                addText(QString(QChar(QChar::ReplacementCharacter)));
            }
            highSurrogate_ = unit;
            return;
        }
        if (QChar::isLowSurrogate(unit)) {
            if (highSurrogate_ != 0) {
                const QChar pair[2] = {QChar(highSurrogate_), QChar(unit)};
                highSurrogate_ = 0;
                addText(QString(pair, 2));
            } else {
                addText(QString(QChar(QChar::ReplacementCharacter)));
            }
            return;
        }
        if (unit == 0 || (unit < 0x20 && unit != '\t')) {
            return;
        }
        addText(QString(QChar(unit)));
    }

    // Counts what goes into the document; at the limit the reading ends.
    bool roomFor(qsizetype characters) {
        characters_ += characters;
        if (characters_ > RtfReader::kMaxCharacters) {
            finished_ = true;
            return false;
        }
        return true;
    }

    void addText(const QString& text) {
        if (top().destination != Destination::Text || skipping() || top().chars.hidden ||
            !roomFor(text.size())) {
            return;
        }
        if (highSurrogate_ != 0 && !(text.size() == 2 && text[0].isHighSurrogate())) {
            highSurrogate_ = 0; // a high surrogate without its low one
            builder_.addText(QString(QChar(QChar::ReplacementCharacter)), top().chars);
        }
        builder_.addText(text, top().chars);
    }

    void endParagraph() {
        if (top().destination != Destination::Text || skipping() || !roomFor(1)) {
            return;
        }
        builder_.endParagraph(top().para);
    }

    const QByteArray& in_;
    rtf::DocumentBuilder builder_;
    qsizetype pos_ = 0;
    bool finished_ = false;
    qsizetype characters_ = 0;
    bool groupStart_ = false;
    std::vector<Group> groups_;
    int overflow_ = 0;
    int unicodePending_ = 0;
    char16_t highSurrogate_ = 0;

    int fontNumber_ = -1;
    QString fontName_;

    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colourSeen_ = false;
};

bool looksLikeRtf(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) <= 0x20) {
        ++i;
    }
    return bytes.mid(i, 5) == "{\\rtf";
}

} // namespace

bool RtfReader::read(const QByteArray& rtf, QTextDocument* document) {
    if (document == nullptr || !looksLikeRtf(rtf)) {
        return false;
    }
    const qsizetype start = rtf.indexOf('{');
    const QByteArray body = rtf.mid(start + 1); // the outermost group is the document
    Parser parser(body, document);
    parser.run();
    return true;
}

bool RtfReader::readFile(const QString& path, QTextDocument* document) {
    const OpenedFile opened = openRegularFile(QFile::encodeName(path).toStdString(), O_RDONLY);
    if (opened.status != OpenStatus::Opened) {
        return false;
    }
    QFile file;
    if (!file.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(opened.fd);
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    return read(bytes, document);
}

QString RtfReader::plainText(const QByteArray& rtf) {
    QTextDocument document;
    if (!read(rtf, &document)) {
        return {};
    }
    // The raw text keeps no-break spaces and line separators; paragraphs end in '\n'.
    QString text = document.toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    return text;
}

} // namespace quendal
