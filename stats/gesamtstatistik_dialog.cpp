#include "stats/gesamtstatistik_dialog.h"

#include "core/program_state.h"
#include "core/result_file.h"
#include "frame/dialog_look.h"
#include "stats/filter_dialog.h"
#include "stats/overall_texts.h"
#include "stats/prints.h"
#include "stats/wait_cursor.h"
#include "toolkit/builtin_lists.h"
#include "toolkit/header_list_box.h"
#include "toolkit/image_button.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>

namespace quendal {

namespace {

const QColor kUpperCaption{196, 253, 228};
constexpr int kColumnWidths[9] = {43, 61, 200, 50, 47, 58, 54, 46, 50};
constexpr int kMessageLines = 4;

std::string resultFilePath() {
    const CurrentUserRecord& user = programState().CurrentUser;
    return user.Folder + user.ResultFileName;
}

// The upper row's buttons: the second face style with a light green caption.
ImageButton* upperButton(QWidget* parent, const char* name, int x) {
    ImageButton* button = look::dialogButton(parent, name, x, 368);
    button->setFaces(builtinButtonList(), 6, 3);
    button->setCaptionColor(kUpperCaption);
    return button;
}

} // namespace

TGesamtstatistikDialog::TGesamtstatistikDialog(MessageSink& messages, QWidget* parent)
    : TOwnFenster(parent), messages_(messages) {
    setObjectName(QStringLiteral("GesamtstatistikDialog"));
    FormCreate();
    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);
    look::lightBox(ppp_, "LMDSimpleLabel1", QRect(10, 8, 623, 402));

    NameLabel_ = new QLabel(ppp_);
    NameLabel_->setObjectName(QStringLiteral("NameLabel"));
    NameLabel_->setGeometry(20, 18, 88, 21);
    QFont nameFont(QStringLiteral("Arial"));
    nameFont.setPixelSize(16);
    nameFont.setBold(true);
    NameLabel_->setFont(nameFont);
    QPalette namePalette = NameLabel_->palette();
    namePalette.setColor(QPalette::WindowText, look::kText);
    NameLabel_->setPalette(namePalette);

    StatistikListBox_ = new HeaderListBox(ppp_);
    StatistikListBox_->setObjectName(QStringLiteral("StatistikListBox"));
    StatistikListBox_->setGeometry(18, 38, 604, 320);
    std::vector<HeaderListBox::Column> columns;
    for (std::size_t c = 0; c < std::size(kColumnWidths); ++c) {
        columns.push_back({texts::pick(texts::gesamt::columns[c]), kColumnWidths[c]});
    }
    columns[1].widest = QStringLiteral("00.00.0000"); // a date stays whole
    StatistikListBox_->setColumns(columns);
    // Where the narrow sans serif of the list is missing, a face of Arial's measures stands in,
    // so that the dates fit their column.
    QFont listFont;
    listFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                          QStringLiteral("Liberation Sans")});
    listFont.setPixelSize(11);
    StatistikListBox_->setBodyFont(listFont);
    StatistikListBox_->setHeaderFont(listFont);
    StatistikListBox_->setHeaderHeight(17);
    connect(StatistikListBox_, &HeaderListBox::lineDoubleClicked, this, [this](int row) {
        // The double click has selected the line under it.
        StatistikListBox_->setCurrentRow(row);
        StatistikListBoxDblClick();
    });

    GesamtButton_ = upperButton(ppp_, "GesamtButton", 28);
    TagButton_ = upperButton(ppp_, "TagButton", 177);
    DetailButton_ = upperButton(ppp_, "DetailButton", 327);
    Graphbutton_ = upperButton(ppp_, "Graphbutton", 476);
    cancelbutton_ = look::dialogButton(ppp_, "cancelbutton", 178, 419);
    druckbutton_ = look::dialogButton(ppp_, "druckbutton", 325, 419);
    connect(GesamtButton_, &ImageButton::clicked, this, &TGesamtstatistikDialog::GesamtButtonClick);
    connect(TagButton_, &ImageButton::clicked, this, &TGesamtstatistikDialog::TagButtonClick);
    connect(DetailButton_, &ImageButton::clicked, this, &TGesamtstatistikDialog::DetailButtonClick);
    connect(Graphbutton_, &ImageButton::clicked, this, &TGesamtstatistikDialog::GraphbuttonClick);
    connect(cancelbutton_, &ImageButton::clicked, this, &TGesamtstatistikDialog::cancelbuttonClick);
    connect(druckbutton_, &ImageButton::clicked, this, &TGesamtstatistikDialog::druckbuttonClick);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    FilterDialog_ = new TFilterDialog(messages_, this);
}

TGesamtstatistikDialog::~TGesamtstatistikDialog() = default;

