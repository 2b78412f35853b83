#include "run/beschreibung_dialog.h"

#include "core/program_state.h"
#include "frame/daten.h"
#include "frame/dialog_look.h"
#include "frame/host_window.h"
#include "run/run_texts.h"
#include "run/screen_metrics.h"
#include "toolkit/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace quendal {

namespace {

const QColor kTextColour{196, 253, 228};

QLabel* makeLabel(QWidget* parent, const char* name, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(alignment);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTextColour);
    label->setPalette(palette);
    return label;
}

QFont arialBold(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(points);
    return font;
}

} // namespace

TBeschreibungDialog::TBeschreibungDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("BeschreibungDialog"));
    setWindowTitle(QStringLiteral("Quendal"));
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Over the play field from the start, not placed over the parent by the dialog.
    setGeometry(0, 0, programState().PlayWidth, programState().PlayHeight);
    setFocusPolicy(Qt::StrongFocus);

    backpanel_ = new QWidget(this);
    backpanel_->setObjectName(QStringLiteral("backpanel"));
    QPalette palette = backpanel_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    backpanel_->setPalette(palette);
    backpanel_->setAutoFillBackground(true);
    label1_ = makeLabel(backpanel_, "label1", Qt::AlignCenter);
    label2_ = makeLabel(backpanel_, "label2", Qt::AlignHCenter | Qt::AlignBottom);
    // The screen reads every key before its controls do.
    preview_ = new KeyPreview(this, [this](QKeyEvent& event) {
        FormKeyDown(keys::keyCode(event));
        return true;
    });
}

TBeschreibungDialog::~TBeschreibungDialog() {
    showPointer();
    if (shown_ && Daten() != nullptr) {
        Daten()->JoystickScreenShown(false);
    }
}

QString TBeschreibungDialog::instructionText(int kind, int version, int uiLanguage) {
    if (kind < 1 || kind > 2 || version < 1 || version > 4) {
        return {};
    }
    const auto& byKind = texts::beschreibung::label1.at(static_cast<std::size_t>(kind - 1));
    return texts::pick(byKind.at(static_cast<std::size_t>(version - 1)), uiLanguage);
}

QString TBeschreibungDialog::startHint(bool joystickCanStart, int uiLanguage) {
    return texts::pick(joystickCanStart ? texts::beschreibung::label2Joystick
                                        : texts::beschreibung::label2,
                       uiLanguage);
}

void TBeschreibungDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!hostAttached_) {
        hostAttached_ = true;
        attachToHostWindow(this);
    }
    preview_->install();
    FormShow();
}

void TBeschreibungDialog::FormShow() {
    const ProgramState& state = programState();
    if (!pointerHidden_) {
        pointerHidden_ = true;
        QApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    }
    setGeometry(0, 0, state.PlayWidth, state.PlayHeight);
    const TDaten::ScreenBorders border =
        Daten() != nullptr ? Daten()->screenBorders() : TDaten::ScreenBorders{};
    const int panelWidth = state.PlayWidth - border.left - border.right;
    const int panelHeight = state.PlayHeight - border.top - border.bottom;
    backpanel_->setGeometry(border.left, border.top, panelWidth, panelHeight);
    label1_->setGeometry(70, 20, panelWidth - 140, panelHeight - 40);
    label2_->setGeometry(10, panelHeight - 70, panelWidth - 20, 40);

    const int points = fontScalePoints(state.PlayWidth);
    label1_->setFont(arialBold(points));
    label2_->setFont(arialBold(points - points / 4));
    label1_->setText(
        instructionText(state.runSettings.kind, state.runSettings.version, state.UiLanguage));
    label2_->setText(startHint(state.joystickActive(), state.UiLanguage));

    if (!shown_) {
        shown_ = true;
        if (Daten() != nullptr) {
            Daten()->JoystickScreenShown(true);
        }
    }
    activateWindow();
    setFocus();
}

void TBeschreibungDialog::hideEvent(QHideEvent* event) {
    showPointer();
    if (shown_) {
        shown_ = false;
        if (Daten() != nullptr) {
            Daten()->JoystickScreenShown(false);
        }
    }
    QDialog::hideEvent(event);
}

void TBeschreibungDialog::showPointer() {
    if (pointerHidden_) {
        pointerHidden_ = false;
        QApplication::restoreOverrideCursor();
    }
}

void TBeschreibungDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (Daten() != nullptr) {
        Daten()->DrawScreenFrame(p, width(), height(), false);
    }
}

void TBeschreibungDialog::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(keys::keyCode(*event));
    event->accept();
}

void TBeschreibungDialog::FormKeyDown(int key) {
    if (key == keys::Escape) {
        done(2);
    }
    StartFromInstructions(key);
}

void TBeschreibungDialog::StartFromInstructions(int key) {
    setFocus();
    if (key == keys::Space) {
        done(1);
    }
}

void TBeschreibungDialog::reject() {
    FormKeyDown(keys::Escape);
}

} // namespace quendal
