#include "users/text_eingabe_dialog.h"

#include "core/user_files.h"
#include "frame/dialog_look.h"
#include "toolkit/image_button.h"
#include "toolkit/keys.h"
#include "users/texts.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace quendal {

TTextEingabeDialog::TTextEingabeDialog(QWidget* parent) : TOwnFenster(parent) {
    setObjectName(QStringLiteral("TextEingabeDialog"));
    FormCreate();

    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);
    look::lightBox(ppp_, "Label1", QRect(22, 23, 348, 48));

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);

    NL1_ = new QLabel(ppp_);
    NL1_->setObjectName(QStringLiteral("NL1"));
    NL1_->setGeometry(40, 34, 56, 26);
    NL1_->setFont(font);
    NL1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette labelPalette = NL1_->palette();
    labelPalette.setColor(QPalette::WindowText, look::kText);
    NL1_->setPalette(labelPalette);

    NameEdit_ = new QLineEdit(ppp_);
    NameEdit_->setObjectName(QStringLiteral("NameEdit"));
    NameEdit_->setGeometry(98, 34, 254, 26);
    NameEdit_->setFont(font);
    NameEdit_->setFrame(false);
    NameEdit_->setTextMargins(4, 0, 4, 0);
    // No length limit of its own: the first 50 characters of a longer name are kept.
    NameEdit_->setMaxLength(32767);
    QPalette editPalette = NameEdit_->palette();
    editPalette.setColor(QPalette::Base, Qt::white);
    editPalette.setColor(QPalette::Text, look::kText);
    NameEdit_->setPalette(editPalette);
    NameEdit_->setStyleSheet(
        QStringLiteral("QLineEdit { background: white; border: 1px solid rgb(88, 130, 173); }"));

    okbutton_ = look::dialogButton(ppp_, "okbutton", 57, 84);
    cancelbutton_ = look::dialogButton(ppp_, "cancelbutton", 197, 84);
    connect(okbutton_, &ImageButton::clicked, this, &TTextEingabeDialog::okbuttonClick);
    connect(cancelbutton_, &ImageButton::clicked, this, &TTextEingabeDialog::cancelbuttonClick);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    FormShow();
    centreOnPlayField();
}

QString TTextEingabeDialog::text() const {
    return NameEdit_->text();
}

void TTextEingabeDialog::FormShow() {
    setWindowTitle(texts::pick(texts::texteingabe::caption));
    NL1_->setText(texts::pick(texts::texteingabe::NL1));
    okbutton_->setText(texts::pick(texts::texteingabe::okbutton));
    cancelbutton_->setText(texts::pick(texts::texteingabe::cancelbutton));
    okbutton_->setDown(false);
    cancelbutton_->setDown(false);
    NameEdit_->clear();
    NameEdit_->setFocus();
}

void TTextEingabeDialog::okbuttonClick() {
    const std::string trimmed = trimName(NameEdit_->text().toStdString());
    NameEdit_->setText(QString::fromStdString(trimmed));
    if (nameAccepted(trimmed)) {
        done(ResultOk);
    }
    // A name of nothing but blanks is refused: the dialog stays open for another try.
}

} // namespace quendal