void TGesamtstatistikDialog::ReadList(bool todayOnly) {
    ResultList list;
    {
        const WaitCursor wait;
        // A missing file leaves the list as it was; one that could not be read whole shows
        // what was read and the data-error line.
        const ReadOutcome read = ReadResultFile(resultFilePath(), 0, todayOnly, list);
        if (read.status == ReadStatus::Missing || read.status == ReadStatus::NotRegularFile) {
            return;
        }
    }
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(list.size()));
    for (const std::string& entry : list) {
        lines << QString::fromStdString(entry);
    }
    StatistikListBox_->setLines(std::move(lines));
}

void TGesamtstatistikDialog::FormShow() {
    setWindowTitle(texts::pick(texts::gesamt::caption));
    cancelbutton_->setText(texts::pick(texts::buttons::schliessen));
    druckbutton_->setText(texts::pick(texts::buttons::drucken));
    GesamtButton_->setText(texts::pick(texts::gesamt::GesamtButton));
    TagButton_->setText(texts::pick(texts::gesamt::TagButton));
    DetailButton_->setText(texts::pick(texts::gesamt::DetailButton));
    Graphbutton_->setText(texts::pick(texts::gesamt::Graphbutton));
    for (ImageButton* button :
         {GesamtButton_, TagButton_, DetailButton_, Graphbutton_, cancelbutton_, druckbutton_}) {
        button->setDown(false);
    }
    QStringList heads;
    for (const texts::TextPair& head : texts::gesamt::columns) {
        heads << texts::pick(head);
    }
    StatistikListBox_->setHeadTexts(heads);

    // The label grows with a long name, up to the width of the list.
    const QString name = QString::fromStdString(programState().CurrentUser.DisplayName).trimmed();
    NameLabel_->setText(name);
    const int width = QFontMetrics(NameLabel_->font()).horizontalAdvance(name) + 4;
    NameLabel_->resize(std::clamp(width, 88, 604), 21);

    StatistikListBox_->setCurrentRow(StatistikListBox_->lineCount() - 1);
    StatistikListBox_->setFocus();
}

void TGesamtstatistikDialog::GesamtButtonClick() {
    programState().DayListMode = false;
    ReadList(false);
    if (StatistikListBox_->lineCount() > 0) {
        StatistikListBox_->setCurrentRow(0);
    }
}

void TGesamtstatistikDialog::TagButtonClick() {
    programState().DayListMode = true;
    ReadList(true);
    if (StatistikListBox_->lineCount() > 0) {
        StatistikListBox_->setCurrentRow(0);
    }
}

void TGesamtstatistikDialog::DetailButtonClick() {
    const int row = StatistikListBox_->currentRow();
    if (row < 0) {
        return;
    }
    const QString entry = StatistikListBox_->line(row);
    if (entry.startsWith(u'-')) {
        return; // a marked record
    }
    bool number = false;
    const int n = entry.section(u';', 0, 0).toInt(&number);
    // The data-error line has no record number.
    if (!number || n < 1 || !entry.contains(u';')) {
        return;
    }
    ResultList untouched;
    {
        const WaitCursor wait;
        if (!ReadResultFile(resultFilePath(), n, false, untouched)) {
            return;
        }
    }
    if (detailsView_) {
        detailsView_();
    }
}

void TGesamtstatistikDialog::StatistikListBoxDblClick() {
    DetailButtonClick();
}

void TGesamtstatistikDialog::GraphbuttonClick() {
    programState().RecordsRead = programState().OverallRecordCount;
    FilterDialog_->exec();
}

void TGesamtstatistikDialog::druckbuttonClick() {
    QStringList lines;
    for (int r = 0; r < StatistikListBox_->lineCount(); ++r) {
        lines << StatistikListBox_->line(r);
    }
    PrintOverallStatistics(lines, messages_);
}

int GesamtstatistikbuttonClick(TGesamtstatistikDialog& dialog, MessageSink& messages) {
    ProgramState& state = programState();
    state.DayListMode = false;
    const std::string path = state.CurrentUser.Folder + state.CurrentUser.ResultFileName;
    if (state.CurrentUser.ResultFileName.empty() ||
        !QFileInfo(QString::fromStdString(path)).isFile()) {
        messages.Show(texts::pick(texts::gesamt::noUser).toStdString(),
                      texts::pick(texts::kHinweis).toStdString(), false, true, kMessageLines);
        return 0;
    }
    const ResultRecord saved = state.current;
    dialog.StatistikListBox()->clear();
    dialog.ReadList(false);
    state.OverallRecordCount = 0;
    int result = 0;
    if (dialog.StatistikListBox()->lineCount() == 0) {
        messages.Show(texts::pick(texts::gesamt::noStatistics).toStdString(),
                      texts::pick(texts::kHinweis).toStdString(), false, true, kMessageLines);
    } else {
        state.OverallRecordCount = state.RecordsRead;
        dialog.StatistikListBox()->setCurrentRow(0);
        result = dialog.exec();
    }
    state.current = saved;
    return result;
}

} // namespace quendal
