#include "frame/meldung_dialog.h"

#include "core/program_state.h"
#include "frame/dialog_look.h"
#include "frame/texts.h"
#include "toolkit/image_button.h"
#include "toolkit/keys.h"

#include <QLabel>
#include <QPalette>
#include <algorithm>

namespace quendal {

namespace {

constexpr int kPanelWidth = 441;
constexpr int kUPanelHeight = 43;
constexpr int kLineHeight = 22;
QLabel* borderLabel(QWidget* parent, const char* name, int x, int y, int width,
                    const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->resize(width, 0);
    look::fill(label, colour);
    return label;
}

// Line breaks may come as carriage returns; the label knows only line feeds.
QString plainLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TMeldungDialog::TMeldungDialog(QWidget* parent) : TOwnFenster(parent) {
    setObjectName(QStringLiteral("MeldungDialog"));
    FormCreate();

    ppp_ = new QWidget(this);
    ppp_->setObjectName(QStringLiteral("ppp"));
    ppp_->move(PanelPos);
    ppp_->resize(kPanelWidth, 0);
    look::fill(ppp_, look::kPanel);

    L1_ = borderLabel(ppp_, "L1", 11, 17, 419, look::kLight);
    L2_ = borderLabel(ppp_, "L2", 12, 18, 417, look::kSteel);
    L3_ = borderLabel(ppp_, "L3", 13, 19, 415, look::kLight);

    Textfeld_ = new QLabel(ppp_);
    Textfeld_->setObjectName(QStringLiteral("Textfeld"));
    Textfeld_->move(23, 19);
    Textfeld_->resize(394, 0);
    Textfeld_->setWordWrap(true);
    Textfeld_->setTextFormat(Qt::PlainText);
    look::fill(Textfeld_, look::kLight);
    QFont textFont(QStringLiteral("Arial"));
    textFont.setPixelSize(15);
    textFont.setBold(true);
    Textfeld_->setFont(textFont);
    QPalette textPalette = Textfeld_->palette();
    textPalette.setColor(QPalette::WindowText, look::kText);
    Textfeld_->setPalette(textPalette);

    UPanel_ = new QWidget(ppp_);
    UPanel_->setObjectName(QStringLiteral("UPanel"));
    UPanel_->resize(kPanelWidth, kUPanelHeight);
    look::fill(UPanel_, look::kPanel);

    jabutton_ = look::dialogButton(UPanel_, "jabutton", 80, 3);
    neinbutton_ = look::dialogButton(UPanel_, "neinbutton", 223, 3);
    connect(jabutton_, &ImageButton::clicked, this, &TMeldungDialog::jabuttonClick);
    connect(neinbutton_, &ImageButton::clicked, this, &TMeldungDialog::neinbuttonClick);

    setFixedSize(kPanelWidth + LeftWidth + RightWidth, TitleHeight + BottomHeight);
}

void TMeldungDialog::prepare(const QString& text, const QString& caption, bool yesNo, bool centred,
                             int lines) {
    const int n = std::clamp(lines, 0, 255); // the number of lines is a byte
    Textfeld_->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    setWindowTitle(caption);

    const int panelHeight = n * kLineHeight + kUPanelHeight + 18;
    const int textHeight = std::max(0, panelHeight - kUPanelHeight - 22);
    ppp_->resize(kPanelWidth, panelHeight);
    UPanel_->move(0, panelHeight - kUPanelHeight); // aligned to the bottom of ppp
    Textfeld_->resize(Textfeld_->width(), textHeight);
    L3_->resize(L3_->width(), textHeight);
    L2_->resize(L2_->width(), textHeight + 2);
    L1_->resize(L1_->width(), textHeight + 4);
    Textfeld_->setText(plainLines(text));
    setFixedSize(kPanelWidth + LeftWidth + RightWidth, TitleHeight + BottomHeight + panelHeight);

    if (yesNo) {
        neinbutton_->setText(texts::pick(texts::meldung::neinbutton));
        neinbutton_->move(jabutton_->x() + jabutton_->width() + 7, neinbutton_->y());
        jabutton_->setText(texts::pick(texts::meldung::jabutton));
        jabutton_->setEnabled(true);
        jabutton_->show();
    } else {
        neinbutton_->move((UPanel_->width() - neinbutton_->width()) / 2, neinbutton_->y());
        neinbutton_->setText(texts::pick(texts::meldung::okbutton));
        jabutton_->setEnabled(false);
        jabutton_->hide();
    }
    // A button left pressed or hot from the previous message must not show so now.
    jabutton_->setDown(false);
    neinbutton_->setDown(false);
}

int TMeldungDialog::Meldungsfenster(const QString& text, const QString& caption, bool yesNo,
                                    bool centred, int lines) {
    if (isVisible()) {
        // A message that arrives while another is open gets a box of its own rather than
        // overwriting the one the user is reading.
        TMeldungDialog nested(parentWidget());
        return nested.Meldungsfenster(text, caption, yesNo, centred, lines);
    }
    prepare(text, caption, yesNo, centred, lines);
    return exec(); // the show handler centres the box on the play field
}

void TMeldungDialog::jabuttonClick() {
    done(ResultYes);
}

void TMeldungDialog::neinbuttonClick() {
    done(ResultCancel);
}

bool TMeldungDialog::FormKeyDown(int key) {
    if (key == keys::Enter) {
        jabuttonClick();
        return true;
    }
    if (key == keys::Escape) {
        neinbuttonClick();
        return true;
    }
    return false;
}

bool TMeldungDialog::FormKeyPress(QChar key) {
    const QChar upper = key.toUpper();
    if (upper == QLatin1Char('J')) {
        jabuttonClick();
        return true;
    }
    if (upper == QLatin1Char('N')) {
        neinbuttonClick();
        return true;
    }
    return false;
}

} // namespace quendal
