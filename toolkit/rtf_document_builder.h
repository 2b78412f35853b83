#pragma once
// The writing half of the rich-text reader: runs of text with their character state and
// paragraphs with their paragraph state go into a QTextDocument, with the fonts and colours
// of the text's tables. The reading half (rtf_reader.cpp) decides what is text and in which
// state it stands.

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextCursor>
#include <QVector>

class QTextCharFormat;
class QTextDocument;

namespace quendal::rtf {

struct CharState {
    int font = -1;      // -1: the document's default font
    int halfPoints = 0; // 0: the view's own size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int colour = 0;     // index into the colour table; 0 is the automatic colour
    int background = 0; // likewise
    int vertical = 0;   // 0 normal, 1 superscript, 2 subscript
    friend bool operator==(const CharState&, const CharState&) = default;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // all in twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    QList<int> tabStops; // twips from the left margin
    int lineSpacing = 0; // 0 single; in twips, or in 240ths of a line with slmult 1
    bool lineMultiple = false;
};

class DocumentBuilder {
  public:
    explicit DocumentBuilder(QTextDocument* document);

    // Empties the document and opens one edit block for everything that follows.
    void begin();
    // Ends the last paragraph with para and closes the edit block.
    void finish(const ParaState& para);

    // Text in the state chars; text of one state is inserted in one piece.
    void addText(const QString& text, const CharState& chars);
    // Ends the current paragraph with para and starts the next.
    void endParagraph(const ParaState& para);

    void addFont(int number, const QString& name);
    void setDefaultFont(int number);
    // The next entry of the colour table; an invalid colour is the automatic one.
    void addColour(const QColor& colour);

  private:
    void flushText();
    QTextCharFormat charFormat(const CharState& ch) const;
    void applyParagraph(const ParaState& p);

    QTextDocument* document_;
    QTextCursor cursor_;
    QString pending_;
    CharState pendingChars_;
    QHash<int, QString> fonts_;
    int defaultFont_ = 0;
    QVector<QColor> colours_;
};

} // namespace quendal::rtf
