#include "stats/filter_dialog.h"

#include "core/local_clock.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "frame/dialog_look.h"
#include "stats/overall_texts.h"
#include "stats/prints.h"
#include "stats/wait_cursor.h"
#include "toolkit/bar_chart.h"
#include "toolkit/builtin_lists.h"
#include "toolkit/image_button.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPalette>

namespace quendal {

namespace {

const QColor kUpperCaption{196, 253, 228};

QFont arial(int pixels, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* textLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(arial(15, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, look::kText);
    label->setPalette(palette);
    return label;
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::string ChartFilterKeyFor(int typeIndex, int versionIndex) {
    if (typeIndex <= 0) {
        return "-";
    }
    std::string key = typeIndex == 1 ? "V-1" : "V-2";
    if (versionIndex > 0) {
        key += std::to_string(versionIndex);
    }
    return key;
}

TFilterDialog::TFilterDialog(MessageSink& messages, QWidget* parent)
    : TOwnFenster(parent), messages_(messages) {
    setObjectName(QStringLiteral("FilterDialog"));
    FormCreate();
    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);

    FehlerLabel_ = new QLabel(ppp_);
    FehlerLabel_->setObjectName(QStringLiteral("FehlerLabel"));
    FehlerLabel_->setGeometry(10, 8, 620, 405);
    FehlerLabel_->setAlignment(Qt::AlignCenter);
    FehlerLabel_->setWordWrap(true);
    FehlerLabel_->setFont(arial(19, true));
    look::fill(FehlerLabel_, look::kLight);
    QPalette fehlerPalette = FehlerLabel_->palette();
    fehlerPalette.setColor(QPalette::WindowText, look::kText);
    FehlerLabel_->setPalette(fehlerPalette);

    NL1_ = textLabel(ppp_, "NL1", QRect(30, 16, 203, 20));
    NL2_ = textLabel(ppp_, "NL2", QRect(260, 16, 205, 20));

    TypCombo_ = new QComboBox(ppp_);
    TypCombo_->setObjectName(QStringLiteral("TypCombo"));
    TypCombo_->setGeometry(30, 37, 220, 26);
    TypCombo_->setMaxVisibleItems(15);
    VersionCombo_ = new QComboBox(ppp_);
    VersionCombo_->setObjectName(QStringLiteral("VersionCombo"));
    VersionCombo_->setGeometry(260, 37, 220, 26);
    connect(TypCombo_, &QComboBox::activated, this, [this] { TypComboChange(); });

    AnzeigenButton_ = look::dialogButton(ppp_, "AnzeigenButton", 487, 31);
    AnzeigenButton_->setFaces(builtinButtonList(), 6, 3);
    AnzeigenButton_->setFont(arial(15, true));
    AnzeigenButton_->setCaptionColor(kUpperCaption);
    connect(AnzeigenButton_, &ImageButton::clicked, this, &TFilterDialog::AnzeigenButtonClick);

    QString why;
    Chart1_ = makeBarChart(ppp_, &why);
    if (Chart1_ != nullptr) {
        Chart1_->widget()->setObjectName(QStringLiteral("Chart1"));
        Chart1_->widget()->setGeometry(25, 68, 590, 337);
        Chart1_->setBackgroundColor(FehlerLabel_->palette().color(QPalette::Window));
        Chart1_->setSetColors(Series1Colour, Series2Colour);
    } else {
        qWarning("the progress chart cannot be shown: %s", qPrintable(why));
    }

    cancelbutton_ = look::dialogButton(ppp_, "cancelbutton", 176, 418);
    druckbutton_ = look::dialogButton(ppp_, "druckbutton", 325, 418);
    // The close button closes with 1, as Enter does.
    connect(cancelbutton_, &ImageButton::clicked, this, &TFilterDialog::okbuttonClick);
    connect(druckbutton_, &ImageButton::clicked, this, &TFilterDialog::druckbuttonClick);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
}

void TFilterDialog::FormShow() {
    setWindowTitle(texts::pick(texts::filter::caption));
    NL1_->setText(texts::pick(texts::filter::NL1));
    NL2_->setText(texts::pick(texts::filter::NL2));
    AnzeigenButton_->setText(texts::pick(texts::filter::AnzeigenButton));
    cancelbutton_->setText(texts::pick(texts::buttons::schliessen));
    druckbutton_->setText(texts::pick(texts::buttons::drucken));
    FehlerLabel_->setText(texts::pick(texts::filter::FehlerLabel));
    if (Chart1_ != nullptr) {
        // A print of no data shows what the screen shows.
        Chart1_->setNoDataText(FehlerLabel_->text(), FehlerLabel_->font(), look::kText);
        Chart1_->setSetTitles(texts::pick(texts::filter::Series1),
                              texts::pick(texts::filter::Series2));
        Chart1_->setValueAxisTitle(texts::pick(texts::filter::axisTitle));
    }
    for (ImageButton* button : {AnzeigenButton_, cancelbutton_, druckbutton_}) {
        button->setDown(false);
    }

    const ExerciseVocabulary& words = programState().vocabulary;
    TypCombo_->clear();
    TypCombo_->addItem(texts::pick(texts::filter::alle));
    TypCombo_->addItem(fromStd(words.playKindNames[1] + "/" + words.playKindNames[2]));
    TypCombo_->addItem(fromStd(words.playKindNames[3] + "/" + words.playKindNames[4]));
    TypCombo_->setCurrentIndex(0);
    fillVersions();
    AnzeigenButtonClick();
}

void TFilterDialog::fillVersions() {
    const ExerciseVocabulary& words = programState().vocabulary;
    VersionCombo_->clear();
    VersionCombo_->addItem(texts::pick(texts::filter::alle));
    const int type = TypCombo_->currentIndex();
    if (type == 1 || type == 2) {
        const auto& names = type == 1 ? words.colourVersionNames : words.numberVersionNames;
        for (std::size_t v = 1; v <= 4; ++v) {
            VersionCombo_->addItem(fromStd(names[v]));
        }
    }
    VersionCombo_->setCurrentIndex(0);
}

void TFilterDialog::TypComboChange() {
    fillVersions();
}

void TFilterDialog::AnzeigenButtonClick() {
    ProgramState& state = programState();
    const std::string today = FormatDate(state.LocalClock ? state.LocalClock() : SystemLocalTime());
    const int type = std::max(0, TypCombo_->currentIndex());
    ChartFilterKey_ = ChartFilterKeyFor(type, std::max(0, VersionCombo_->currentIndex()));

    QStringList labels;
    QList<double> means;
    QList<double> deviations;
    {
        const WaitCursor wait;
        const bool dayOnly = state.DayListMode;
        WalkResultFile(state.CurrentUser.Folder + state.CurrentUser.ResultFileName,
                       state.RecordsRead, [&](int32_t k, const ResultRecord& record) {
                           const std::string& key = record.header[kPrtkey];
                           bool passes =
                               type == 0 || key.find(ChartFilterKey_) != std::string::npos;
                           if (dayOnly && record.header[kSvdate] != today) {
                               passes = false;
                           }
                           if (passes) {
                               const StatisticsColumn& all = record.statistics.columns[0];
                               labels << QString::number(k);
                               means << all.meanCorrect;
                               deviations << all.sdCorrect;
                           }
                       });
    }
    if (Chart1_ != nullptr) {
        Chart1_->setPairs(labels, means, deviations);
        Chart1_->widget()->setVisible(!labels.isEmpty());
    }
}

void TFilterDialog::druckbuttonClick() {
    if (Chart1_ != nullptr) {
        PrintChart(*Chart1_, messages_);
    }
}

} // namespace quendal
