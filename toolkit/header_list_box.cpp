#include "toolkit/header_list_box.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <utility>

namespace quendal {

LineTableModel::LineTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void LineTableModel::setHeads(const QStringList& heads) {
    if (heads.size() == heads_.size()) {
        heads_ = heads;
        if (!heads_.isEmpty()) {
            emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(heads_.size()) - 1);
        }
        return;
    }
    beginResetModel();
    heads_ = heads;
    endResetModel();
}

void LineTableModel::setLines(QStringList lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

void LineTableModel::appendLine(const QString& line) {
    const int row = static_cast<int>(lines_.size());
    beginInsertRows({}, row, row);
    lines_.append(line);
    endInsertRows();
}

QString LineTableModel::field(const QString& line, int column, int columnCount) {
    qsizetype start = 0;
    for (int c = 0; c < column; ++c) {
        const qsizetype sep = line.indexOf(u';', start);
        if (sep < 0) {
            return {};
        }
        start = sep + 1;
    }
    if (column == columnCount - 1) {
        return line.mid(start);
    }
    const qsizetype end = line.indexOf(u';', start);
    return end < 0 ? line.mid(start) : line.mid(start, end - start);
}

int LineTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int LineTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(heads_.size());
}

QVariant LineTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lines_.size()) {
        return {};
    }
    return field(lines_.at(index.row()), index.column(), static_cast<int>(heads_.size()));
}

QVariant LineTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= heads_.size()) {
        return {};
    }
    return heads_.at(section);
}

HeaderListBox::HeaderListBox(QWidget* parent) : QTreeView(parent) {
    setModel(&model_);
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the columns always fit
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setHighlightSections(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A flat header: plain sections divided by thin lines, no raised buttons.
    header()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: palette(button); border: none;"
        " border-right: 1px solid palette(mid); border-bottom: 1px solid palette(mid);"
        " padding: 0px 3px; }"));
    connect(this, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit lineDoubleClicked(index.row());
        }
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& /*previous*/) {
                emit currentRowChanged(current.isValid() ? current.row() : -1);
            });
}

void HeaderListBox::setColumns(const std::vector<Column>& columns) {
    QStringList heads;
    designWidths_.clear();
    widest_.clear();
    for (const Column& c : columns) {
        heads.append(c.head);
        designWidths_.push_back(std::max(1, c.width));
        widest_.append(c.widest);
    }
    model_.setHeads(heads);
    spanLinesWithoutFields(0);
    fitColumns();
}

int HeaderListBox::designWidth(int column) const {
    return column >= 0 && column < static_cast<int>(designWidths_.size())
               ? designWidths_[static_cast<std::size_t>(column)]
               : 0;
}

void HeaderListBox::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    fitColumns();
    // A list made smaller keeps its selected line in view.
    if (currentIndex().isValid()) {
        scrollTo(currentIndex());
    }
}

double HeaderListBox::minimumWidth(int column) const {
    // The header's sections are padded by 3 pixels on each side and end in a 1-pixel line; an
    // item's text keeps the focus frame's margin and one pixel on each side.
    const double head =
        QFontMetricsF(header()->font()).horizontalAdvance(model_.heads().value(column)) + 7;
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QString& widest = widest_.at(column);
    const double text =
        widest.isEmpty() ? 0.0 : QFontMetricsF(font()).horizontalAdvance(widest) + 2 * margin;
    return std::ceil(std::max(head, text));
}

// The columns take the visible width in the proportions of their given widths; a column that
// would be too narrow takes its minimum and the rest share what is left, until none is. Each
// column ends where its share ends, rounded, so together they fill the width exactly.
void HeaderListBox::fitColumns() {
    const int available = viewport()->width();
    const auto count = static_cast<int>(designWidths_.size());
    if (count == 0 || available <= 0) {
        return;
    }
    std::vector<double> minimum(static_cast<std::size_t>(count));
    double minimumSum = 0;
    for (int i = 0; i < count; ++i) {
        minimum[static_cast<std::size_t>(i)] = minimumWidth(i);
        minimumSum += minimum[static_cast<std::size_t>(i)];
    }
    std::vector<bool> fixed(static_cast<std::size_t>(count), false);
    std::vector<double> width(static_cast<std::size_t>(count));
    for (bool changed = true; changed;) {
        changed = false;
        double space = available;
        double shares = 0;
        for (int i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (fixed[k]) {
                space -= minimum[k];
            } else {
                shares += designWidths_[k];
            }
        }
        for (int i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            width[k] = fixed[k] ? minimum[k] : designWidths_[k] * space / shares;
            // Where the list is too narrow for every minimum, the proportions alone decide.
            if (!fixed[k] && width[k] < minimum[k] && minimumSum <= available) {
                fixed[k] = true;
                changed = true;
            }
        }
    }
    double edge = 0;
    int left = 0;
    for (int i = 0; i < count; ++i) {
        edge += width[static_cast<std::size_t>(i)];
        const int right = i == count - 1 ? available : static_cast<int>(std::lround(edge));
        if (header()->sectionSize(i) != right - left) {
            header()->resizeSection(i, right - left);
        }
        left = right;
    }
}

// A line without any field separator (the data-error line) is one text for the whole row.
void HeaderListBox::spanLinesWithoutFields(int first) {
    const QStringList& lines = model_.lines();
    for (qsizetype row = first; row < lines.size(); ++row) {
        if (!lines.at(row).contains(u';')) {
            setFirstColumnSpanned(static_cast<int>(row), QModelIndex(), true);
        }
    }
}

void HeaderListBox::setHeadTexts(const QStringList& heads) {
    if (heads.size() != model_.heads().size()) {
        return;
    }
    model_.setHeads(heads);
    fitColumns();
}

void HeaderListBox::setHeaderHeight(int pixels) {
    header()->setMinimumHeight(pixels);
    header()->setMaximumHeight(pixels);
}

void HeaderListBox::setBodyFont(const QFont& font) {
    // A header font set before stays: Qt passes fonts on only to children without their own.
    setFont(font);
    fitColumns();
}

void HeaderListBox::setHeaderFont(const QFont& font) {
    header()->setFont(font);
    fitColumns();
}

void HeaderListBox::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitColumns();
    }
}

void HeaderListBox::setLines(QStringList lines) {
    model_.setLines(std::move(lines));
    spanLinesWithoutFields(0);
}

void HeaderListBox::addLine(const QString& line) {
    model_.appendLine(line);
    spanLinesWithoutFields(lineCount() - 1);
}

void HeaderListBox::clear() {
    model_.setLines({});
}

int HeaderListBox::lineCount() const {
    return model_.rowCount();
}

QString HeaderListBox::line(int row) const {
    return row >= 0 && row < lineCount() ? model_.lines().at(row) : QString();
}

QString HeaderListBox::field(int row, int column) const {
    if (row < 0 || row >= lineCount() || column < 0 || column >= model_.columnCount()) {
        return {};
    }
    return LineTableModel::field(model_.lines().at(row), column, model_.columnCount());
}

int HeaderListBox::currentRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void HeaderListBox::setCurrentRow(int row) {
    if (row < 0) {
        selectionModel()->clear();
        return;
    }
    if (row >= lineCount()) {
        return;
    }
    const QModelIndex index = model_.index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

} // namespace quendal
