#pragma once
// TMeldungDialog, the program's message box: a framed dialog with a text and either one OK
// button or a Yes/No pair in the interface language. One instance is made at start-up and
// reused for every message; Meldungsfenster sets everything anew each time.

#include "frame/own_fenster.h"

class QLabel;
class QWidget;

namespace quendal {

class ImageButton;

class TMeldungDialog : public TOwnFenster {
    Q_OBJECT
  public:
    explicit TMeldungDialog(QWidget* parent = nullptr);

    // Shows text under caption, modally, with room for `lines` lines of text (the box does not
    // measure the text). Returns 6 for Yes, 2 for No, OK or the close box.
    int Meldungsfenster(const QString& text, const QString& caption, bool yesNo, bool centred,
                        int lines);

    // Lays the box out for a message without showing it; Meldungsfenster does this first.
    void prepare(const QString& text, const QString& caption, bool yesNo, bool centred, int lines);

    void jabuttonClick();
    void neinbuttonClick();

  protected:
    bool FormKeyDown(int key) override;
    bool FormKeyPress(QChar key) override;

  private:
    QWidget* ppp_;
    QLabel* L1_;
    QLabel* L2_;
    QLabel* L3_;
    QLabel* Textfeld_;
    QWidget* UPanel_;
    ImageButton* jabutton_;
    ImageButton* neinbutton_;
};

} // namespace quendal
