#include "stats/stat_info_dialog.h"

#include "core/folders.h"
#include "core/program_state.h"
#include "frame/dialog_look.h"
#include "stats/stats_texts.h"
#include "toolkit/image_button.h"
#include "toolkit/rtf_reader.h"

#include <QEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

namespace quendal {

TStatInfoDialog::TStatInfoDialog(QWidget* parent) : TOwnFenster(parent) {
    setObjectName(QStringLiteral("StatInfoDialog"));
    FormCreate();

    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);

    // Made first, so it lies under the text and is never seen; it holds the keyboard focus.
    helpbutton_ = new QPushButton(ppp_);
    helpbutton_->setObjectName(QStringLiteral("helpbutton"));
    helpbutton_->setGeometry(38, 31, 67, 41);
    helpbutton_->setText(texts::pick(texts::statinfo::helpbutton));
    connect(helpbutton_, &QPushButton::clicked, this, [this] { done(ResultOk); });

    RichEdit_ = look::textView(ppp_, "RichEdit", QRect(22, 20, 756, 523), helpbutton_);

    okbutton_ = look::dialogButton(ppp_, "okbutton", 334, 557);
    connect(okbutton_, &ImageButton::clicked, this, &TStatInfoDialog::cancelbuttonClick);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    centreOnPlayField();
}

QString TStatInfoDialog::statFilePath() {
    const std::string& programFolder = programState().ProgramFolder;
    if (programFolder.empty()) {
        return {}; // never read from the working folder
    }
    return QString::fromStdString(
        resolveNoCase(programDataFolder(programFolder), texts::statinfo::document));
}

void TStatInfoDialog::FormShow() {
    const QString path = statFilePath();
    if (!path.isEmpty() && RtfReader::readFile(path, RichEdit_->document())) {
        RichEdit_->verticalScrollBar()->setValue(0);
    }
    okbutton_->setText(texts::pick(texts::statinfo::okbutton));
    okbutton_->setDown(false);
    setWindowTitle(texts::pick(texts::statinfo::caption));
    helpbutton_->setFocus();
}

void TStatInfoDialog::cancelbuttonClick() {
    done(ResultOk);
}

} // namespace quendal
