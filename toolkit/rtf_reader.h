#pragma once
// Reads rich text as word processors write it into a QTextDocument: fonts and colours from
// their tables, bold, italic, underline, strike-through, sizes, super- and subscript,
// paragraphs with alignment, indents and spacing, line breaks, tabs, the escapes of special
// characters, Windows-1252 bytes and Unicode characters. Pictures, styles, document
// information and every other destination the reader does not know are skipped. Any input
// is read in one pass: bad input gives odd text, never a crash or a hang. The work is
// bounded, so that a screen showing a text stays responsive whatever file it is given: a
// document takes at most kMaxCharacters, and of a file only its first kMaxFileBytes count.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace quendal {

class RtfReader {
  public:
    // Groups nested deeper than this are read as if they were skipped destinations.
    static constexpr int kMaxGroupDepth = 200;
    // A help text is some ten thousand characters; a document ends after this many (about
    // two hundred and fifty printed pages), the rest of the rich text unread.
    static constexpr qsizetype kMaxCharacters = 500'000;
    // Of a longer file only the beginning is read.
    static constexpr qint64 kMaxFileBytes = qint64{4} * 1024 * 1024;

    // Replaces the document's content with the rich text. Returns false, leaving the
    // document untouched, when the bytes do not begin with "{\rtf".
    static bool read(const QByteArray& rtf, QTextDocument* document);

    // The same for a file (its first kMaxFileBytes); false when it cannot be read, is not a
    // regular file (a named pipe there is never waited on) or is no rich text.
    static bool readFile(const QString& path, QTextDocument* document);

    // The text of rich text without formatting, paragraphs separated by '\n', special
    // characters such as no-break spaces and line separators kept (for tests and searching).
    static QString plainText(const QByteArray& rtf);
};

} // namespace quendal
