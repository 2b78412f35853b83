#pragma once
// TStatInfoDialog, the explanation of the statistics: the rich text "stat.rtf" beside the
// program in a read-only view, in both languages the same, with a close button. The text
// never keeps the keyboard focus; a push button hidden under it holds the focus, so Enter,
// Escape and the space bar close the viewer with 1.

#include "frame/own_fenster.h"

class QPushButton;
class QTextEdit;

namespace quendal {

class ImageButton;

class TStatInfoDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 800;
    static constexpr int PanelHeight = 600;

    explicit TStatInfoDialog(QWidget* parent = nullptr);

    QTextEdit* RichEdit() const { return RichEdit_; }
    QPushButton* helpbutton() const { return helpbutton_; }

    // Loads the explanation and the captions and gives the focus to helpbutton; the show
    // handler calls it. A file that cannot be read leaves the text shown before.
    void FormShow() override;

    // ProgramFolder + "DATA/stat.rtf", the folder and file found in any letter case; empty
    // while the program folder is unknown.
    static QString statFilePath();

    // The close button and Escape close the viewer with 1.
    void cancelbuttonClick() override;

  private:
    QWidget* ppp_;
    QPushButton* helpbutton_;
    QTextEdit* RichEdit_;
    ImageButton* okbutton_;
};

} // namespace quendal
