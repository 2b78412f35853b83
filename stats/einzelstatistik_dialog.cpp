#include "stats/einzelstatistik_dialog.h"

#include "core/message_sink.h"
#include "core/program_state.h"
#include "core/result_file.h"
#include "frame/dialog_look.h"
#include "stats/stat_info_dialog.h"
#include "stats/stats_texts.h"
#include "toolkit/image_button.h"

#include <QFont>
#include <QLabel>
#include <QPalette>

namespace quendal {

namespace {

// The table's measures inside the content panel.
constexpr std::array<int, TEinzelstatistikDialog::Columns> kColumnX = {155, 250, 340, 436, 524};
constexpr std::array<int, TEinzelstatistikDialog::Rows> kRowY = {60,  98,  135, 173,
                                                                 210, 248, 285, 323};
constexpr int kHeadY = 30;
constexpr int kCellWidth = 62;
constexpr int kCellHeight = 26;
constexpr int kHeadHeight = 19;
constexpr int kRowHeadRight = 135;
constexpr int kRowHeadLeft = 14;
constexpr std::array<int, 6> kVerticalLineX = {138, 230, 322, 414, 506, 598};
constexpr std::array<int, 9> kHorizontalLineY = {50, 88, 125, 163, 200, 238, 275, 313, 351};
constexpr int kLineWidth = 2;
constexpr int kVerticalLineTop = 33;
constexpr int kVerticalLineHeight = 320;
constexpr int kHorizontalLineLength = 569;
// The horizontal lines end where the last vertical one does.
constexpr int kHorizontalLineLeft = 598 + kLineWidth - kHorizontalLineLength;

// The two-letter codes of the rows' value cells.
constexpr std::array<const char*, TEinzelstatistikDialog::Rows> kRowCodes = {
    "ri", "mr", "sr", "fa", "mf", "sf", "in", "el"};
// Rows whose head is black; the others are teal.
constexpr std::array<bool, TEinzelstatistikDialog::Rows> kBlackHead = {true,  false, false, true,
                                                                       false, false, false, false};

QFont tableFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel* tableLabel(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(tableFont());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    look::fill(label, look::kLight);
    setTextColour(label, Qt::black);
    return label;
}

void gridLine(QWidget* parent, const QRect& geometry) {
    auto* line = new QWidget(parent);
    line->setGeometry(geometry);
    look::fill(line, look::kSteel);
}

int32_t valueOf(const StatisticsColumn& column, int row) {
    switch (row) {
    case 0:
        return column.correct;
    case 1:
        return column.meanCorrect;
    case 2:
        return column.sdCorrect;
    case 3:
        return column.wrong;
    case 4:
        return column.meanWrong;
    case 5:
        return column.sdWrong;
    case 6:
        return column.interference;
    default:
        return column.eliminated;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string trimmed(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

} // namespace

TEinzelstatistikDialog::TEinzelstatistikDialog(TStatInfoDialog* statInfo, QWidget* parent)
    : TOwnFenster(parent), statInfo_(statInfo) {
    setObjectName(QStringLiteral("EinzelstatistikDialog"));
    FormCreate();

    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);
    LMDSimpleLabel2_ = look::lightBox(ppp_, "LMDSimpleLabel2", QRect(11, 15, 612, 362));

    for (const int x : kVerticalLineX) {
        gridLine(ppp_, QRect(x, kVerticalLineTop, kLineWidth, kVerticalLineHeight));
    }
    for (const int y : kHorizontalLineY) {
        gridLine(ppp_, QRect(kHorizontalLineLeft, y, kHorizontalLineLength, kLineWidth));
    }

    for (int c = 0; c < Columns; ++c) {
        const auto ci = static_cast<size_t>(c);
        Color_.at(ci) = tableLabel(ppp_, QStringLiteral("Color%1").arg(c),
                                   QRect(kColumnX.at(ci), kHeadY, kCellWidth, kHeadHeight));
    }
    for (int r = 0; r < Rows; ++r) {
        const auto ri = static_cast<size_t>(r);
        const int y = kRowY.at(ri);
        const int height = r == 6 ? kCellHeight + 1 : kCellHeight;
        z_.at(ri) = tableLabel(ppp_, QStringLiteral("z%1").arg(r + 1),
                               QRect(kRowHeadLeft, y, kRowHeadRight - kRowHeadLeft, height));
        setTextColour(z_.at(ri), kBlackHead.at(ri) ? QColor(Qt::black) : look::kText);
        for (int c = 0; c < Columns; ++c) {
            const auto ci = static_cast<size_t>(c);
            QLabel* value =
                tableLabel(ppp_, QString::fromLatin1(kRowCodes.at(ri)) + QString::number(c),
                           QRect(kColumnX.at(ci), y, kCellWidth, kCellHeight));
            value->setText(QStringLiteral("0"));
            cells_.at(ri).at(ci) = value;
        }
    }

    ErklButton_ = look::dialogButton(ppp_, "ErklButton", 14, 386);
    okbutton_ = look::dialogButton(ppp_, "okbutton", 160, 386);
    cancelbutton_ = look::dialogButton(ppp_, "cancelbutton", 488, 386);
    ErklButton_->setText(texts::pick(texts::einzelstatistik::ErklButton));
    connect(ErklButton_, &ImageButton::clicked, this, &TEinzelstatistikDialog::ErklButtonClick);
    connect(okbutton_, &ImageButton::clicked, this, &TEinzelstatistikDialog::okbuttonClick);
    connect(cancelbutton_, &ImageButton::clicked, this, &TEinzelstatistikDialog::cancelbuttonClick);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    centreOnPlayField();
}

void TEinzelstatistikDialog::setStatInfoDialog(TStatInfoDialog* statInfo) {
    statInfo_ = statInfo;
}

QLabel* TEinzelstatistikDialog::cell(int row, int column) const {
    if (row < 0 || row >= Rows || column < 0 || column >= Columns) {
        return nullptr;
    }
    return cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
}

QLabel* TEinzelstatistikDialog::columnHead(int column) const {
    if (column < 0 || column >= Columns) {
        return nullptr;
    }
    return Color_.at(static_cast<size_t>(column));
}

QLabel* TEinzelstatistikDialog::rowHead(int row) const {
    if (row < 0 || row >= Rows) {
        return nullptr;
    }
    return z_.at(static_cast<size_t>(row));
}

TEinzelstatistikDialog::HeadKind TEinzelstatistikDialog::headKind(const std::string& prtkey) {
    const std::string key = trimmed(prtkey);
    if (key.size() < 4 || !isDigit(key[2]) || !isDigit(key[3])) {
        return HeadKind::Plain;
    }
    return key[2] == '1' ? HeadKind::Colour : HeadKind::Number;
}

void TEinzelstatistikDialog::FormShow() {
    namespace t = texts::einzelstatistik;
    const ProgramState& state = programState();
    setWindowTitle(texts::pick(t::caption));
    cancelbutton_->setText(texts::pick(t::cancelbutton));
    okbutton_->setText(texts::pick(t::okbutton));
    ErklButton_->setText(texts::pick(t::ErklButton));
    for (QAbstractButton* button : {ErklButton_, okbutton_, cancelbutton_}) {
        button->setDown(false);
    }
    for (size_t r = 0; r < z_.size(); ++r) {
        z_.at(r)->setText(texts::pick(t::rows[r]));
    }

    const ResultRecord& record = state.current;
    const HeadKind kind = headKind(record.header.at(kPrtkey));
    if (kind == HeadKind::Number) {
        // The number heads are teal on the table's background; the colour heads keep the
        // colours they have.
        const QColor background = LMDSimpleLabel2_->palette().color(QPalette::Window);
        for (QLabel* head : Color_) {
            look::fill(head, background);
            setTextColour(head, look::kText);
        }
    }
    Color_[0]->setText(texts::pick(t::Color0));
    for (int v = 1; v <= 4; ++v) {
        const auto vi = static_cast<size_t>(v);
        QString head;
        switch (kind) {
        case HeadKind::Colour:
            head = QString::fromStdString(state.vocabulary.colourNames.at(vi));
            break;
        case HeadKind::Number:
            head = QString::fromStdString(state.vocabulary.numberNames.at(vi));
            break;
        case HeadKind::Plain:
            head = QString::number(v);
            break;
        }
        Color_.at(vi)->setText(head);
    }

    for (size_t c = 0; c < Color_.size(); ++c) {
        const StatisticsColumn& column = record.statistics.columns.at(c);
        for (size_t r = 0; r < cells_.size(); ++r) {
            cells_.at(r).at(c)->setText(QString::number(valueOf(column, static_cast<int>(r))));
        }
    }
}

void TEinzelstatistikDialog::okbuttonClick() {
    // The single statistics print hangs here; until it exists the button does nothing.
    if (print_) {
        print_();
    }
}

void TEinzelstatistikDialog::ErklButtonClick() {
    statInfo().exec();
}

TStatInfoDialog& TEinzelstatistikDialog::statInfo() {
    if (statInfo_ == nullptr) {
        if (ownStatInfo_ == nullptr) {
            ownStatInfo_ = new TStatInfoDialog(this);
        }
        statInfo_ = ownStatInfo_;
    }
    return *statInfo_;
}

void EinzelstatistikbuttonClick(TEinzelstatistikDialog& view, MessageSink& messages) {
    if (programState().current.roundCount < 1) {
        messages.Show(texts::pick(texts::einzelstatistik::noRunYet).toStdString(),
                      texts::pick(texts::kHinweis).toStdString(), false, true, 4);
        return;
    }
    view.exec();
    SaveCurrentRun(messages);
}

} // namespace quendal
