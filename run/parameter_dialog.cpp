#include "run/parameter_dialog.h"

#include "frame/dialog_look.h"
#include "frame/meldung_dialog.h"
#include "run/parameter_texts.h"
#include "toolkit/image_button.h"
#include "toolkit/number_field.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace quendal {

namespace {

QFont labelFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

// A label in the dialog's look: teal Arial bold, vertically centred, on the light box it
// lies on or, with `light`, on a light box of its own.
QLabel* label(QWidget* parent, const char* name, const QRect& geometry, bool light, int indent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setFont(labelFont());
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setIndent(indent);
    setTextColour(l, look::kText);
    if (light) {
        look::fill(l, look::kLight);
    }
    return l;
}

QRadioButton* radio(QWidget* group, const char* name, int x, int y) {
    auto* r = new QRadioButton(group);
    r->setObjectName(QString::fromLatin1(name));
    r->setGeometry(x, y, 112, 26);
    r->setFont(labelFont());
    setTextColour(r, look::kText);
    // The light box of the group shows through.
    r->setAutoFillBackground(false);
    return r;
}

// A sunken panel holding a number field and its spin button: a steel-blue line around a
// white field, the arrows at its right.
QWidget* spinPanel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    look::fill(panel, look::kSteel);
    return panel;
}

NumberField* numberField(QWidget* panel, const char* name, int maxLength, int minimum,
                         int maximum) {
    auto* field = new NumberField(panel);
    field->setObjectName(QString::fromLatin1(name));
    const int arrows = 17;
    field->setGeometry(1, 1, panel->width() - 2 - arrows, panel->height() - 2);
    field->setMaxLength(maxLength);
    field->setRange(minimum, maximum);
    field->setFont(labelFont());
    field->setFrame(false);
    field->setTextMargins(2, 0, 4, 0);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, look::kText);
    field->setPalette(palette);
    return field;
}

SpinButton* spinButton(QWidget* panel, const char* name, int step, int minimum, int maximum) {
    auto* spin = new SpinButton(panel);
    spin->setObjectName(QString::fromLatin1(name));
    const int arrows = 17;
    spin->setGeometry(panel->width() - 1 - arrows, 1, arrows, panel->height() - 2);
    spin->setRange(minimum, maximum);
    spin->setStep(step);
    spin->setColours(look::kLight, look::kSteel, look::kSteel);
    return spin;
}

} // namespace

