#include "shell/hilfe_dialog.h"

#include "core/folders.h"
#include "core/language.h"
#include "core/program_state.h"
#include "frame/dialog_look.h"
#include "frame/meldung_dialog.h"
#include "toolkit/image_button.h"
#include "toolkit/keys.h"
#include "toolkit/rtf_reader.h"
#include "users/texts.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

namespace quendal {

THilfeDialog::THilfeDialog(TMeldungDialog* messageBox, QWidget* parent)
    : TOwnFenster(parent), messageBox_(messageBox) {
    setObjectName(QStringLiteral("HilfeDialog"));
    FormCreate();

    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);

    // Made first, so it lies under the text and is never seen; it holds the keyboard focus.
    helpbutton_ = new QPushButton(ppp_);
    helpbutton_->setObjectName(QStringLiteral("helpbutton"));
    helpbutton_->setGeometry(38, 31, 67, 41);
    helpbutton_->setText(texts::pick(texts::hilfe::helpbutton));
    connect(helpbutton_, &QPushButton::clicked, this, [this] { done(ResultOk); });

    RichEdit_ = look::textView(ppp_, "RichEdit", QRect(21, 23, 588, 386), helpbutton_);

    okbutton_ = look::dialogButton(ppp_, "okbutton", 246, 417);
    connect(okbutton_, &ImageButton::clicked, this, &THilfeDialog::cancelbuttonClick);

    VersionLabel_ = new QLabel(ppp_);
    VersionLabel_->setObjectName(QStringLiteral("VersionLabel"));
    VersionLabel_->setGeometry(400, 423, 208, 23);
    VersionLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPixelSize(12);
    VersionLabel_->setFont(versionFont);
    QPalette versionPalette = VersionLabel_->palette();
    versionPalette.setColor(QPalette::WindowText, look::kLight);
    VersionLabel_->setPalette(versionPalette);
    look::fill(VersionLabel_, look::kPanel);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    centreOnPlayField();
}

void THilfeDialog::setMessageBox(TMeldungDialog* messageBox) {
    messageBox_ = messageBox;
}

QString THilfeDialog::helpFilePath(int uiLanguage) {
    const std::string& programFolder = programState().ProgramFolder;
    if (programFolder.empty()) {
        return {}; // never read help from the working folder
    }
    const std::string data = programDataFolder(programFolder);
    return QString::fromStdString(resolveNoCase(data, languageFiles(uiLanguage).helpText));
}

void THilfeDialog::FormShow() {
    centreOnPlayField();
    VersionLabel_->setText(texts::pick(texts::hilfe::VersionLabel));
    const QString path = helpFilePath(programState().UiLanguage);
    // A document that cannot be read leaves the text shown before.
    if (!path.isEmpty() && RtfReader::readFile(path, RichEdit_->document())) {
        RichEdit_->verticalScrollBar()->setValue(0);
    }
    okbutton_->setText(texts::pick(texts::hilfe::okbutton));
    okbutton_->setDown(false);
    setWindowTitle(texts::pick(texts::hilfe::caption));
    helpbutton_->setFocus();
}

void THilfeDialog::cancelbuttonClick() {
    done(ResultOk);
}

bool THilfeDialog::FormKeyDown(int key) {
    if (key == keys::F11) {
        showDataFolder();
        return true;
    }
    return TOwnFenster::FormKeyDown(key);
}

void THilfeDialog::showDataFolder() {
    if (messageBox_ == nullptr) {
        if (ownMessageBox_ == nullptr) {
            ownMessageBox_ = new TMeldungDialog(this);
        }
        messageBox_ = ownMessageBox_;
    }
    messageBox_->Meldungsfenster(QString::fromStdString(programState().DataFolder),
                                 texts::pick(texts::hilfe::dataFolderCaption), false, true, 4);
    helpbutton_->setFocus();
}

} // namespace quendal
