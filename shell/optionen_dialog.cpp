#include "shell/optionen_dialog.h"

#include "core/program_state.h"
#include "frame/dialog_look.h"
#include "toolkit/image_button.h"
#include "toolkit/keys.h"
#include "users/texts.h"

#include <QCheckBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>

namespace quendal {

TOptionenDialog::TOptionenDialog(QWidget* parent) : TOwnFenster(parent) {
    setObjectName(QStringLiteral("OptionenDialog"));
    FormCreate();

    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);

    Label1_ = new QLabel(ppp_);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(22, 23, 348, 75);
    look::fill(Label1_, look::kLight);

    Joycheck_ = new QCheckBox(ppp_);
    Joycheck_->setObjectName(QStringLiteral("Joycheck"));
    Joycheck_->setGeometry(106, 58, 192, 17);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    Joycheck_->setFont(font);
    QPalette palette = Joycheck_->palette();
    palette.setColor(QPalette::WindowText, look::kText);
    Joycheck_->setPalette(palette);
    // The light box Label1 lies behind it; a background of its own would show as a grey band.
    Joycheck_->setAutoFillBackground(false);

    cancelbutton_ = look::dialogButton(ppp_, "cancelbutton", 57, 113);
    okbutton_ = look::dialogButton(ppp_, "okbutton", 197, 113);
    cancelbutton_->setText(texts::pick(texts::optionen::cancelbutton));
    connect(cancelbutton_, &ImageButton::clicked, this, &TOptionenDialog::okbuttonClick);
    connect(okbutton_, &ImageButton::clicked, this, &TOptionenDialog::cancelbuttonClick);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    FormShow();
}

void TOptionenDialog::FormShow() {
    centreOnPlayField();
    setWindowTitle(texts::pick(texts::optionen::caption));
    Joycheck_->setText(texts::pick(texts::optionen::Joycheck));
    cancelbutton_->setText(texts::pick(texts::optionen::cancelbutton));
    okbutton_->setText(texts::pick(texts::optionen::okbutton));
    cancelbutton_->setDown(false);
    okbutton_->setDown(false);
}

void EinstellungenbuttonClick(TOptionenDialog& dialog) {
    OptionsRecord& options = programState().options;
    dialog.Joycheck()->setChecked(options.JoystickUse == 1);
    if (!programState().JoystickPresent) {
        dialog.Joycheck()->setEnabled(false);
    }
    if (dialog.exec() != TOwnFenster::ResultOk) {
        return;
    }
    options.JoystickUse = dialog.Joycheck()->isChecked() ? 1 : 0;
}

} // namespace quendal
