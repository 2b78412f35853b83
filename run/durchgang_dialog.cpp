#include "run/durchgang_dialog.h"

#include "core/program_state.h"
#include "core/run_layout.h"
#include "frame/daten.h"
#include "frame/host_window.h"
#include "frame/meldung_dialog.h"
#include "run/screen_metrics.h"
#include "toolkit/bitmap_panel.h"
#include "toolkit/keys.h"
#include "toolkit/picture_slot.h"
#include "toolkit/wave_player.h"

#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace quendal {
namespace {

const QColor kPlayLabelColour{196, 253, 228};
const QColor kZeitColour{255, 255, 0};
const QColor kCountColour{0, 255, 255};
const QColor kBarColour{255, 0, 0};

constexpr int kHauptBackground = 88;
constexpr int kSlotSizePicture = 1;
constexpr int kBarThickness = 8;
constexpr int kBarInset = 6;
constexpr int kPlayLabelGap = 4; // between the play label and the red rectangle

QFont arialBold(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(points);
    return font;
}

void colour(QWidget* widget, const QColor& text, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
}

PictureSlot* makeSlot(QWidget* parent, const char* name) {
    auto* slot = new PictureSlot(parent);
    slot->setObjectName(QString::fromLatin1(name));
    slot->hide();
    return slot;
}

QLabel* makeCounter(QWidget* parent, const char* name, const QColor& text, Qt::Alignment align) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(align | Qt::AlignVCenter);
    colour(label, text, Qt::black);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

TDurchgangDialog::TDurchgangDialog(TMeldungDialog* messageBox, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), messageBox_(messageBox),
      engine_(*this, *this, StopWatch_) {
    setObjectName(QStringLiteral("DurchgangDialog"));
    setWindowTitle(QStringLiteral("Quendal"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    colour(this, kPlayLabelColour, Qt::black);

    backpanel_ = new BitmapPanel(this);
    backpanel_->setObjectName(QStringLiteral("backpanel"));
    backpanel_->setColor(Qt::black);
    Oben_ = makeSlot(backpanel_, "Oben");
    Links_ = makeSlot(backpanel_, "Links");
    Rechts_ = makeSlot(backpanel_, "Rechts");
    Unten_ = makeSlot(backpanel_, "Unten");
    Mitte_ = makeSlot(backpanel_, "Mitte");
    XOben_ = makeSlot(backpanel_, "XOben");
    XLinks_ = makeSlot(backpanel_, "XLinks");
    XRechts_ = makeSlot(backpanel_, "XRechts");
    XUnten_ = makeSlot(backpanel_, "XUnten");

    static constexpr std::array<const char*, 4> kBarNames{"oklabel1", "OKLabel2", "OKlabel3",
                                                          "oklabel4"};
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        auto* bar = new QLabel(this);
        bar->setObjectName(QString::fromLatin1(kBarNames.at(i)));
        colour(bar, kBarColour, kBarColour);
        bar->setAutoFillBackground(true);
        bar->hide();
        bars_.at(i) = bar;
    }

    Zeitlabel_ = makeCounter(this, "Zeitlabel", kZeitColour, Qt::AlignRight);
    Countlabel_ = makeCounter(this, "Countlabel", kCountColour, Qt::AlignLeft);
    SpielartLabel_ = new QLabel(this);
    SpielartLabel_->setObjectName(QStringLiteral("SpielartLabel"));
    SpielartLabel_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    colour(SpielartLabel_, kPlayLabelColour, Qt::black);

    DerTimer_.setObjectName(QStringLiteral("DerTimer"));
    DerTimer_.setSingleShot(true);
    DerTimer_.setTimerType(Qt::PreciseTimer);
    connect(&DerTimer_, &QTimer::timeout, this, &TDurchgangDialog::DerTimerTimer);
}

TDurchgangDialog::~TDurchgangDialog() {
    FormClose();
}

void TDurchgangDialog::setSpielart(const QString& word) {
    SpielartLabel_->setText(word);
}

// --- Showing and closing -------------------------------------------------------------------

void TDurchgangDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TDurchgangDialog::FormShow() {
    closing_ = false;
    attachToHostWindow(this);
    layoutScreen();
    preparePictures();
    if (!cursorHidden_) {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        cursorHidden_ = true;
    }
    if (TDaten* daten = Daten(); daten != nullptr) {
        daten->JoystickScreenShown(true);
    }
    if (programState().runSettings.feedback == 2) {
        WavePlayer::instance().open(); // the first wrong answer's sound must not be late
    }
    activateWindow();
    setFocus();
    stamps_.attach(this);
    engine_.FormShow();
}

void TDurchgangDialog::FormClose() {
    DerTimer_.stop();
    stamps_.detach();
    timerTag_ = 0;
    if (cursorHidden_) {
        QGuiApplication::restoreOverrideCursor();
        cursorHidden_ = false;
    }
    if (TDaten* daten = Daten(); daten != nullptr) {
        daten->JoystickScreenShown(false);
    }
}

void TDurchgangDialog::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TDurchgangDialog::reject() {
    engine_.FormKeyDown(kKeyEscape);
}

void TDurchgangDialog::Close(int modalResult) {
    // The engine closes from inside its own handlers; the screen goes once they are done.
    if (closing_) {
        return;
    }
    closing_ = true;
    QMetaObject::invokeMethod(
        this, [this, modalResult] { done(modalResult); }, Qt::QueuedConnection);
}

void TDurchgangDialog::preparePictures() {
    pictures_.clear();
    const TDaten* daten = Daten();
    if (daten == nullptr) {
        return;
    }
    const BitmapList& haupt = daten->HauptBMListe;
    pictures_.reserve(static_cast<std::size_t>(haupt.count()));
    for (int i = 0; i < haupt.count(); ++i) {
        pictures_.push_back(haupt.pixmap(i));
    }
    if (kHauptBackground < haupt.count()) {
        backpanel_->setBitmap(pictures_.at(kHauptBackground));
    }
}

// --- Layout --------------------------------------------------------------------------------

void TDurchgangDialog::layoutScreen() {
    const ProgramState& state = programState();
    const TDaten* daten = Daten();
    setGeometry(0, 0, state.PlayWidth, state.PlayHeight);
    const int cw = width();
    const int ch = height();
    const TDaten::ScreenBorders border =
        daten != nullptr ? daten->screenBorders() : TDaten::ScreenBorders{};
    const QSize panel =
        daten != nullptr ? daten->HauptBMListe.image(kHauptBackground).size() : QSize();
    const QSize picture =
        daten != nullptr ? daten->HauptBMListe.image(kSlotSizePicture).size() : QSize();

    backpanel_->setGeometry((cw - panel.width()) / 2, (ch - panel.height()) / 2, panel.width(),
                            panel.height());
    const RunScreenGeometry& geometry = runScreenGeometry(state.PlayWidth);
    const std::array<PictureSlot*, 9> slotList{Oben_,  Links_,  Rechts_,  Unten_, Mitte_,
                                               XOben_, XLinks_, XRechts_, XUnten_};
    for (std::size_t i = 0; i < slotList.size(); ++i) {
        const SlotPlace& place = geometry.places.at(i);
        slotList.at(i)->setGeometry(place.left, place.top, picture.width(), picture.height());
        slotList.at(i)->hide();
    }

    // The red bars, 8 pixels thick, 6 pixels inside the frame's inner edge.
    const int innerHeight = ch - border.top - border.bottom - 2 * kBarInset;
    const int innerWidth = cw - border.left - border.right - 2 * kBarInset;
    bars_[0]->setGeometry(border.left + kBarInset, border.top + kBarInset, kBarThickness,
                          innerHeight);
    bars_[1]->setGeometry(cw - border.right - kBarInset - kBarThickness, border.top + kBarInset,
                          kBarThickness, innerHeight);
    bars_[2]->setGeometry(border.left + kBarInset, border.top + kBarInset, innerWidth,
                          kBarThickness);
    bars_[3]->setGeometry(border.left + kBarInset, ch - border.bottom - kBarInset - kBarThickness,
                          innerWidth, kBarThickness);
    for (QLabel* bar : bars_) {
        bar->hide();
    }

    // The play label's right-aligned word stays whole on the screen: the label begins at the
    // panel's right edge and ends a little inside the red rectangle, which never crosses it.
    SpielartLabel_->setFont(arialBold(fontScalePoints(state.PlayWidth)));
    const int labelLeft = backpanel_->geometry().right() + 1;
    const int labelRight = cw - border.right - kBarInset - kBarThickness - kPlayLabelGap;
    const int labelHeight = SpielartLabel_->fontMetrics().height() + 4;
    SpielartLabel_->setGeometry(labelLeft, 2 * border.top, std::max(0, labelRight - labelLeft),
                                labelHeight);

    const CounterMetrics counters = counterMetrics(layoutClass(state.PlayWidth));
    const int top = ch - border.bottom + geometry.plateOffset + counters.drop;
    Zeitlabel_->setFont(arialBold(counters.fontPoints));
    Countlabel_->setFont(arialBold(counters.fontPoints));
    Zeitlabel_->setGeometry(cw / 2 + counters.zeitLeft, top, counters.zeitWidth, counters.height);
    Countlabel_->setGeometry(cw / 2 + counters.countLeft, top, counters.countWidth,
                             counters.height);
    Zeitlabel_->clear();
    Countlabel_->clear();
}

void TDurchgangDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (const TDaten* daten = Daten(); daten != nullptr) {
        daten->DrawScreenFrame(p, width(), height(), true);
    }
}

// --- The engine's view ---------------------------------------------------------------------

void TDurchgangDialog::ShowTargets(const TargetSlots& targetSlots) {
    const std::array<PictureSlot*, 4> targets{Oben_, Links_, Rechts_, Unten_};
    for (std::size_t s = 0; s < targets.size(); ++s) {
        const auto picture = static_cast<std::size_t>(targetSlots.at(s + 1).picture);
        if (picture < pictures_.size()) {
            targets.at(s)->setPixmap(pictures_[picture]);
        }
        targets.at(s)->show();
    }
}

void TDurchgangDialog::HideTargets() {
    for (PictureSlot* target : {Oben_, Links_, Rechts_, Unten_}) {
        target->hide();
    }
}

void TDurchgangDialog::ShowCentre(int32_t picture) {
    if (static_cast<std::size_t>(picture) < pictures_.size()) {
        Mitte_->setPixmap(pictures_[static_cast<std::size_t>(picture)]);
    }
    Mitte_->show();
    presentNow();
}

void TDurchgangDialog::presentNow() {
    // The targets and the stimulus are painted now, not at the next turn of the event loop,
    // and the frame reaches the display before the engine starts its stop watch, which starts
    // at the time the frame was there.
    stamps_.beginFrame();
    backpanel_->repaint();
    StopWatch_.StampStart(stamps_.present());
}

void TDurchgangDialog::HideCentre() {
    Mitte_->hide();
}

void TDurchgangDialog::ShowIntermediate(int direction, int32_t picture) {
    const std::array<PictureSlot*, 4> places{XOben_, XLinks_, XRechts_, XUnten_};
    if (direction < 1 || direction > 4) {
        return;
    }
    PictureSlot* place = places.at(static_cast<std::size_t>(direction - 1));
    if (static_cast<std::size_t>(picture) < pictures_.size()) {
        place->setPixmap(pictures_[static_cast<std::size_t>(picture)]);
    }
    place->show();
}

void TDurchgangDialog::HideIntermediates() {
    for (PictureSlot* place : {XOben_, XLinks_, XRechts_, XUnten_}) {
        place->hide();
    }
}

void TDurchgangDialog::SetZeitlabel(const std::string& text) {
    Zeitlabel_->setText(QString::fromStdString(text));
}

void TDurchgangDialog::SetCountlabel(const std::string& text) {
    Countlabel_->setText(QString::fromStdString(text));
}

void TDurchgangDialog::SetRedBarsVisible(bool visible) {
    for (QLabel* bar : bars_) {
        bar->setVisible(visible);
    }
}

void TDurchgangDialog::PlayWrongSound() {
    if (const TDaten* daten = Daten(); daten != nullptr) {
        WavePlayer::instance().play(daten->WaveFalsch);
    }
}

void TDurchgangDialog::ShowEarlyEscapeMessage(const std::string& text, const std::string& caption) {
    if (messageBox_ == nullptr) {
        if (ownMessageBox_ == nullptr) {
            ownMessageBox_ = new TMeldungDialog(this);
        }
        messageBox_ = ownMessageBox_;
    }
    // The pointer shows while the user reads the note.
    if (cursorHidden_) {
        QGuiApplication::restoreOverrideCursor();
        cursorHidden_ = false;
    }
    messageBox_->Meldungsfenster(QString::fromStdString(text), QString::fromStdString(caption),
                                 false, true, 4);
}

// --- Timer and input -----------------------------------------------------------------------

void TDurchgangDialog::Start(int intervalMs, int tag) {
    timerTag_ = tag;
    DerTimer_.start(intervalMs);
}

void TDurchgangDialog::Stop() {
    DerTimer_.stop();
    timerTag_ = 0;
}

void TDurchgangDialog::DerTimerTimer() {
    engine_.DerTimerTimer(timerTag_);
}

void TDurchgangDialog::keyPressEvent(QKeyEvent* event) {
    // Every key-down, repeats included, goes to the engine; a held key cannot answer twice.
    // A key that answers stops the watch at the key event's own time.
    event->accept();
    StopWatch_.StampStop(stamps_.eventTime(event->timestamp(), std::chrono::steady_clock::now()));
    engine_.FormKeyDown(keys::keyCode(*event));
    StopWatch_.StampStop(std::nullopt);
}

void TDurchgangDialog::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    // A held key's repeats come as release-press pairs; they release nothing.
    if (event->isAutoRepeat()) {
        return;
    }
    engine_.FormKeyUp(keys::keyCode(*event));
}

void TDurchgangDialog::HandleDirection(int key) {
    // A direction of the stick that answers stops the watch at the time the stick moved.
    const TDaten* daten = Daten();
    StopWatch_.StampStop(daten != nullptr ? daten->Joystick.moveTime() : std::nullopt);
    engine_.HandleDirection(key);
    StopWatch_.StampStop(std::nullopt);
}

void TDurchgangDialog::ReleaseDirection() {
    engine_.ReleaseDirection();
}

} // namespace quendal
