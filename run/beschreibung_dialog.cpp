#include "run/beschreibung_dialog.h"

#include "core/program_state.h"
#include "frame/daten.h"
#include "frame/dialog_look.h"
#include "frame/host_window.h"
#include "run/run_texts.h"
#include "run/screen_metrics.h"
#include "toolkit/keys.h"

#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace quendal {
namespace {

const QColor kTextColour{196, 253, 228};

QLabel* textLabel(QWidget* parent, const char* name, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(alignment);
    label->setWordWrap(true);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTextColour);
    label->setPalette(palette);
    return label;
}

QFont textFont(int pointSize) {
    QFont font(QStringLiteral("Arial"), pointSize, QFont::Bold);
    return font;
}

} // namespace

TBeschreibungDialog::TBeschreibungDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("BeschreibungDialog"));
    setModal(true);
    look::fill(this, Qt::black);
    backpanel = new QWidget(this);
    backpanel->setObjectName(QStringLiteral("backpanel"));
    look::fill(backpanel, Qt::black);
    label1 = textLabel(backpanel, "label1", Qt::AlignCenter);
    label2 = textLabel(backpanel, "label2", Qt::AlignHCenter | Qt::AlignBottom);
    // The form reads every key before its controls do.
    preview_ = new KeyPreview(this, [this](QKeyEvent& event) {
        FormKeyDown(keys::keyCode(event));
        return true;
    });
    preview_->install();
}

TBeschreibungDialog::~TBeschreibungDialog() {
    leaveScreen();
}

int TBeschreibungDialog::instructionPointSize(int playWidth) {
    return fontScalePoints(playWidth);
}

int TBeschreibungDialog::hintPointSize(int playWidth) {
    const int size = instructionPointSize(playWidth);
    return size - size / 4;
}

void TBeschreibungDialog::FormShow() {
    const ProgramState& state = programState();
    setGeometry(0, 0, state.PlayWidth, state.PlayHeight);
    TDaten::ScreenBorders borders;
    if (Daten() != nullptr) {
        borders = Daten()->screenBorders();
    }
    const int panelWidth = width() - borders.left - borders.right;
    const int panelHeight = height() - borders.top - borders.bottom;
    backpanel->setGeometry(borders.left, borders.top, panelWidth, panelHeight);
    label1->setGeometry(70, 20, panelWidth - 140, panelHeight - 40);
    label2->setGeometry(10, panelHeight - 70, panelWidth - 20, 40);
    label1->setFont(textFont(instructionPointSize(state.PlayWidth)));
    label2->setFont(textFont(hintPointSize(state.PlayWidth)));
    label1->setText(texts::beschreibung::instructionText(
        state.runSettings.kind, state.runSettings.version, state.UiLanguage));
    label2->setText(texts::beschreibung::startHint(state.joystickActive(), state.UiLanguage));
}

void TBeschreibungDialog::FormKeyDown(int key) {
    if (key == keys::Escape) {
        done(ResultCancel);
    }
    StartFromInstructions(key);
}

void TBeschreibungDialog::StartFromInstructions(int key) {
    activateWindow();
    setFocus();
    if (key == keys::Space) {
        done(ResultOk);
    }
}

void TBeschreibungDialog::showEvent(QShowEvent* event) {
    if (!hostAttached_) {
        hostAttached_ = true;
        attachToHostWindow(this);
    }
    FormShow();
    if (!shown_) {
        shown_ = true;
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        if (Daten() != nullptr) {
            Daten()->JoystickScreenShown(true);
        }
    }
    QDialog::showEvent(event);
}

void TBeschreibungDialog::hideEvent(QHideEvent* event) {
    leaveScreen();
    QDialog::hideEvent(event);
}

void TBeschreibungDialog::leaveScreen() {
    if (!shown_) {
        return;
    }
    shown_ = false;
    QGuiApplication::restoreOverrideCursor();
    if (Daten() != nullptr) {
        Daten()->JoystickScreenShown(false);
    }
}

void TBeschreibungDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (Daten() != nullptr) {
        QPainter painter(this);
        Daten()->DrawScreenFrame(painter, width(), height(), false);
    }
}

void TBeschreibungDialog::keyPressEvent(QKeyEvent* event) {
    // Escape must not take the dialog's own way out (result 0): the key handler decides.
    FormKeyDown(keys::keyCode(*event));
    event->accept();
}

} // namespace quendal
