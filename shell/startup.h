#pragma once
// The start of the program: one running copy per user, the splash, the main window's
// creation handler (random seed, command line, folders, display decisions, language, play
// field, options), the data module with the bitmap lists, and the message loop.

#include <QImage>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quendal {

class HeldDisplay;
class SingleInstanceGuard;
class THaupt;

// TIntroForm, the splash: borderless, always on top, blue, 515 x 302, centred on the screen;
// when shown it takes the size of "data/splash.bmp" in the program folder (see
// locateProgramFolder), if that can be read.
class TIntroForm : public QWidget {
    Q_OBJECT
  public:
    explicit TIntroForm(QWidget* parent = nullptr);
    void FormShow();
    // Where the show handler gets the picture of a path for a screen of a pixel ratio when it
    // has been read ahead; a null image, and it reads the picture itself.
    using PictureSource = std::function<QImage(const QString& path, double ratio)>;
    void setPictureSource(PictureSource source) { pictureSource_ = std::move(source); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* Bild_;
    PictureSource pictureSource_;
};

// The folder that holds "DATA/": the executable's folder, or "<prefix>/share/quendal/" for
// an installed program whose executable lies in "<prefix>/bin/". Ends with '/'.
std::string locateProgramFolder(const std::string& executableFolder);

// Why the start-up cannot go on: the message for the user and, for the box's details, the
// technical reason.
struct StartupFailure {
    QString message;
    QString detail;
};

// The main window's creation handler, in its order: seed, deactivation handler, command line
// ("win", "debug" W H, "hwnd=" N), colour depth and full-screen decision, ProgramFolder,
// login panel, language, DataFolder (created with its parents), no user, play field (the
// size message when "debug" asks for more than the screen), options. A data folder that
// cannot be created or "debug" sizes that are not numbers end the start with a failure.
std::optional<StartupFailure> FormCreate(THaupt& haupt, const std::vector<std::string>& args,
                                         const std::string& executableFolder);

// The scale at which a play field covers as much of a screen (both in the screen's logical
// pixels) as fits: the smaller of the two ratios.
double fullScreenScale(QSize screen, QSize playField);

// Linux has no exclusive display modes. When the full-screen mode is requested, Qt's scale
// factor (QT_SCALE_FACTOR, multiplied into one the user set) is chosen before the
// application object exists so that the play field fills the primary screen as far as it
// fits; the start-up then shows it at the top-left and the rest of the screen black. The
// connection it looked through stays open in `held` until the caller's application object
// has its own (see HeldDisplay).
void prepareFullScreenScale(int& argc, char* argv[], HeldDisplay& held);

// A second start ends here, once its guard found another copy running: status 0 when that
// copy was asked to raise its window; when it could not be reached, the platform's message
// box (in the interface language) and standard error say so, and the status is 1.
int EndSecondStart(const SingleInstanceGuard& guard);

// Whether a play field not in the full-screen mode still fills the screen (both in the
// screen's logical pixels): it then lies in the full-screen surface as well, unless the user
// asked for a window ("win").
bool fillsDisplay(bool windowed, QSize playField, QSize screen);

// The program's dialogs, made once each in this order: name entry, message box, overall
// statistics (with its chart filter), single statistics, parameters, help, options and the
// statistics explanation. They belong to the main window and are wired to it: its tags, menu
// buttons and gates open them. The start makes them once the login screen's first frame is on
// the screen, or sooner when they are needed (QuendalApplication::deferStart).
class ProgramDialogs {
  public:
    explicit ProgramDialogs(THaupt& haupt);
    ~ProgramDialogs();
    ProgramDialogs(const ProgramDialogs&) = delete;
    ProgramDialogs& operator=(const ProgramDialogs&) = delete;

  private:
    struct Dialogs;
    std::unique_ptr<Dialogs> dialogs_;
};

// The program entry; returns the program's exit code.
int runQuendal(int argc, char* argv[]);

} // namespace quendal
