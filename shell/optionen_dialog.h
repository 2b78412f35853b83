#pragma once
// TOptionenDialog, the options dialog: one check box, whether the joystick is used, and two
// buttons. The names of the buttons are the reverse of their roles: the left one,
// cancelbutton, confirms (1); the right one, okbutton, cancels (2).

#include "shell/own_fenster.h"

class QCheckBox;
class QLabel;

namespace quendal {

class ImageButton;
class KeyPreview;

class TOptionenDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 392;
    static constexpr int PanelHeight = 160;

    explicit TOptionenDialog(QWidget* parent = nullptr);

    QCheckBox* Joycheck() const { return Joycheck_; }

    // Centres the dialog and sets the captions for UiLanguage; the show handler calls it.
    void FormShow();

    void okbuttonClick();     // result 1, the left button "OK"
    void cancelbuttonClick(); // result 2, the right button "Abbrechen" / "Cancel"

  protected:
    void showEvent(QShowEvent* event) override;
    bool FormKeyDown(int key) override;

  private:
    QWidget* ppp_;
    QLabel* Label1_;
    QCheckBox* Joycheck_;
    ImageButton* cancelbutton_;
    ImageButton* okbutton_;
    KeyPreview* preview_;
};

// The main window's options button: shows the dialog with the stored choice and applies it
// when the dialog is confirmed. Without a joystick the check box is disabled for good but
// still shows the choice.
void EinstellungenbuttonClick(TOptionenDialog& dialog);

} // namespace quendal
