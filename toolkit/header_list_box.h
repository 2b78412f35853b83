#pragma once
// A list box with a header: each line is a text whose ';'-separated fields fill the columns
// from the left. A line with fewer fields leaves the rest of its columns empty; a line
// without any ';' ("Datenfehler") stands whole across the row; the last column keeps
// whatever follows its separator, further ';' included, so no text is lost. The lines live
// in one model that is reset in one go, so ten thousand lines and more fill at once.
//
// The columns share the list's width in the proportions of their given widths, whatever the
// list's size and whether its vertical scroll bar shows, so no horizontal scroll bar is ever
// needed. A column never becomes too narrow for its head or for the widest text it was told
// to keep whole (while the list is wide enough for all of them); the others then share what
// is left, still in their proportions.

#include <QAbstractTableModel>
#include <QFont>
#include <QStringList>
#include <QTreeView>
#include <vector>

namespace quendal {

// The lines of a HeaderListBox as a table model; fields are split out only when drawn.
class LineTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit LineTableModel(QObject* parent = nullptr);

    void setHeads(const QStringList& heads);
    const QStringList& heads() const { return heads_; }
    void setLines(QStringList lines);
    void appendLine(const QString& line);
    const QStringList& lines() const { return lines_; }
    // The text of column `column` of a line, as described at the top of this file.
    static QString field(const QString& line, int column, int columnCount);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QStringList heads_;
    QStringList lines_;
};

class HeaderListBox : public QTreeView {
    Q_OBJECT
  public:
    struct Column {
        QString head;
        int width = 50;
        QString widest = {}; // a text of its fields that must stay whole (e.g. a date)
    };

    explicit HeaderListBox(QWidget* parent = nullptr);

    // The columns from the left, with their widths in pixels (their proportions); the lines
    // stay.
    void setColumns(const std::vector<Column>& columns);
    // The width a column was given.
    int designWidth(int column) const;
    // New head texts for the existing columns (the interface language changed).
    void setHeadTexts(const QStringList& heads);
    QStringList headTexts() const { return model_.heads(); }

    void setHeaderHeight(int pixels);
    void setBodyFont(const QFont& font);
    void setHeaderFont(const QFont& font);

    // Replaces every line at once; no line is selected afterwards.
    void setLines(QStringList lines);
    void addLine(const QString& line);
    void clear();
    int lineCount() const;
    QString line(int row) const;
    QString field(int row, int column) const;

    // The selected line, or -1 when none is; setting -1 clears the selection, a row outside
    // the list is ignored.
    int currentRow() const;
    void setCurrentRow(int row);

  signals:
    void lineDoubleClicked(int row);
    void currentRowChanged(int row);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void fitColumns();
    void spanLinesWithoutFields(int first);

    // The narrowest a column may become: its head and its widest text whole.
    double minimumWidth(int column) const;

    LineTableModel model_;
    std::vector<int> designWidths_;
    QStringList widest_;
};

} // namespace quendal
