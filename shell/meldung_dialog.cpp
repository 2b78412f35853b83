#include "shell/meldung_dialog.h"

#include "core/program_state.h"
#include "toolkit/builtin_lists.h"
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
const QColor kPanelColour(82, 190, 160);
const QColor kLight(215, 250, 240);
const QColor kSteel(88, 130, 173);
const QColor kTextColour(64, 128, 128);
const QColor kButtonCaption(210, 220, 240);

void fill(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* borderLabel(QWidget* parent, const char* name, int x, int y, int width,
                    const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->resize(width, 0);
    fill(label, colour);
    return label;
}

ImageButton* dialogButton(QWidget* parent, const char* name, int x) {
    auto* button = new ImageButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    // Entries 3, 4 and 5 of the built-in button faces: rest, hot, pressed.
    button->setTransparentColor(kSteel);
    button->setFaces(builtinButtonList(), 3, 3);
    button->setAutoSize(false);
    button->setGeometry(x, 3, 138, 34);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    button->setFont(font);
    button->setCaptionColor(kButtonCaption);
    return button;
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
    fill(ppp_, kPanelColour);

    L1_ = borderLabel(ppp_, "L1", 11, 17, 419, kLight);
    L2_ = borderLabel(ppp_, "L2", 12, 18, 417, kSteel);
    L3_ = borderLabel(ppp_, "L3", 13, 19, 415, kLight);

    Textfeld_ = new QLabel(ppp_);
    Textfeld_->setObjectName(QStringLiteral("Textfeld"));
    Textfeld_->move(23, 19);
    Textfeld_->resize(394, 0);
    Textfeld_->setWordWrap(true);
    Textfeld_->setTextFormat(Qt::PlainText);
    fill(Textfeld_, kLight);
    QFont textFont(QStringLiteral("Arial"));
    textFont.setPixelSize(15);
    textFont.setBold(true);
    Textfeld_->setFont(textFont);
    QPalette textPalette = Textfeld_->palette();
    textPalette.setColor(QPalette::WindowText, kTextColour);
    Textfeld_->setPalette(textPalette);

    UPanel_ = new QWidget(ppp_);
    UPanel_->setObjectName(QStringLiteral("UPanel"));
    UPanel_->resize(kPanelWidth, kUPanelHeight);
    fill(UPanel_, kPanelColour);

    jabutton_ = dialogButton(UPanel_, "jabutton", 80);
    neinbutton_ = dialogButton(UPanel_, "neinbutton", 223);
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

    const bool english = programState().UiLanguage == 2;
    if (yesNo) {
        neinbutton_->setText(english ? QStringLiteral("No") : QStringLiteral("Nein"));
        neinbutton_->move(jabutton_->x() + jabutton_->width() + 7, neinbutton_->y());
        jabutton_->setText(english ? QStringLiteral("Yes") : QStringLiteral("Ja"));
        jabutton_->setEnabled(true);
        jabutton_->show();
    } else {
        neinbutton_->move((UPanel_->width() - neinbutton_->width()) / 2, neinbutton_->y());
        neinbutton_->setText(QStringLiteral("OK"));
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
