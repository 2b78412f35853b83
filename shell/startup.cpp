#include "shell/startup.h"

#include "assets/artwork.h"
#include "core/folders.h"
#include "core/language.h"
#include "core/options_file.h"
#include "core/program_state.h"
#include "core/random.h"
#include "core/user_files.h"
#include "frame/daten.h"
#include "frame/meldung_dialog.h"
#include "frame/meldung_message_sink.h"
#include "run/parameter_dialog.h"
#include "shell/haupt.h"
#include "shell/hilfe_dialog.h"
#include "shell/optionen_dialog.h"
#include "shell/platform_choice.h"
#include "shell/platform_message.h"
#include "shell/quendal_application.h"
#include "shell/screen_facts.h"
#include "shell/session_bus.h"
#include "shell/start_ahead.h"
#include "shell/start_flow.h"
#include "stats/einzelstatistik_dialog.h"
#include "stats/gesamtstatistik_dialog.h"
#include "stats/prints.h"
#include "stats/stat_info_dialog.h"
#include "toolkit/device_pixels.h"
#include "toolkit/frame_buffer.h"
#include "toolkit/single_instance.h"
#include "toolkit/termination_signals.h"
#include "users/text_eingabe_dialog.h"
#include "users/texts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <xcb/xcb.h>

namespace quendal {
namespace {

constexpr QSize kSplashSize{515, 302};
constexpr QColor kSplashColour{0, 0, 255};

// The splash shows before the creation handler has set ProgramFolder, so it looks for the
// program folder itself: beside the executable, or in the installed "share/quendal/".
QString splashPath() {
    const std::string folder =
        locateProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    return QString::fromStdString(resolveNoCase(folder, "data/splash.bmp"));
}

// The splash picture for a screen of the given pixel ratio: the file as it is, or, on a
// scaled screen and when the file is the one the build drew, that picture drawn afresh.
QPixmap splashPicture(const QString& path, double ratio) {
    if (std::abs(ratio - 1.0) > 1e-6) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) &&
            TDaten::drawnByTheBuild(QStringLiteral("splash.bmp"), file.readAll())) {
            return QPixmap::fromImage(artwork::splashPicture(ratio));
        }
    }
    // Read as what it is, so that no image plugin is loaded to guess.
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// Where the second thread can show the splash straight through Qt's X connection: on the
// screen of $DISPLAY that Qt uses, in the middle of the primary screen. Nothing where Qt
// does not run on X, where another display was named on the command line, or where that
// screen cannot show it.
StartAhead::Plan::XSplash xSplashPlace(const QScreen* primary, bool displayOfTheEnvironment) {
    StartAhead::Plan::XSplash place;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || primary == nullptr || !displayOfTheEnvironment) {
        return place;
    }
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    const bool parsed = xcb_parse_display(nullptr, &host, &display, &screen) != 0;
    std::free(host);
    const double ratio = primary->devicePixelRatio();
    const QRect logical = primary->geometry();
    const QRect area(QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio)),
                     (QSizeF(logical.size()) * ratio).toSize());
    if (!parsed || !XSplashWindow::canShow(x11->connection(), screen, area)) {
        return place;
    }
    place.connection = x11->connection();
    place.screen = screen;
    place.area = area;
    place.plainSize = (QSizeF(kSplashSize) * ratio).toSize();
    place.plainColour = kSplashColour;
    return place;
}

// The program's folder and arguments as the application object will see them, when they are
// sure before it exists: no argument is one of Qt's own, which Qt takes out.
std::optional<StartAhead::Early> earlyStart(int argc, char* argv[]) {
    StartAhead::Early early;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr || argv[i][0] == '-') {
            return std::nullopt;
        }
        early.args.emplace_back(argv[i]);
    }
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || executable.empty()) {
        return std::nullopt;
    }
    early.executableFolder = executable.parent_path().string();
    return early;
}

