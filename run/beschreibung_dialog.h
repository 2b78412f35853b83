#pragma once
// TBeschreibungDialog, the instruction screen: between the parameters and the run it fills
// the play field, framed like the run screen, and says in large letters what will appear in
// the centre and what to do with it; a second line says how to start. The space bar or the
// joystick's button start the run (result 1), Escape goes back (result 2).
//
// Made for one start of an exercise and destroyed after it: exec() shows it for the kind
// and version of RunSettings and returns the result.

#include "frame/joystick_screen.h"

#include <QDialog>

class QLabel;

namespace quendal {

class KeyPreview;

class TBeschreibungDialog : public QDialog, public JoystickScreen {
    Q_OBJECT
  public:
    explicit TBeschreibungDialog(QWidget* parent = nullptr);
    ~TBeschreibungDialog() override;
    TBeschreibungDialog(const TBeschreibungDialog&) = delete;
    TBeschreibungDialog& operator=(const TBeschreibungDialog&) = delete;

    // The instruction of an exercise and the start hint, in a language (1 German, 2 English).
    static QString instructionText(int kind, int version, int uiLanguage);
    static QString startHint(bool joystickCanStart, int uiLanguage);

    // The show handler: pointer hidden, layout, texts of RunSettings and UiLanguage.
    void FormShow();
    // Every key, before the controls: Escape sets result 2, then StartFromInstructions.
    void FormKeyDown(int key);
    // Gives this screen the focus and, for the space bar's code 32, closes it with result 1.
    void StartFromInstructions(int key) override;

    // Closing by the window manager is Escape.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showPointer();

    QWidget* backpanel_;
    QLabel* label1_;
    QLabel* label2_;
    KeyPreview* preview_;
    bool pointerHidden_ = false;
    bool shown_ = false;
    bool hostAttached_ = false;
};

} // namespace quendal
