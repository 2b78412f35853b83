#pragma once
// Work of the start that the main thread does not have to do itself, done on a second thread
// while the main thread starts Qt, shows the splash and makes the main window, in the order
// the main thread needs it. Before the application object exists: Qt's platform plugin for X
// and its input-context plugin loaded (the main thread's own loading then finds them there)
// and fontconfig's configuration and font cache loaded. Then: the splash picture read (or, on
// a scaled screen, drawn) and, on X, shown in a window of its own drawn straight through Qt's
// connection while the main thread makes the main window; the bitmap lists the start will
// load read, checked and the login screen's pictures decoded, and Qt's font database filled. The
// main thread takes what it needs when it gets there, waiting for it if it is not ready yet; what
// was prepared for another file than the one the start reads is not used, and the start reads that
// file itself, so the outcome and every message are the same as without the second thread. Qt's
// font database and fontconfig may be used from any thread; a use of them on the main thread
// meanwhile waits for them and does no work twice.

#include "frame/daten.h"
#include "toolkit/x_splash_window.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quendal {

class StartAhead {
  public:
    // What to prepare: the splash picture of `splashPath` for a screen of `ratio`, and the
    // bitmap lists (path and "<layout>/<file>" key) with the login screen's pictures.
    struct Plan {
        QString splashPath;
        double ratio = 1.0;
        struct List {
            QString path;
            QString key;
        };
        std::vector<List> lists;
        // Where the second thread shows the splash: the X connection (none: the main thread
        // shows it), the screen's number and the primary screen's place in its pixels, and
        // the splash's size without a picture.
        struct XSplash {
            xcb_connection_t* connection = nullptr;
            int screen = 0;
            QRect area;
            QSize plainSize;
            QColor plainColour;
        } x;
    };
    // What the start of this program with these arguments will read: the program folder
    // beside `executableFolder`, the play field of the command line, the language of the
    // language file. Nothing of the lists when the play field waits for the screen ("debug").
    static Plan planFor(const std::string& executableFolder, const std::vector<std::string>& args,
                        double ratio);

    // What the start will read, known before the application object exists: the program's
    // folder and its arguments (none of them Qt's own).
    struct Early {
        std::string executableFolder;
        std::vector<std::string> args;
    };
    // Starts the work that needs no application object; the platform is chosen
    // (QT_QPA_PLATFORM) already. With `early`, the bitmap lists are read meanwhile too.
    explicit StartAhead(std::optional<Early> early = std::nullopt);
    // Waits for the work to end.
    ~StartAhead();
    StartAhead(const StartAhead&) = delete;
    StartAhead& operator=(const StartAhead&) = delete;

    // Goes on with the rest once the application object exists; without it the work ends
    // after the first part.
    void prepare(Plan plan);

    // The splash picture prepared for `path` at `ratio`, once it is ready; a null image when
    // it was prepared for another, or could not be read.
    QImage splash(const QString& path, double ratio);
    // The splash the second thread shows, once it is on the screen; null when the plan gave
    // it no X connection or it could not be shown there.
    std::unique_ptr<XSplashWindow> xSplash();
    // The list read for `path`, once it is ready, given out once; nothing for any other path.
    std::optional<TDaten::ListRead> list(const QString& path);

    // Waits for the work to end (once it has ended, at once).
    void wait();

  private:
    void run();
    void readLists(const std::vector<Plan::List>& lists, bool decode);

    bool mainThreadKnown_;
    std::optional<Early> early_;
    std::vector<TDaten::ListRead> read_;
    std::promise<std::optional<Plan>> planPromise_;
    std::future<std::optional<Plan>> planReady_;
    bool planGiven_ = false;
    Plan plan_;
    std::promise<QImage> splashPromise_;
    std::future<QImage> splashReady_;
    std::promise<std::unique_ptr<XSplashWindow>> xSplashPromise_;
    std::future<std::unique_ptr<XSplashWindow>> xSplashReady_;
    std::promise<std::vector<TDaten::ListRead>> listsPromise_;
    std::future<std::vector<TDaten::ListRead>> listsReady_;
    std::optional<std::vector<TDaten::ListRead>> lists_;
    std::vector<void*> plugins_;
    std::thread worker_;
};

} // namespace quendal