TParameterDialog::TParameterDialog(TMeldungDialog* messageBox, QWidget* parent)
    : TOwnFenster(parent), messageBox_(messageBox) {
    setObjectName(QStringLiteral("ParameterDialog"));
    FormCreate();

    ppp_ = look::contentPanel(this, PanelWidth, PanelHeight);

    // HBut1 holds the focus out of sight; a click on it (the space bar) starts.
    HBut1_ = new QPushButton(ppp_);
    HBut1_->setObjectName(QStringLiteral("HBut1"));
    HBut1_->setGeometry(-50, 311, 40, 25);
    HBut1_->setAutoDefault(false);
    connect(HBut1_, &QPushButton::clicked, this, &TParameterDialog::okbuttonClick);

    // The three groups of radio buttons, each on its light box.
    LMDSimpleLabel2_ = look::lightBox(ppp_, "LMDSimpleLabel2", QRect(35, 15, 357, 90));
    NL1_ = label(LMDSimpleLabel2_, "NL1", QRect(14, 15, 100, 26), false, 0);
    const char* versionNames[4] = {"VersionRadio1", "VersionRadio2", "VersionRadio3",
                                   "VersionRadio4"};
    for (int i = 0; i < 4; ++i) {
        VersionRadio_.at(static_cast<size_t>(i)) =
            radio(LMDSimpleLabel2_, versionNames[i], i % 2 == 0 ? 124 : 238, i < 2 ? 15 : 49);
    }
    VersionRadio_[0]->setChecked(true);

    LMDSimpleLabel7_ = look::lightBox(ppp_, "LMDSimpleLabel7", QRect(35, 106, 357, 51));
    NL2_ = label(LMDSimpleLabel7_, "NL2", QRect(14, 12, 100, 26), false, 0);
    PosRadio1_ = radio(LMDSimpleLabel7_, "PosRadio1", 124, 12);
    PosRadio2_ = radio(LMDSimpleLabel7_, "PosRadio2", 238, 12);
    PosRadio1_->setChecked(true);

    LMDSimpleLabel9_ = look::lightBox(ppp_, "LMDSimpleLabel9", QRect(35, 158, 357, 51));
    NL3_ = label(LMDSimpleLabel9_, "NL3", QRect(14, 12, 100, 26), false, 0);
    AntRadio1_ = radio(LMDSimpleLabel9_, "AntRadio1", 124, 12);
    AntRadio2_ = radio(LMDSimpleLabel9_, "AntRadio2", 238, 12);
    AntRadio1_->setChecked(true);

    // The time limit and the round count: a label at the left, the rest of the row a light
    // band (HL10, HL1) that holds the field.
    NL4_ = label(ppp_, "NL4", QRect(35, 210, 164, 45), true, 14);
    look::lightBox(ppp_, "HL10", QRect(199, 210, 193, 45));
    NL5_ = label(ppp_, "NL5", QRect(35, 256, 166, 47), true, 14);
    look::lightBox(ppp_, "HL1", QRect(201, 256, 191, 47));

    SleepPanel_ = spinPanel(ppp_, "SleepPanel", QRect(223, 218, 69, 32));
    ZeitSpin_ = numberField(SleepPanel_, "ZeitSpin", 4, TimeMin, TimeMax);
    ZeitSpinbutton_ = spinButton(SleepPanel_, "ZeitSpinbutton", TimeStep, TimeMin, TimeMax);
    LMDSimpleLabel3_ = label(ppp_, "LMDSimpleLabel3", QRect(298, 220, 46, 26), true, 4);
    LMDSimpleLabel3_->setText(texts::pick(texts::parameter::LMDSimpleLabel3));

    LMDSimplePanel1_ = spinPanel(ppp_, "LMDSimplePanel1", QRect(223, 263, 70, 32));
    Durchspin_ = numberField(LMDSimplePanel1_, "Durchspin", 3, RoundsMin, RoundsMax);
    DurchSpinButton_ =
        spinButton(LMDSimplePanel1_, "DurchSpinButton", RoundsStep, RoundsMin, RoundsMax);

    connect(ZeitSpinbutton_, &SpinButton::changed, this, &TParameterDialog::ZeitSpinbuttonChange);
    connect(DurchSpinButton_, &SpinButton::changed, this, &TParameterDialog::DurchSpinButtonChange);
    // An arrow steps on from what the user typed, not from the value it held before.
    connect(ZeitSpin_, &NumberField::textEdited, this,
            [this] { ZeitSpinbutton_->setValue(ZeitSpin_->value()); });
    connect(Durchspin_, &NumberField::textEdited, this,
            [this] { DurchSpinButton_->setValue(Durchspin_->value()); });

    okbutton_ = look::dialogButton(ppp_, "okbutton", 64, 311);
    cancelbutton_ = look::dialogButton(ppp_, "cancelbutton", 207, 311);
    connect(okbutton_, &ImageButton::clicked, this, &TParameterDialog::okbuttonClick);
    connect(cancelbutton_, &ImageButton::clicked, this, &TParameterDialog::cancelbuttonClick);

    ZeitSpin_->setValue(TimeDefault);
    ZeitSpinbutton_->setValue(TimeDefault);
    Durchspin_->setValue(RoundsDefault);
    DurchSpinButton_->setValue(RoundsDefault);

    setFixedSize(PanelWidth + LeftWidth + RightWidth, PanelHeight + TitleHeight + BottomHeight);
    FormShow();
    centreOnPlayField();
}

void TParameterDialog::setMessageBox(TMeldungDialog* messageBox) {
    messageBox_ = messageBox;
}

