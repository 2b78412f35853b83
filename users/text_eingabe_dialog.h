#pragma once
// TTextEingabeDialog, the name entry dialog: a framed dialog that asks for the name of a user
// tag. The caller shows it modally and, after it closed with 1 (OK), reads the trimmed name
// from NameEdit.

#include "frame/own_fenster.h"

class QLabel;
class QLineEdit;

namespace quendal {

class ImageButton;

class TTextEingabeDialog : public TOwnFenster {
    Q_OBJECT
  public:
    // The content panel's size.
    static constexpr int PanelWidth = 392;
    static constexpr int PanelHeight = 130;

    explicit TTextEingabeDialog(QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return NameEdit_; }
    // The text of NameEdit.
    QString text() const;

    // Sets the captions for UiLanguage and empties NameEdit; the show handler calls it.
    void FormShow() override;

    // OK (also Enter): trims NameEdit and closes with 1 unless nothing is left. Cancel and
    // Escape close with 2.
    void okbuttonClick() override;

  private:
    QWidget* ppp_;
    QLabel* NL1_;
    QLineEdit* NameEdit_;
    ImageButton* okbutton_;
    ImageButton* cancelbutton_;
};

} // namespace quendal
