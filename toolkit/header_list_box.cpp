#include "toolkit/header_list_box.h"

#include <QHeaderView>
#include <QItemSelectionModel>
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
    for (const Column& c : columns) {
        heads.append(c.head);
    }
    model_.setHeads(heads);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        header()->resizeSection(static_cast<int>(i), columns[i].width);
    }
}

void HeaderListBox::setHeadTexts(const QStringList& heads) {
    if (heads.size() != model_.heads().size()) {
        return;
    }
    model_.setHeads(heads);
}

void HeaderListBox::setHeaderHeight(int pixels) {
    header()->setMinimumHeight(pixels);
    header()->setMaximumHeight(pixels);
}

void HeaderListBox::setBodyFont(const QFont& font) {
    // A header font set before stays: Qt passes fonts on only to children without their own.
    setFont(font);
}

void HeaderListBox::setHeaderFont(const QFont& font) {
    header()->setFont(font);
}

void HeaderListBox::setLines(QStringList lines) {
    model_.setLines(std::move(lines));
}

void HeaderListBox::addLine(const QString& line) {
    model_.appendLine(line);
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
