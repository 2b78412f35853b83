#pragma once
// THilfeDialog, the help viewer: the help text of the interface language in a read-only
// rich-text view, the release date and a close button. The text never keeps the keyboard
// focus; a push button hidden under it holds the focus, so Enter, Escape and the space bar
// close the viewer. F11 shows the data folder in the message box.

#include "frame/own_fenster.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace quendal {

class ImageButton;
class TMeldungDialog;

class THilfeDialog : public TOwnFenster {
    Q_OBJECT
  public:
    static constexpr int PanelWidth = 630;
    static constexpr int PanelHeight = 460;

    // The message box is the program's one instance; without it the viewer makes its own
    // when F11 first asks for one.
    explicit THilfeDialog(TMeldungDialog* messageBox = nullptr, QWidget* parent = nullptr);

    void setMessageBox(TMeldungDialog* messageBox);

    QTextEdit* RichEdit() const { return RichEdit_; }
    QPushButton* helpbutton() const { return helpbutton_; }

    // Centres the viewer, loads the help text and the captions for UiLanguage and gives the
    // focus to helpbutton; the show handler calls it.
    void FormShow() override;

    // The help text of a language: ProgramFolder + "DATA/" + "hilfe.rtf" or "ehilfe.rtf";
    // empty while the program folder is unknown.
    static QString helpFilePath(int uiLanguage);

    // Both the close button and Escape close the viewer with 1.
    void cancelbuttonClick() override;

  protected:
    bool FormKeyDown(int key) override;

  private:
    void showDataFolder();

    QWidget* ppp_;
    QPushButton* helpbutton_;
    QTextEdit* RichEdit_;
    ImageButton* okbutton_;
    QLabel* VersionLabel_;
    TMeldungDialog* messageBox_;
    TMeldungDialog* ownMessageBox_ = nullptr;
};

} // namespace quendal
