#pragma once
// TFilterDialog, the progress chart: for every stored run that passes the filter by
// exercise and version, a bar of its mean reaction time of correct answers with its standard
// deviation stacked on top, labelled with the run's record number. It covers the record
// numbers 1 to RecordsRead (the overall view sets it) and, in DayListMode, only the runs
// saved today. The chart is redrawn on show and on "Anzeigen" only.

#include "core/message_sink.h"
#include "frame/own_fenster.h"

#include <string>

class QComboBox;
class QLabel;

namespace quendal {

class BarChart;
class ImageButton;

// The program-key part a run must contain to be charted: "-" for every exercise (no
// filter), "V-1" or "V-2" for the colour or number exercise, with the version digit added
// when one is chosen ("V-13"). typeIndex 0..2 and versionIndex 0..4 are the combo indices.
std::string ChartFilterKeyFor(int typeIndex, int versionIndex);

class TFilterDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 640;
    static constexpr int PanelHeight = 460;
    static inline const QColor Series1Colour{140, 158, 242};
    static inline const QColor Series2Colour{134, 242, 202};

    explicit TFilterDialog(MessageSink& messages, QWidget* parent = nullptr);

    // Captions for UiLanguage, both filters back to "alle", and the chart drawn.
    void FormShow() override;
    // Refills the versions for the chosen exercise and selects "alle"; does not redraw.
    void TypComboChange();
    // Draws the chart for the chosen filter.
    void AnzeigenButtonClick();
    // The print of the chart.
    void druckbuttonClick();

    // The last filter drawn (see ChartFilterKeyFor).
    const std::string& ChartFilterKey() const { return ChartFilterKey_; }

    QComboBox* TypCombo() const { return TypCombo_; }
    QComboBox* VersionCombo() const { return VersionCombo_; }
    // Null when the chart module cannot be loaded: the dialog then shows no chart.
    BarChart* Chart1() const { return Chart1_; }
    QLabel* FehlerLabel() const { return FehlerLabel_; }

  private:
    void fillVersions();

    MessageSink& messages_;
    std::string ChartFilterKey_ = "-";
    QWidget* ppp_;
    QLabel* FehlerLabel_;
    QLabel* NL1_;
    QLabel* NL2_;
    QComboBox* TypCombo_;
    QComboBox* VersionCombo_;
    ImageButton* AnzeigenButton_;
    BarChart* Chart1_;
    ImageButton* cancelbutton_;
    ImageButton* druckbutton_;
};

} // namespace quendal
