#pragma once
// A small band report drawn with QPainter: an A4 portrait page with margins, a title band
// printed once at the start, a page header band printed at the top of every page, and a
// detail band printed once per table row, breaking to a new page when the next row would
// not fit. Bands carry text labels placed in millimetres from the band's top-left corner.
// Font sizes are pixels at 96 dpi on paper (1 px = 25.4/96 mm), as on the screen.
// The device is drawn from the paper's corner, so it must be set up for the full page
// (QPdfWriter without margins, QPrinter with fullPage), as PrintJob does.

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace quendal {

struct ReportFont {
    QString family = QStringLiteral("Arial");
    double pixels = 13.0;
    bool bold = false;
};

struct ReportLabel {
    QString name;
    double leftMm = 0;
    double topMm = 0;
    double widthMm = 20;
    Qt::Alignment alignment = Qt::AlignLeft;
    ReportFont font;
    QString text;
    // In the detail band: the column of the row whose text the label shows; -1 for the
    // label's own text.
    int field = -1;
};

struct ReportBand {
    double heightMm = 0;
    std::optional<QColor> colour; // filled behind the labels when set
    std::vector<ReportLabel> labels;

    bool isEmpty() const { return heightMm <= 0 && labels.empty(); }
    // The label of that name, or nullptr.
    ReportLabel* label(const QString& name);
    const ReportLabel* label(const QString& name) const;
};

class BandReport {
  public:
    static constexpr double mmPerPixel = 25.4 / 96.0;
    static constexpr double a4WidthMm = 210.0;
    static constexpr double a4HeightMm = 297.0;

    void setMarginsMm(double margin) { marginMm_ = margin; }
    double marginsMm() const { return marginMm_; }

    ReportBand& titleBand() { return title_; }
    ReportBand& pageHeaderBand() { return pageHeader_; }
    ReportBand& detailBand() { return detail_; }

    // Sets the text of the label of that name in any band; false when there is none.
    bool setText(const QString& labelName, const QString& text);
    QString text(const QString& labelName) const;

    // The rows the detail band repeats over, one list of field texts per row.
    void setRows(std::vector<QStringList> rows) { rows_ = std::move(rows); }
    const std::vector<QStringList>& rows() const { return rows_; }

    // The number of pages the report takes.
    int pageCount() const;
    // Draws the whole report on the device, A4 portrait; false when it cannot be drawn.
    bool print(QPagedPaintDevice& device) const;

  private:
    struct Page {
        bool title = false;
        std::size_t firstRow = 0;
        std::size_t rowCount = 0;
    };
    std::vector<Page> paginate() const;
    void drawBand(QPainter& painter, const ReportBand& band, double topMm,
                  const QStringList* row) const;

    double marginMm_ = 15.0;
    ReportBand title_;
    ReportBand pageHeader_;
    ReportBand detail_;
    std::vector<QStringList> rows_;
};

} // namespace quendal
