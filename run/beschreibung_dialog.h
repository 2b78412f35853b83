#pragma once
// TBeschreibungDialog, the instruction screen: between the parameter dialog and the run it
// fills the play field and tells, in large letters, what will appear in the centre and what
// to do with it; a second line says how to start. The space bar or the joystick button closes
// it with 1 (start the run), Escape with 2 (back to the main window). The mouse pointer is
// hidden while it is shown.

#include "frame/joystick_screen.h"

#include <QDialog>

class QLabel;

namespace quendal {

class KeyPreview;

class TBeschreibungDialog : public QDialog, public JoystickScreen {
    Q_OBJECT
  public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    explicit TBeschreibungDialog(QWidget* parent = nullptr);
    ~TBeschreibungDialog() override;
    TBeschreibungDialog(const TBeschreibungDialog&) = delete;
    TBeschreibungDialog& operator=(const TBeschreibungDialog&) = delete;

    // The point size of the instruction text by the play field's width: up to 660 pixels 12,
    // up to 820 16, up to 1060 22, wider 26.
    static int instructionPointSize(int playWidth);
    // The start hint's size: a quarter (rounded down) smaller than the instruction text's.
    static int hintPointSize(int playWidth);

    // The show handler: covers the play field, lays out the panel and the two texts and sets
    // the texts of the exercise in RunSettings and of the interface language.
    void FormShow();
    // Every key, before any control: Escape closes with 2, then StartFromInstructions.
    void FormKeyDown(int key);
    // Gives this screen the focus and closes it with 1 when the code is the space bar's 32.
    void StartFromInstructions(int key) override;

    QWidget* backpanel = nullptr;
    QLabel* label1 = nullptr;
    QLabel* label2 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Shows the pointer again and lets the joystick rest, once for every show.
    void leaveScreen();

    KeyPreview* preview_ = nullptr;
    bool shown_ = false;
    bool hostAttached_ = false;
};

} // namespace quendal
