#include "shell/haupt.h"

#include "core/language.h"
#include "core/main_layout.h"
#include "core/options_file.h"
#include "core/program_state.h"
#include "core/user_files.h"
#include "frame/daten.h"
#include "frame/meldung_dialog.h"
#include "frame/meldung_message_sink.h"
#include "shell/hilfe_dialog.h"
#include "shell/optionen_dialog.h"
#include "shell/platform_message.h"
#include "stats/einzelstatistik_dialog.h"
#include "toolkit/bitmap_panel.h"
#include "toolkit/display_sync.h"
#include "toolkit/image_button.h"
#include "toolkit/keys.h"
#include "users/login.h"
#include "users/text_eingabe_dialog.h"
#include "users/texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace quendal {
namespace {

const QColor kFontColour{196, 253, 228};
const QColor kPanelFontColour{210, 220, 240};
const QColor kPanelColour{39, 39, 39};

QFont arialBold() {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

ImageButton* makeButton(QWidget* parent, const char* name) {
    auto* button = new ImageButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCaptionColor(kPanelFontColour);
    return button;
}

QLabel* makeImage(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

PictureSize sizeOf(QSize size) {
    return {size.width(), size.height()};
}

QRect rectOf(const Place& place) {
    return {place.left, place.top, place.width, place.height};
}

// A face as large as its place: as drawn when the sizes agree, else scaled smoothly.
QImage faceFor(const QImage& face, const Place& place) {
    if (face.isNull() || face.size() == QSize(place.width, place.height)) {
        return face;
    }
    return face.scaled(place.width, place.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A hint line whole in its box: the panel's font, made smaller only as far as the box needs.
void placeHint(QLabel* hint, const QFont& panelFont, const Place& place) {
    QFont font = panelFont;
    for (int pixels = panelFont.pixelSize(); pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(hint->text()) <= place.width &&
            metrics.height() <= place.height) {
            break;
        }
    }
    hint->setFont(font);
    hint->setGeometry(rectOf(place));
}

} // namespace

THaupt::THaupt(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Haupt"));
    setWindowTitle(QStringLiteral("Quendal"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setTextColour(this, kFontColour);

    Anmeldepanel_ = new BitmapPanel(this);
    Anmeldepanel_->setObjectName(QStringLiteral("Anmeldepanel"));
    Anmeldepanel_->setColor(kPanelColour);
    QFont loginFont = arialBold();
    loginFont.setPixelSize(16);
    Anmeldepanel_->setFont(loginFont);
    setTextColour(Anmeldepanel_, kPanelFontColour);
    B1_ = makeImage(Anmeldepanel_, "B1");
    label2_ = new QLabel(Anmeldepanel_);
    label2_->setObjectName(QStringLiteral("label2"));
    LMDSimpleLabel1_ = new QLabel(Anmeldepanel_);
    LMDSimpleLabel1_->setObjectName(QStringLiteral("LMDSimpleLabel1"));
    for (QLabel* hint : {label2_, LMDSimpleLabel1_}) {
        hint->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    static constexpr std::array<const char*, 4> kKeyNames{"Key1", "Key2", "Key3", "Key4"};
    for (int i = 0; i < kTagCount; ++i) {
        ImageButton* key = makeButton(Anmeldepanel_, kKeyNames.at(static_cast<size_t>(i)));
        const TagPlace& place = kTagPlaces.at(static_cast<size_t>(i));
        key->move(place.left, place.top);
        key->installEventFilter(this);
        const int tag = i + 1;
        connect(key, &ImageButton::clicked, this, [this, tag] { KeyClick(tag); });
        keys_.at(static_cast<size_t>(i)) = key;
    }

    backpanel_ = new BitmapPanel(this);
    backpanel_->setObjectName(QStringLiteral("backpanel"));
    backpanel_->setColor(kPanelColour);
    backpanel_->setFont(arialBold());
    setTextColour(backpanel_, kPanelFontColour);
    Logo1_ = makeImage(backpanel_, "Logo1");
    Tor1_ = makeButton(backpanel_, "Tor1");
    Tor2_ = makeButton(backpanel_, "Tor2");
    Einstellungenbutton_ = makeButton(backpanel_, "Einstellungenbutton");
    Einzelstatistikbutton_ = makeButton(backpanel_, "Einzelstatistikbutton");
    Gesamtstatistikbutton_ = makeButton(backpanel_, "Gesamtstatistikbutton");
    Hilfebutton_ = makeButton(backpanel_, "Hilfebutton");
    Exitbutton_ = makeButton(backpanel_, "Exitbutton");
    Benutzerbutton_ = makeButton(backpanel_, "Benutzerbutton");
    connect(Tor1_, &ImageButton::clicked, this, &THaupt::Tor1Click);
    connect(Tor2_, &ImageButton::clicked, this, &THaupt::Tor2Click);
    connect(Einstellungenbutton_, &ImageButton::clicked, this, &THaupt::EinstellungenbuttonClick);
    connect(Einzelstatistikbutton_, &ImageButton::clicked, this,
            &THaupt::EinzelstatistikbuttonClick);
    connect(Gesamtstatistikbutton_, &ImageButton::clicked, this,
            &THaupt::GesamtstatistikbuttonClick);
    connect(Hilfebutton_, &ImageButton::clicked, this, &THaupt::HilfebuttonClick);
    connect(Exitbutton_, &ImageButton::clicked, this, &THaupt::ExitbuttonClick);

    showLoginPanel();
}

THaupt::~THaupt() {
    if (DXDraw_) {
        DXDraw_->removeEventFilter(this);
        // The surface goes with this window, not this window with the surface.
        if (parentWidget() == DXDraw_.get()) {
            setParent(nullptr);
        }
    }
    delete hostWindow_;
}

void THaupt::useDialogs(const Dialogs& dialogs) {
    meldung_ = dialogs.meldung;
    login_ = nullptr;
    if (TTextEingabeDialog* name = dialogs.name; name != nullptr) {
        login_ = [name](int tag, bool rename) { return LoginByTag(tag, rename, *name); };
    }
    einstellungen_ = nullptr;
    if (TOptionenDialog* optionen = dialogs.optionen; optionen != nullptr) {
        einstellungen_ = [optionen] { quendal::EinstellungenbuttonClick(*optionen); };
    }
    hilfe_ = nullptr;
    if (THilfeDialog* hilfe = dialogs.hilfe; hilfe != nullptr) {
        hilfe_ = [hilfe] { hilfe->exec(); };
    }
    einzelstatistik_ = nullptr;
    if (TEinzelstatistikDialog* view = dialogs.einzelstatistik;
        view != nullptr && dialogs.meldung != nullptr) {
        einzelstatistik_ = [view, meldung = dialogs.meldung] {
            MeldungMessageSink messages(*meldung);
            quendal::EinzelstatistikbuttonClick(*view, messages);
        };
    }
}

void THaupt::showLoginPanel() {
    Anmeldepanel_->show();
    backpanel_->hide();
    Benutzerbutton_->hide();
    loggedIn_ = false;
}

// --- Showing -------------------------------------------------------------------------------

void THaupt::showEvent(QShowEvent* event) {
    if (!shownOnce_) {
        shownOnce_ = true;
        attachToHostWindow();
        FormShow();
    }
    QWidget::showEvent(event);
}

void THaupt::FormShow() {
    PrepareUserTags();
    ApplyMainTexts();
    RunDisplayChecks();
    layoutWindow();
}

void THaupt::PrepareUserTags() {
    const UserTagsPrepared prepared = prepareUserTagFiles();
    bool failed = false;
    for (int i = 0; i < kTagCount; ++i) {
        if (prepared.resultFileReady.at(static_cast<size_t>(i))) {
            continue;
        }
        if (!failed) {
            // The message box is one of the dialogs the start makes after the first frame.
            emit dialogsNeeded();
        }
        failed = true;
        const QString text = texts::pick(texts::login::createError);
        const QString caption = texts::pick(texts::kHinweis);
        if (meldung_ != nullptr) {
            meldung_->Meldungsfenster(text, caption, false, true, 6);
        } else {
            PlatformMessage(text, PlatformMessageKind::Critical);
        }
    }
    for (int i = 0; i < kTagCount; ++i) {
        const std::string& name = prepared.names.at(static_cast<size_t>(i));
        keys_.at(static_cast<size_t>(i))
            ->setText(name.empty() ? texts::pick(texts::login::unbenutzt)
                                   : QString::fromStdString(name));
    }
    if (failed) {
        // The program ends once its start has finished.
        emit quitRequested(1);
    }
}

void THaupt::ApplyMainTexts() {
    BuildExerciseTexts();
    Einstellungenbutton_->setText(texts::pick(texts::haupt::Einstellungenbutton));
    Einzelstatistikbutton_->setText(texts::pick(texts::haupt::Einzelstatistikbutton));
    Gesamtstatistikbutton_->setText(texts::pick(texts::haupt::Gesamtstatistikbutton));
    Hilfebutton_->setText(texts::pick(texts::haupt::Hilfebutton));
    Exitbutton_->setText(texts::pick(texts::haupt::Exitbutton));
    label2_->setText(texts::pick(texts::login::label2));
    LMDSimpleLabel1_->setText(texts::pick(texts::login::LMDSimpleLabel1));
}

void THaupt::RunDisplayChecks() {
    ProgramState& state = programState();
    QScreen* display = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (display != nullptr) {
        const QString warning = texts::colourDepthWarning(display->depth(), state.UiLanguage);
        if (!warning.isEmpty()) {
            PlatformMessage(warning, PlatformMessageKind::Warning);
        }
    }
    hideTaskbarButton();
    state.JoystickPresent = false;
    // Looked for as soon as the window's first frame is on the screen (see firstFrameOut):
    // starting SDL takes longer than the rest of the start, and nothing can use the
    // joystick before a user has logged in.
    joystickPending_ = daten_ != nullptr;
}

void THaupt::firstFrameOut() {
    // On the screen once the display has drawn it: what follows waits for that, not the display
    // for it.
    waitForDisplay();
    emit firstFrameShown();
    if (joystickPending_) {
        joystickPending_ = false;
        detectJoystick();
    }
}

void THaupt::detectJoystick() {
    if (daten_ != nullptr) {
        // Captured for the program's life, with its rest position read once now. It is polled
        // only while a screen that takes it is shown.
        programState().JoystickPresent = daten_->Joystick.open(0);
    }
}

void THaupt::applyFaces() {
    if (daten_ == nullptr) {
        return;
    }
    const BitmapList& scheme = daten_->SchemeBMPliste;
    Anmeldepanel_->setBitmap(scheme, scheme::kPanelBackground);
    backpanel_->setBitmap(scheme, scheme::kPanelBackground);
    B1_->setPixmap(scheme.pixmap(scheme::kLogo));
    Tor1_->setFaces(scheme, scheme::kTor1Face, 2);
    Tor2_->setFaces(scheme, scheme::kTor2Face, 2);
    for (ImageButton* button :
         {Einstellungenbutton_, Einzelstatistikbutton_, Gesamtstatistikbutton_, Hilfebutton_,
          Exitbutton_, Benutzerbutton_}) {
        button->setFaces(scheme, scheme::kMenuFaces, 3);
    }
    Logo1_->setPixmap(scheme.pixmap(scheme::kLogo));
}

void THaupt::layoutWindow() {
    const ProgramState& state = programState();
    applyFaces();
    setGeometry(0, 0, state.PlayWidth, state.PlayHeight);

    MainLayoutPictures pictures;
    if (daten_ != nullptr) {
        const BitmapList& s = daten_->SchemeBMPliste;
        pictures.menuButton = sizeOf(s.size(scheme::kMenuButton));
        pictures.leftEdge = sizeOf(s.size(scheme::kLeftEdge));
        pictures.topEdge = sizeOf(s.size(scheme::kTopEdge));
        pictures.logo = sizeOf(s.size(scheme::kLogo));
        pictures.rightEdge = sizeOf(s.size(scheme::kRightEdge));
        pictures.bottomEdge = sizeOf(s.size(scheme::kBottomEdge));
        pictures.gate = sizeOf(s.size(scheme::kTor1Face));
    }
    const MainLayout layout =
        computeMainLayout(pictures, state.PlayWidth, state.PlayHeight, state.PlayWidth);
    Anmeldepanel_->setGeometry(rectOf(layout.panel));
    layoutLoginPanel(layout.panel.width, layout.panel.height);
    backpanel_->setGeometry(rectOf(layout.panel));
    Logo1_->setGeometry(rectOf(layout.logo));
    Tor1_->setGeometry(rectOf(layout.tor1));
    Tor2_->setGeometry(rectOf(layout.tor2));
    Einstellungenbutton_->setGeometry(rectOf(layout.einstellungen));
    Einzelstatistikbutton_->setGeometry(rectOf(layout.einzelstatistik));
    Gesamtstatistikbutton_->setGeometry(rectOf(layout.gesamtstatistik));
    Hilfebutton_->setGeometry(rectOf(layout.hilfe));
    Benutzerbutton_->setGeometry(rectOf(layout.benutzer));
    Exitbutton_->setGeometry(rectOf(layout.exit));

    QFont menuFont = arialBold();
    menuFont.setPointSize(layout.fontPoints);
    backpanel_->setFont(menuFont);
    for (ImageButton* button : {Benutzerbutton_, Einstellungenbutton_, Einzelstatistikbutton_,
                                Gesamtstatistikbutton_, Hilfebutton_, Exitbutton_}) {
        button->setFont(menuFont);
    }
    update();
}

void THaupt::layoutLoginPanel(int panelWidth, int panelHeight) {
    // The tags' faces come from the scheme list of the play field's size; the design places
    // made for 1024 x 768 hold where everything fits, else the panel is laid out afresh.
    PictureSize tag{232, 100};
    PictureSize logo;
    if (daten_ != nullptr) {
        const BitmapList& s = daten_->SchemeBMPliste;
        tag = sizeOf(s.size(kTagPlaces[0].face));
        logo = sizeOf(s.size(scheme::kLogo));
    }
    const LoginLayout login = computeLoginLayout(tag, logo, panelWidth, panelHeight);
    for (int i = 0; i < kTagCount; ++i) {
        const auto index = static_cast<size_t>(i);
        const Place& place = login.tags.at(index);
        ImageButton* key = keys_.at(index);
        if (daten_ != nullptr) {
            const BitmapList& s = daten_->SchemeBMPliste;
            const TagPlace& faces = kTagPlaces.at(index);
            if (s.size(faces.face) == QSize(place.width, place.height) &&
                faces.secondFace == faces.face + 1) {
                key->setFaces(s, faces.face, 2); // as drawn, at the pixels of the screen
            } else {
                key->setFaces(faceFor(s.image(faces.face), place),
                              faceFor(s.image(faces.secondFace), place));
            }
        }
        key->setGeometry(rectOf(place));
    }
    B1_->setGeometry(rectOf(login.logo));
    placeHint(label2_, Anmeldepanel_->font(), login.label2);
    placeHint(LMDSimpleLabel1_, Anmeldepanel_->font(), login.lmdSimpleLabel1);
}

void THaupt::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (daten_ == nullptr) {
        return;
    }
    daten_->DrawMainFrame(p, width(), height());
    if (!firstFramePainted_) {
        firstFramePainted_ = true;
        // After this frame has gone to the display.
        QTimer::singleShot(0, this, &THaupt::firstFrameOut);
    }
}

void THaupt::focusInEvent(QFocusEvent* event) {
    event->accept();
}

void THaupt::focusOutEvent(QFocusEvent* event) {
    event->accept();
}

// --- Keys, buttons and tags ----------------------------------------------------------------

void THaupt::keyPressEvent(QKeyEvent* event) {
    if (keys::keyCode(*event) == keys::Escape) {
        event->accept();
        ExitbuttonClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THaupt::ExitbuttonClick() {
    close();
}

void THaupt::EinstellungenbuttonClick() {
    if (einstellungen_) {
        einstellungen_();
    }
}

void THaupt::HilfebuttonClick() {
    if (hilfe_) {
        hilfe_();
    }
}

void THaupt::ShowMenuButtons(bool visible) {
    for (ImageButton* button : {Einstellungenbutton_, Einzelstatistikbutton_,
                                Gesamtstatistikbutton_, Hilfebutton_, Exitbutton_, Tor1_, Tor2_}) {
        button->setVisible(visible);
    }
}

void THaupt::Tor1Click() {
    if (gate_) {
        gate_(1);
    }
}

void THaupt::Tor2Click() {
    if (gate_) {
        gate_(2);
    }
}

void THaupt::GesamtstatistikbuttonClick() {
    if (gesamtstatistik_) {
        gesamtstatistik_();
    }
}

void THaupt::EinzelstatistikbuttonClick() {
    if (einzelstatistik_) {
        einzelstatistik_();
    }
}

void THaupt::KeyClick(int tag) {
    if (login_ && login_(tag, false)) {
        switchToMenu();
    }
}

void THaupt::KeyMouseDown(int tag, Qt::MouseButton button) {
    if (button == Qt::RightButton && login_ && login_(tag, true)) {
        switchToMenu();
    }
}

void THaupt::switchToMenu() {
    Anmeldepanel_->hide();
    backpanel_->show();
    loggedIn_ = true;
    setFocus();
}

bool THaupt::eventFilter(QObject* watched, QEvent* event) {
    if (DXDraw_ && watched == DXDraw_.get() && event->type() == QEvent::Close && !closing_) {
        // The desktop closes the surface the main window lies in: the exit button's way.
        event->ignore();
        close();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (DXDraw_ && watched == DXDraw_.get()) {
            // A click on the black surface never buries the play field.
            restoreAndRaise();
            return true;
        }
        for (int i = 0; i < kTagCount; ++i) {
            if (watched == keys_.at(static_cast<size_t>(i))) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::RightButton) {
                    KeyMouseDown(i + 1, mouse->button());
                    return true;
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- Closing -------------------------------------------------------------------------------

void THaupt::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    FormCloseQuery();
    FormClose();
    event->accept();
    if (DXDraw_) {
        DXDraw_->hide();
    }
    emit closed();
}

void THaupt::FormCloseQuery() {
    hideTaskbarButton();
}

void THaupt::FormClose() {
    // Failures are not reported: the program is ending.
    WriteUserName();
    SaveOptionen();
}

} // namespace quendal
