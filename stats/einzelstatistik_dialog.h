#pragma once
// TEinzelstatistikDialog, the single statistics view: the statistics of the current
// ResultRecord as a table of eight rows (correct, their mean and deviation, wrong, their mean
// and deviation, interference, eliminated) and five columns (all rounds, then one per target
// colour or number). It only displays; the numbers are those ComputeRunStatistics left in the
// record. One instance is made at start-up and refilled on every show.

#include "frame/own_fenster.h"

#include <array>
#include <functional>
#include <string>

class QLabel;

namespace quendal {

class ImageButton;
class MessageSink;
class TStatInfoDialog;

class TEinzelstatistikDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 638;
    static constexpr int PanelHeight = 430;
    static constexpr int Rows = 8;
    static constexpr int Columns = 5;

    // The explanation viewer is the program's one instance; without it the view makes its
    // own when "Erklärung" is first pressed.
    explicit TEinzelstatistikDialog(TStatInfoDialog* statInfo = nullptr, QWidget* parent = nullptr);

    void setStatInfoDialog(TStatInfoDialog* statInfo);

    // What "Drucken" / "Print" and Enter do: the print of the table, once printing exists.
    // Without a handler the button does nothing and the view stays open.
    void setPrintHandler(std::function<void()> handler) { print_ = std::move(handler); }

    // The value cell of a row (0..7) and column (0..4): ri0 .. el4.
    QLabel* cell(int row, int column) const;
    // The column heads Color0 .. Color4 and the row heads z1 .. z8 (by index 0..7).
    QLabel* columnHead(int column) const;
    QLabel* rowHead(int row) const;

    // On every show: the captions for UiLanguage, the column heads by the kind of exercise of
    // the current record, and the 40 values of its statistics.
    void FormShow() override;

    // "Drucken" / "Print", also Enter: hands over to the print handler.
    void okbuttonClick() override;
    // "Erklärung": the explanation viewer, modally.
    void ErklButtonClick();

    // The heads of columns 1..4 for a program key: the colour names when its third character
    // is the digit 1, the number names for any other digit; "1".."4" when the third or the
    // fourth character is not a digit (only a hand-edited result file gives such a key).
    enum class HeadKind { Colour, Number, Plain };
    static HeadKind headKind(const std::string& prtkey);

  private:
    TStatInfoDialog& statInfo();

    QWidget* ppp_;
    QWidget* LMDSimpleLabel2_;
    std::array<QLabel*, Columns> Color_{};
    std::array<QLabel*, Rows> z_{};
    std::array<std::array<QLabel*, Columns>, Rows> cells_{};
    ImageButton* ErklButton_;
    ImageButton* okbutton_;
    ImageButton* cancelbutton_;
    TStatInfoDialog* statInfo_;
    TStatInfoDialog* ownStatInfo_ = nullptr;
    std::function<void()> print_;
};

// The main window's "Einzelstatistik" button: before the first run of the logged-in user the
// message "Der aktuelle Benutzer hat noch keinen Durchgang absolviert." and nothing else;
// otherwise the view of the current record (its statistics are not computed again), and
// after it has closed the save step, which appends a run that still waits for it.
void EinzelstatistikbuttonClick(TEinzelstatistikDialog& view, MessageSink& messages);

} // namespace quendal