// The splash from its show until it is hidden: the second thread's window where it shows
// one, else the splash form shown and painted here.
class StartSplash {
  public:
    StartSplash(StartAhead& ahead, bool onSecondThread)
        : ahead_(ahead), onSecondThread_(onSecondThread) {}

    void show() {
        if (!onSecondThread_) {
            showForm();
        }
    }

    // Takes the splash off the screen, once it has been on it.
    void hide() {
        if (onSecondThread_) {
            onSecondThread_ = false;
            if (std::unique_ptr<XSplashWindow> shown = ahead_.xSplash(); shown == nullptr) {
                // Not shown there after all: shown here, before it goes.
                showForm();
            }
        }
        if (form_ != nullptr) {
            form_->hide();
            form_.reset();
        }
    }

  private:
    void showForm() {
        form_ = std::make_unique<TIntroForm>();
        form_->setPictureSource(
            [this](const QString& path, double ratio) { return ahead_.splash(path, ratio); });
        form_->show();
        form_->repaint();
        QCoreApplication::processEvents();
    }

    StartAhead& ahead_;
    bool onSecondThread_;
    std::unique_ptr<TIntroForm> form_;
};

} // namespace

// --- Splash --------------------------------------------------------------------------------

TIntroForm::TIntroForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("IntroForm"));
    setWindowTitle(QStringLiteral("Quendal"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSplashColour);
    setPalette(palette);
    setAutoFillBackground(true);
    resize(kSplashSize);
    Bild_ = new QLabel(this);
    Bild_->setObjectName(QStringLiteral("Bild"));
    // Placed now, so that showing the splash measures no text for a label that holds none.
    Bild_->setGeometry(QRect(QPoint(0, 0), kSplashSize));
}

void TIntroForm::showEvent(QShowEvent* event) {
    FormShow();
    QWidget::showEvent(event);
}

