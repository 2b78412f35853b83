#pragma once
// TOptionenDialog, the options dialog: one check box, whether the joystick is used, and two
// buttons. The names of the buttons are the reverse of their roles: the left one,
// cancelbutton, confirms (1); the right one, okbutton, cancels (2).

#include "frame/own_fenster.h"

class QCheckBox;
class QLabel;

namespace quendal {

class ImageButton;

class TOptionenDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 392;
    static constexpr int PanelHeight = 160;

    explicit TOptionenDialog(QWidget* parent = nullptr);

    QCheckBox* Joycheck() const { return Joycheck_; }

    // Sets the captions for UiLanguage on every show. The left button "OK" runs
    // okbuttonClick (result 1), the right one "Abbrechen" / "Cancel" cancelbuttonClick (2).
    void FormShow() override;

  private:
    QWidget* ppp_;
    QLabel* Label1_;
    QCheckBox* Joycheck_;
    ImageButton* cancelbutton_;
    ImageButton* okbutton_;
};

// The main window's options button: shows the dialog with the stored choice and applies it
// when the dialog is confirmed. Without a joystick the check box is disabled for good but
// still shows the choice.
void EinstellungenbuttonClick(TOptionenDialog& dialog);

} // namespace quendal
