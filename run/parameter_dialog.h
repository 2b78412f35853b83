#pragma once
// TParameterDialog, the parameter dialog that opens before every exercise: the version, fixed
// or random target positions, optical or acoustic feedback, the time limit (500 to 5000 ms)
// and the number of rounds (4 to 200, a multiple of 4). One instance lives as long as the
// program and keeps the user's last choices from one start to the next, whichever gate was
// used. Shown modally, it closes with 1 (Start) or 2 (cancel); whenever it closes its number
// fields are put right (FormClose), so the caller reads valid values.

#include "core/records.h"
#include "frame/own_fenster.h"

#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

namespace quendal {

class ImageButton;
class NumberField;
class SpinButton;
class TMeldungDialog;

class TParameterDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 408;
    static constexpr int PanelHeight = 353;

    static constexpr int TimeMin = 500;
    static constexpr int TimeMax = 5000;
    static constexpr int TimeStep = 100;
    static constexpr int TimeDefault = 3000;
    static constexpr int RoundsMin = 4;
    static constexpr int RoundsMax = 200;
    static constexpr int RoundsStep = 4;
    static constexpr int RoundsDefault = 20;

    // The message box is the program's one instance; without it the dialog makes its own
    // when a correction first needs one.
    explicit TParameterDialog(TMeldungDialog* messageBox = nullptr, QWidget* parent = nullptr);

    void setMessageBox(TMeldungDialog* messageBox);

    NumberField* ZeitSpin() const { return ZeitSpin_; }
    SpinButton* ZeitSpinbutton() const { return ZeitSpinbutton_; }
    NumberField* Durchspin() const { return Durchspin_; }
    SpinButton* DurchSpinButton() const { return DurchSpinButton_; }
    // VersionRadio(1) .. VersionRadio(4).
    QRadioButton* VersionRadio(int number) const;
    QRadioButton* PosRadio1() const { return PosRadio1_; }
    QRadioButton* PosRadio2() const { return PosRadio2_; }
    QRadioButton* AntRadio1() const { return AntRadio1_; }
    QRadioButton* AntRadio2() const { return AntRadio2_; }
    QPushButton* HBut1() const { return HBut1_; }

    // On every show: the texts for UiLanguage, the spin buttons take their fields' values,
    // HBut1 takes the focus.
    void FormShow() override;

    // Start (also Enter and HBut1): a round count below 4 becomes 4; a multiple of 4 closes
    // the dialog with 1; any other count is corrected down to a multiple of 4 (at most 200),
    // the user is told, and the dialog stays open.
    void okbuttonClick() override;

    // Whenever the dialog closes: an empty time field becomes 3000 and an empty rounds field
    // 20, values outside a field's range become its nearest bound, and text that is not a
    // number becomes the value it counted as.
    void FormClose();

    void ZeitSpinbuttonChange(int value);
    void DurchSpinButtonChange(int value);

    // Closing runs FormClose first, whichever way the dialog closes.
    void done(int result) override;

  private:
    TMeldungDialog& messageBox();

    QWidget* ppp_;
    QWidget* LMDSimpleLabel2_;
    QWidget* LMDSimpleLabel7_;
    QWidget* LMDSimpleLabel9_;
    QLabel* NL1_;
    QLabel* NL2_;
    QLabel* NL3_;
    QLabel* NL4_;
    QLabel* NL5_;
    std::array<QRadioButton*, 4> VersionRadio_{};
    QRadioButton* PosRadio1_;
    QRadioButton* PosRadio2_;
    QRadioButton* AntRadio1_;
    QRadioButton* AntRadio2_;
    QWidget* SleepPanel_;
    NumberField* ZeitSpin_;
    SpinButton* ZeitSpinbutton_;
    QLabel* LMDSimpleLabel3_;
    QWidget* LMDSimplePanel1_;
    NumberField* Durchspin_;
    SpinButton* DurchSpinButton_;
    ImageButton* okbutton_;
    ImageButton* cancelbutton_;
    QPushButton* HBut1_;
    TMeldungDialog* messageBox_;
    TMeldungDialog* ownMessageBox_ = nullptr;
};

// Step 3 of a gate click, after the dialog closed with 1: stores the choice in `settings`.
// kind 1 colour or 2 number; timeLimitMs and roundCount from the fields; feedback 1 when
// "optisch" is checked, else 2; frameMode 2 (fixed) when "Fest" is checked, else 1; version
// the first checked of VersionRadio1..4, unchanged when none is checked.
void StoreParameterChoice(const TParameterDialog& dialog, int32_t kind, RunSettings& settings);

} // namespace quendal