void TIntroForm::FormShow() {
    // Without the picture the splash stays a plain blue window of its design size.
    const QString path = splashPath();
    const double ratio = devicePixelRatioF();
    QImage ahead = pictureSource_ ? pictureSource_(path, ratio) : QImage();
    const QPixmap picture =
        !ahead.isNull() ? QPixmap::fromImage(std::move(ahead)) : splashPicture(path, ratio);
    if (!picture.isNull()) {
        Bild_->setPixmap(picture);
        Bild_->setGeometry(QRect(QPoint(0, 0), logicalSize(picture)));
        resize(logicalSize(picture));
    }
    if (const QScreen* display = QGuiApplication::primaryScreen(); display != nullptr) {
        const QRect area = display->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

// --- Folders -------------------------------------------------------------------------------

std::string locateProgramFolder(const std::string& executableFolder) {
    namespace fs = std::filesystem;
    std::string own = IncludeBackslash(executableFolder);
    std::error_code ec;
    if (fs::is_directory(programDataFolder(own), ec)) {
        return own;
    }
    std::string installed = IncludeBackslash(
        (fs::path(own).parent_path().parent_path() / "share" / "quendal").string());
    if (fs::is_directory(programDataFolder(installed), ec)) {
        return installed;
    }
    return own;
}

// --- A second start ------------------------------------------------------------------------

int EndSecondStart(const SingleInstanceGuard& guard) {
    if (guard.runningCopyReached()) {
        return 0;
    }
    // The message follows the language file, which the creation handler has not read yet.
    programState().ProgramFolder =
        locateProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    ReadLanguageFile();
    const QString detail = QStringLiteral("%1.lock").arg(guard.serverName());
    qWarning("quendal: another copy holds %s but does not answer", qPrintable(detail));
    PlatformMessage(texts::pick(texts::startup::otherCopyUnreachable),
                    PlatformMessageKind::Critical, detail);
    return 1;
}

// --- The main window's creation handler ----------------------------------------------------

std::optional<StartupFailure> FormCreate(THaupt& haupt, const std::vector<std::string>& args,
                                         const std::string& executableFolder) {
    ProgramState& state = programState();
    const CommandLine line = parseCommandLine(args);
    // The window-creation parameters come first: the owner window of "hwnd=".
    state.HostWindowHandle = line.hostWindowHandle;

    SeedRandomFromClock();
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, &haupt,
                     [&haupt](Qt::ApplicationState now) {
                         if (now != Qt::ApplicationActive) {
                             haupt.ApplicationDeactivate();
                         }
                     });

    const QScreen* display = QGuiApplication::primaryScreen();
    // The play field must fit the screen as the program sees it; whether the display counts
    // as 1024 x 768 depends on its device pixels, whatever scale the start-up chose.
    const QSize screenSize = display != nullptr ? display->geometry().size() : QSize(1024, 768);
    const QSize devicePixels = display != nullptr
                                   ? (QSizeF(screenSize) * display->devicePixelRatio()).toSize()
                                   : screenSize;
    const int colourDepth = display != nullptr ? display->depth() : 24;
    state.FullScreenMode = fullScreenRequested(line.windowed, devicePixels.width(),
                                               devicePixels.height(), colourDepth);

    state.ProgramFolder = locateProgramFolder(executableFolder);
    haupt.showLoginPanel();
    ReadLanguageFile();
    BuildExerciseTexts();

    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const std::string base = dataFolderBase(std::getenv("QUENDAL_DATA_DIR"), home.toStdString());
    state.DataFolder = composeDataFolder(base, state.ProgramFolder);
    if (!IncludeBackslash(base).empty()) {
        std::string why;
        if (!createFolder(state.DataFolder, &why)) {
            const QString folder = QString::fromStdString(state.DataFolder);
            return StartupFailure{texts::pick(texts::startup::dataFolderFailed)
                                      .arg(folder, QString::fromStdString(why)),
                                  folder + QStringLiteral(": ") + QString::fromStdString(why)};
        }
    }
    RemoveReplaceLeftovers();
    clearCurrentUser();

    state.PlayWidth = 1024;
    state.PlayHeight = 768;
    if (line.debugSize) {
        if (line.sizeInvalid) {
            return StartupFailure{texts::pick(texts::startup::debugSizeInvalid), {}};
        }
        const PlayFieldSize field = fitPlayField(line.debugWidth, line.debugHeight,
                                                 screenSize.width(), screenSize.height());
        state.PlayWidth = field.width;
        state.PlayHeight = field.height;
        if (field.reduced) {
            PlatformMessage(texts::pick(texts::startup::debugSizeReduced));
        }
    }
    LoadOptionen();
    return std::nullopt;
}

// --- Full-screen scale ---------------------------------------------------------------------

double fullScreenScale(QSize screen, QSize playField) {
    if (screen.isEmpty() || playField.isEmpty()) {
        return 1.0;
    }
    return std::min(static_cast<double>(screen.width()) / playField.width(),
                    static_cast<double>(screen.height()) / playField.height());
}

void prepareFullScreenScale(int& argc, char* argv[], HeldDisplay& held) {
    // Qt takes "-platform NAME" for itself; the program's own words are the rest.
    const CommandLine line = parseCommandLine(programArguments(argc, argv));
    if (line.windowed || line.sizeInvalid) {
        return;
    }
    // The scale is read when the application object is made, so the screen is looked at
    // first: straight from the X server where that is sure to agree with Qt, else through
    // a short-lived application object of its own.
    QSize screen;
    QSize devicePixels;
    int depth = 0;
    if (const std::optional<ScreenFacts> facts = quickScreenFacts(argc, argv, &held)) {
        screen = facts->logical;
        devicePixels = facts->device;
        depth = facts->depth;
    } else {
        // Qt's connection of the short-lived object is not the server's last one either.
        if (qgetenv("QT_QPA_PLATFORM") == "xcb") {
            held.open();
        }
        const QGuiApplication probe(argc, argv);
        const QScreen* display = QGuiApplication::primaryScreen();
        if (display == nullptr) {
            return;
        }
        screen = display->geometry().size();
        devicePixels = (QSizeF(screen) * display->devicePixelRatio()).toSize();
        depth = display->depth();
    }
    if (!fullScreenRequested(false, devicePixels.width(), devicePixels.height(), depth)) {
        return;
    }
    const QSize playField =
        line.debugSize ? QSize(line.debugWidth, line.debugHeight) : QSize(1024, 768);
    const double scale = fullScreenScale(screen, playField);
    if (std::abs(scale - 1.0) < 0.001) {
        return;
    }
    bool given = false;
    const double before = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
    qputenv("QT_SCALE_FACTOR",
            QByteArray::number((given && before > 0 ? before : 1.0) * scale, 'f', 6));
}

// --- The dialogs ---------------------------------------------------------------------------

struct ProgramDialogs::Dialogs {
    explicit Dialogs(THaupt& haupt)
        : name(&haupt), meldung(&haupt), messages(meldung), gesamtstatistik(messages, &haupt),
          einzelstatistik(nullptr, &haupt), parameter(&meldung, &haupt), hilfe(&meldung, &haupt),
          optionen(&haupt), statInfo(&haupt),
          startFlow(haupt, {&parameter, &einzelstatistik, &meldung}) {}

    TTextEingabeDialog name;
    TMeldungDialog meldung;
    MeldungMessageSink messages;
    TGesamtstatistikDialog gesamtstatistik;
    TEinzelstatistikDialog einzelstatistik;
    TParameterDialog parameter;
    THilfeDialog hilfe;
    TOptionenDialog optionen;
    TStatInfoDialog statInfo;
    StartFlow startFlow;
};

ProgramDialogs::ProgramDialogs(THaupt& haupt) : dialogs_(std::make_unique<Dialogs>(haupt)) {
    Dialogs& d = *dialogs_;
    haupt.useDialogs({&d.name, &d.meldung, &d.hilfe, &d.optionen, &d.einzelstatistik});
    // The view's print button prints what it shows; the overall view's details open it.
    d.einzelstatistik.setPrintHandler([&d] { PrintSingleStatistics(d.messages); });
    d.einzelstatistik.setStatInfoDialog(&d.statInfo);
    d.gesamtstatistik.setDetailsView([&d] { d.einzelstatistik.exec(); });
    haupt.setGesamtstatistikHandler(
        [&d] { GesamtstatistikbuttonClick(d.gesamtstatistik, d.messages); });
    haupt.setGateHandler([&d](int kind) { d.startFlow.GateClick(kind); });
}

ProgramDialogs::~ProgramDialogs() = default;

// --- Program entry -------------------------------------------------------------------------

bool fillsDisplay(bool windowed, QSize playField, QSize screen) {
    return !windowed && !playField.isEmpty() && playField == screen;
}

int runQuendal(int argc, char* argv[]) {
    // X wherever it can be reached, unless the user asked otherwise (platform_choice.h).
    choosePlatform(argc, argv);
    // No fork to look for a session bus that cannot be there (session_bus.h).
    markUnreachableSessionBus();
    // Qt takes the option out of the arguments; the splash's own window needs to know of it.
    const bool displayOptionGiven = std::any_of(argv + 1, argv + argc, [](const char* arg) {
        return arg != nullptr &&
               (std::strcmp(arg, "-display") == 0 || std::strcmp(arg, "--display") == 0);
    });
    // Meanwhile a second thread loads what Qt and the start will need (start_ahead.h).
    StartAhead ahead(earlyStart(argc, argv));
    HeldDisplay held;
    prepareFullScreenScale(argc, argv, held);
    // An error that escapes a handler is dropped there and the program goes on.
    QuendalApplication app(argc, argv);
    held.release();
    // The program ends when the main window has closed, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    // Logout (SIGTERM, SIGHUP) and Ctrl+C (SIGINT) close the main window as the exit button
    // does. One that comes during the start-up ends a message box on the screen and closes
    // the main window as soon as the message loop runs.
    const TerminationSignals terminationSignals;
    QPointer<QWidget> mainWindow;
    bool endRequested = false;
    QObject::connect(&terminationSignals, &TerminationSignals::requested, &app,
                     [&mainWindow, &endRequested] {
                         endRequested = true;
                         if (mainWindow) {
                             mainWindow->close();
                         } else {
                             QCoreApplication::exit(1);
                         }
                     });

    // One copy per user: a second start raises the first and ends before anything shows.
    SingleInstanceGuard guard;
    if (!guard.tryToRun()) {
        return EndSecondStart(guard);
    }

    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments.at(i).toStdString());
    }
    // The second thread goes on with the splash picture, the bitmap lists and the fonts, and
    // on X it shows the splash itself while this thread makes the main window.
    const QScreen* primary = QGuiApplication::primaryScreen();
    StartAhead::Plan plan =
        StartAhead::planFor(QCoreApplication::applicationDirPath().toStdString(), args,
                            primary != nullptr ? primary->devicePixelRatio() : 1.0);
    plan.x = xSplashPlace(primary, !displayOptionGiven);
    StartSplash splash(ahead, plan.x.connection != nullptr);
    ahead.prepare(std::move(plan));
    splash.show();

    QApplication::setApplicationName(QStringLiteral("Quendal"));

    THaupt haupt;
    if (const auto failure =
            FormCreate(haupt, args, QCoreApplication::applicationDirPath().toStdString())) {
        splash.hide();
        PlatformMessage(failure->message, PlatformMessageKind::Critical, failure->detail);
        return 1;
    }

    TDaten daten;
    haupt.setDaten(&daten);
    QString error;
    TDaten::setListSource([&ahead](const QString& path) { return ahead.list(path); });
    const bool listsLoaded = daten.FormCreate(&error);
    TDaten::setListSource({});
    if (!listsLoaded) {
        splash.hide();
        PlatformMessage(TDaten::loadFailureMessage(), PlatformMessageKind::Critical, error);
        return 1;
    }
    // The dialogs are made once the login screen's first frame is on the screen, or earlier
    // when the show handler needs one or a key or a mouse button is pressed before: always
    // before any user input reaches the program.
    std::optional<ProgramDialogs> dialogs;
    app.deferStart([&dialogs, &haupt] { dialogs.emplace(haupt); });
    QObject::connect(&haupt, &THaupt::dialogsNeeded, &app, &QuendalApplication::finishStart);
    QObject::connect(&haupt, &THaupt::firstFrameShown, &app, &QuendalApplication::finishStart);
    // Gone with its window and picture once hidden: it never shows again.
    splash.hide();

    QObject::connect(&guard, &SingleInstanceGuard::raiseRequested, &haupt,
                     &THaupt::restoreAndRaise);
    int exitCode = 0;
    QObject::connect(&haupt, &THaupt::quitRequested, &app, [&exitCode](int code) {
        exitCode = code;
        // Carried out once the event loop runs, even when asked for during the first show.
        QMetaObject::invokeMethod(
            qApp, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    });
    QObject::connect(&haupt, &THaupt::closed, &app, [&exitCode] {
        const int code = exitCode;
        QMetaObject::invokeMethod(
            qApp, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    });

    mainWindow = &haupt;
    if (endRequested) {
        QMetaObject::invokeMethod(&haupt, &QWidget::close, Qt::QueuedConnection);
    }

    // The full-screen mode, or a play field as large as the screen: the display's full-screen
    // state, so that no panel of the desktop covers the play field or pushes it down.
    const ProgramState& state = programState();
    const QScreen* display = QGuiApplication::primaryScreen();
    if (state.FullScreenMode ||
        (display != nullptr &&
         fillsDisplay(parseCommandLine(args).windowed, QSize(state.PlayWidth, state.PlayHeight),
                      display->geometry().size()))) {
        haupt.showDisplaySurface();
    }
    haupt.show();
    mapFrameAhead(*haupt.window());
    haupt.activateWindow();
    return QApplication::exec();
}

} // namespace quendal
