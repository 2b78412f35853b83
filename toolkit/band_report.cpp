#include "toolkit/band_report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace quendal {

ReportLabel* ReportBand::label(const QString& name) {
    const auto it = std::find_if(labels.begin(), labels.end(),
                                 [&](const ReportLabel& l) { return l.name == name; });
    return it == labels.end() ? nullptr : &*it;
}

const ReportLabel* ReportBand::label(const QString& name) const {
    const auto it = std::find_if(labels.begin(), labels.end(),
                                 [&](const ReportLabel& l) { return l.name == name; });
    return it == labels.end() ? nullptr : &*it;
}

bool BandReport::setText(const QString& labelName, const QString& text) {
    for (ReportBand* band : {&title_, &pageHeader_, &detail_}) {
        if (ReportLabel* l = band->label(labelName)) {
            l->text = text;
            return true;
        }
    }
    return false;
}

QString BandReport::text(const QString& labelName) const {
    for (const ReportBand* band : {&title_, &pageHeader_, &detail_}) {
        if (const ReportLabel* l = band->label(labelName)) {
            return l->text;
        }
    }
    return {};
}

// Every page starts with the page header; the first page then carries the title band;
// detail rows follow as long as they fit above the bottom margin. A page always takes at
// least one row, so a band taller than the page cannot stall the report.
std::vector<BandReport::Page> BandReport::paginate() const {
    const double bottom = a4HeightMm - marginMm_;
    std::vector<Page> pages;
    Page page;
    page.title = !title_.isEmpty();
    double y = marginMm_ + pageHeader_.heightMm + (page.title ? title_.heightMm : 0.0);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (page.rowCount > 0 && y + detail_.heightMm > bottom + 1e-9) {
            pages.push_back(page);
            page = Page{false, r, 0};
            y = marginMm_ + pageHeader_.heightMm;
        }
        ++page.rowCount;
        y += detail_.heightMm;
    }
    pages.push_back(page);
    return pages;
}

int BandReport::pageCount() const {
    return static_cast<int>(paginate().size());
}

void BandReport::drawBand(QPainter& painter, const ReportBand& band, double topMm,
                          const QStringList* row) const {
    const double dotsPerMm = painter.device()->logicalDpiY() / 25.4;
    const double left = marginMm_ * dotsPerMm;
    const double top = topMm * dotsPerMm;
    if (band.colour) {
        painter.fillRect(
            QRectF(left, top, (a4WidthMm - 2 * marginMm_) * dotsPerMm, band.heightMm * dotsPerMm),
            *band.colour);
    }
    for (const ReportLabel& l : band.labels) {
        QString text = l.text;
        if (row != nullptr && l.field >= 0) {
            text = l.field < row->size() ? row->at(l.field) : QString();
        }
        if (text.isEmpty()) {
            continue;
        }
        QFont font(l.font.family);
        font.setPixelSize(std::max(1, qRound(l.font.pixels * mmPerPixel * dotsPerMm)));
        font.setBold(l.font.bold);
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        const QRectF box(left + l.leftMm * dotsPerMm, top + l.topMm * dotsPerMm,
                         l.widthMm * dotsPerMm, metrics.height());
        const Qt::Alignment horizontal = l.alignment & Qt::AlignHorizontal_Mask;
        painter.drawText(box, static_cast<int>(horizontal | Qt::AlignTop | Qt::TextSingleLine),
                         text);
    }
}

bool BandReport::print(QPagedPaintDevice& device) const {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    painter.setPen(Qt::black);
    const std::vector<Page> pages = paginate();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        double y = marginMm_;
        drawBand(painter, pageHeader_, y, nullptr);
        y += pageHeader_.heightMm;
        if (pages[p].title) {
            drawBand(painter, title_, y, nullptr);
            y += title_.heightMm;
        }
        for (std::size_t r = 0; r < pages[p].rowCount; ++r) {
            drawBand(painter, detail_, y, &rows_[pages[p].firstRow + r]);
            y += detail_.heightMm;
        }
    }
    return painter.end();
}

} // namespace quendal