QRadioButton* TParameterDialog::VersionRadio(int number) const {
    if (number < 1 || number > 4) {
        return nullptr;
    }
    return VersionRadio_.at(static_cast<size_t>(number - 1));
}

void TParameterDialog::FormShow() {
    namespace t = texts::parameter;
    setWindowTitle(texts::pick(t::caption));
    okbutton_->setText(texts::pick(t::okbutton));
    cancelbutton_->setText(texts::pick(t::cancelbutton));
    NL1_->setText(texts::pick(t::NL1));
    NL2_->setText(texts::pick(t::NL2));
    NL3_->setText(texts::pick(t::NL3));
    NL4_->setText(texts::pick(t::NL4));
    NL5_->setText(texts::pick(t::NL5));
    for (size_t i = 0; i < VersionRadio_.size(); ++i) {
        VersionRadio_.at(i)->setText(texts::pick(t::VersionRadio[i]));
    }
    PosRadio1_->setText(texts::pick(t::PosRadio1));
    PosRadio2_->setText(texts::pick(t::PosRadio2));
    AntRadio1_->setText(texts::pick(t::AntRadio1));
    AntRadio2_->setText(texts::pick(t::AntRadio2));
    okbutton_->setDown(false);
    cancelbutton_->setDown(false);

    ZeitSpinbutton_->setValue(ZeitSpin_->value());
    DurchSpinButton_->setValue(Durchspin_->value());
    HBut1_->setFocus();
}

void TParameterDialog::okbuttonClick() {
    int n = Durchspin_->value();
    if (n < RoundsMin) {
        Durchspin_->setValue(RoundsMin);
        n = RoundsMin;
    }
    if (n % RoundsStep == 0) {
        done(ResultOk);
        return;
    }
    Durchspin_->setValue(n - n % RoundsStep);
    DurchSpinButton_->setValue(Durchspin_->value());
    messageBox().Meldungsfenster(texts::pick(texts::parameter::roundsCorrected),
                                 texts::pick(texts::kHinweis), false, true, 6);
    // The dialog stays open; the user confirms again.
}

void TParameterDialog::FormClose() {
    if (ZeitSpin_->text().trimmed().isEmpty()) {
        ZeitSpin_->setText(QString::number(TimeDefault));
    }
    if (Durchspin_->text().trimmed().isEmpty()) {
        Durchspin_->setText(QString::number(RoundsDefault));
    }
    for (NumberField* field : {ZeitSpin_, Durchspin_}) {
        if (field->value() < field->minimum()) {
            field->setValue(field->minimum());
        }
        if (field->value() > field->maximum()) {
            field->setValue(field->maximum());
        }
        // Text that is no number counted as the minimum; the field now says so.
        if (!field->holdsNumber()) {
            field->setValue(field->value());
        }
    }
}

void TParameterDialog::ZeitSpinbuttonChange(int value) {
    ZeitSpin_->setText(QString::number(value));
}

void TParameterDialog::DurchSpinButtonChange(int value) {
    Durchspin_->setText(QString::number(value));
}

void TParameterDialog::done(int result) {
    FormClose();
    TOwnFenster::done(result);
}

TMeldungDialog& TParameterDialog::messageBox() {
    if (messageBox_ == nullptr) {
        if (ownMessageBox_ == nullptr) {
            ownMessageBox_ = new TMeldungDialog(this);
        }
        messageBox_ = ownMessageBox_;
    }
    return *messageBox_;
}

void StoreParameterChoice(const TParameterDialog& dialog, int32_t kind, RunSettings& settings) {
    settings.kind = kind;
    settings.timeLimitMs = dialog.ZeitSpin()->value();
    settings.roundCount = dialog.Durchspin()->value();
    settings.feedback = dialog.AntRadio1()->isChecked() ? 1 : 2;
    settings.frameMode = dialog.PosRadio1()->isChecked() ? 2 : 1;
    for (int v = 1; v <= 4; ++v) {
        if (dialog.VersionRadio(v)->isChecked()) {
            settings.version = v;
            break;
        }
    }
}

} // namespace quendal
