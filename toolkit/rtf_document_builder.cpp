#include "toolkit/rtf_document_builder.h"

#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

namespace quendal::rtf {
namespace {

// 1440 twips make an inch of 96 pixels.
constexpr double kTwipsPerPixel = 15.0;

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument* document)
    : document_(document), cursor_(document) {}

void DocumentBuilder::begin() {
    document_->clear();
    cursor_ = QTextCursor(document_);
    cursor_.beginEditBlock();
}

void DocumentBuilder::finish(const ParaState& para) {
    flushText();
    applyParagraph(para);
    cursor_.endEditBlock();
}

void DocumentBuilder::addText(const QString& text, const CharState& chars) {
    if (!pending_.isEmpty() && !(pendingChars_ == chars)) {
        flushText();
    }
    pendingChars_ = chars;
    pending_ += text;
}

void DocumentBuilder::endParagraph(const ParaState& para) {
    flushText();
    applyParagraph(para);
    cursor_.insertBlock();
}

void DocumentBuilder::addFont(int number, const QString& name) {
    fonts_.insert(number, name);
}

void DocumentBuilder::setDefaultFont(int number) {
    defaultFont_ = number;
}

void DocumentBuilder::addColour(const QColor& colour) {
    colours_.push_back(colour);
}

void DocumentBuilder::flushText() {
    if (pending_.isEmpty()) {
        return;
    }
    cursor_.insertText(pending_, charFormat(pendingChars_));
    pending_.clear();
}

QTextCharFormat DocumentBuilder::charFormat(const CharState& ch) const {
    QTextCharFormat f;
    const QString family = fonts_.value(ch.font < 0 ? defaultFont_ : ch.font);
    if (!family.isEmpty()) {
        f.setFontFamilies({family});
    }
    if (ch.halfPoints > 0) {
        f.setFontPointSize(ch.halfPoints / 2.0);
    }
    f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(ch.italic);
    f.setFontUnderline(ch.underline);
    f.setFontStrikeOut(ch.strike);
    if (ch.colour > 0 && ch.colour < colours_.size() && colours_[ch.colour].isValid()) {
        f.setForeground(colours_[ch.colour]);
    }
    if (ch.background > 0 && ch.background < colours_.size() && colours_[ch.background].isValid()) {
        f.setBackground(colours_[ch.background]);
    }
    if (ch.vertical == 1) {
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (ch.vertical == 2) {
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    return f;
}

void DocumentBuilder::applyParagraph(const ParaState& p) {
    QTextBlockFormat f;
    f.setAlignment(p.alignment);
    f.setLeftMargin(p.leftIndent / kTwipsPerPixel);
    f.setRightMargin(p.rightIndent / kTwipsPerPixel);
    f.setTextIndent(p.firstIndent / kTwipsPerPixel);
    f.setTopMargin(p.spaceBefore / kTwipsPerPixel);
    f.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0) {
            // 240 stands for single spacing; more than five lines apart is nonsense.
            f.setLineHeight(std::min(p.lineSpacing * 100.0 / 240.0, 500.0),
                            QTextBlockFormat::ProportionalHeight);
        } else if (p.lineSpacing > 0) {
            f.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        } else {
            f.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
        }
    }
    // A hanging first line (a bullet, a term) tabs to the left indent, as in word
    // processors, when no tab stop comes before it.
    QList<int> stops = p.tabStops;
    if (p.firstIndent < 0 && p.leftIndent > 0 &&
        std::none_of(stops.begin(), stops.end(), [&](int s) { return s <= p.leftIndent; })) {
        stops.prepend(p.leftIndent);
    }
    // Tab stops count from the margin; the view counts them from where the line starts.
    const int lineStart = p.leftIndent + p.firstIndent;
    QList<QTextOption::Tab> tabs;
    for (int stop : stops) {
        if (stop > lineStart) {
            tabs.append(
                QTextOption::Tab((stop - lineStart) / kTwipsPerPixel, QTextOption::LeftTab));
        }
    }
    if (!tabs.isEmpty()) {
        f.setTabPositions(tabs);
    }
    cursor_.setBlockFormat(f);
}

} // namespace quendal::rtf
