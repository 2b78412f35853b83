#include "shell/start_ahead.h"

#include "assets/artwork.h"
#include "core/folders.h"
#include "core/language.h"
#include "core/main_layout.h"
#include "shell/startup.h"

#include <QFile>
#include <QFontDatabase>
#include <QImageReader>
#include <QLibraryInfo>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <utility>

namespace quendal {
namespace {

// The scheme pictures of the login screen: the frame pieces, the logo and the tags' faces.
std::vector<int> loginPictures() {
    std::vector<int> pictures;
    for (int index = scheme::kLeftEdge; index <= scheme::kBottomLeft; ++index) {
        pictures.push_back(index);
    }
    for (const TagPlace& tag : kTagPlaces) {
        pictures.push_back(tag.face);
        pictures.push_back(tag.secondFace);
    }
    return pictures;
}

// Qt takes the first thread that asks for its own thread as the main thread, the one the
// application object must be made on; asked here, before the second thread starts and uses
// Qt's files and pictures.
bool mainThreadKnown() {
    return QThread::currentThread() != nullptr;
}

bool unscaled(double ratio) {
    return std::abs(ratio - 1.0) < 1e-6;
}

// The splash picture at `path` for a screen of `ratio`: the file as it is, or on a scaled
// screen the picture the build drew, drawn afresh at the ratio. Another file on a scaled
// screen is scaled to the size Qt would show it at when `scaleOther`, else left to the main
// thread. A null image when there is none.
QImage splashPicture(const QString& path, double ratio, bool scaleOther) {
    if (path.isEmpty() || !QFile::exists(path)) {
        return {};
    }
    // Read as what it is, so that no image plugin is loaded to guess.
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    if (unscaled(ratio)) {
        return reader.read();
    }
    if (QFile file(path); file.open(QIODevice::ReadOnly) &&
                          TDaten::drawnByTheBuild(QStringLiteral("splash.bmp"), file.readAll())) {
        return artwork::splashPicture(ratio);
    }
    QImage picture;
    if (scaleOther) {
        const QImage read = reader.read();
        if (!read.isNull()) {
            picture = read.scaled((QSizeF(read.size()) * ratio).toSize(), Qt::IgnoreAspectRatio,
                                  Qt::SmoothTransformation);
            picture.setDevicePixelRatio(ratio);
        }
    }
    return picture;
}

} // namespace

StartAhead::Plan StartAhead::planFor(const std::string& executableFolder,
                                     const std::vector<std::string>& args, double ratio) {
    Plan plan;
    plan.ratio = ratio;
    const std::string programFolder = locateProgramFolder(executableFolder);
    plan.splashPath = QString::fromStdString(resolveNoCase(programFolder, "data/splash.bmp"));
    const CommandLine line = parseCommandLine(args);
    if (line.debugSize) {
        return plan;
    }
    constexpr int kPlayWidth = 1024;
    const LanguageFiles files = languageFiles(languageInFolder(programFolder, 1));
    const QString layout = QString::fromStdString(resolutionFolder(kPlayWidth));
    for (const std::string& file : {files.mainBitmapList, files.schemeBitmapList}) {
        const QString name = QString::fromStdString(file);
        plan.lists.push_back(
            {TDaten::bitmapListPathIn(programFolder, kPlayWidth, name), layout + name});
    }
    return plan;
}

StartAhead::StartAhead(std::optional<Early> early)
    : mainThreadKnown_(mainThreadKnown()), early_(std::move(early)),
      planReady_(planPromise_.get_future()), splashReady_(splashPromise_.get_future()),
      xSplashReady_(xSplashPromise_.get_future()), listsReady_(listsPromise_.get_future()),
      worker_([this] { run(); }) {}

StartAhead::~StartAhead() {
    if (!planGiven_) {
        planGiven_ = true;
        planPromise_.set_value(std::nullopt);
    }
    wait();
    for (void* plugin : plugins_) {
        ::dlclose(plugin);
    }
}

void StartAhead::prepare(Plan plan) {
    if (!planGiven_) {
        planGiven_ = true;
        planPromise_.set_value(std::move(plan));
    }
}

void StartAhead::wait() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void StartAhead::run() {
    // Loaded as Qt loads them (resolved when first used, not shared with other libraries), so
    // that its own loading finds them loaded.
    if (qgetenv("QT_QPA_PLATFORM") == "xcb") {
        const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
        for (const char* plugin :
             {"/platforms/libqxcb.so",
              "/platforminputcontexts/libcomposeplatforminputcontextplugin.so"}) {
            if (void* handle =
                    ::dlopen(QFile::encodeName(plugins + QLatin1String(plugin)).constData(),
                             RTLD_LAZY | RTLD_LOCAL);
                handle != nullptr) {
                plugins_.push_back(handle);
            }
        }
    }
    FcInit();
    // The lists as far as they are known without the screen: their pictures decoded for a
    // screen that is not scaled, the usual case.
    std::vector<Plan::List> early;
    QString earlyPath;
    QImage earlySplash;
    if (early_) {
        Plan known = planFor(early_->executableFolder, early_->args, 1.0);
        earlyPath = known.splashPath;
        earlySplash = splashPicture(earlyPath, 1.0, false);
        early = std::move(known.lists);
        readLists(early, true);
    }
    std::optional<Plan> plan = planReady_.get();
    if (!plan) {
        splashPromise_.set_value({});
        xSplashPromise_.set_value(nullptr);
        listsPromise_.set_value({});
        return;
    }
    plan_ = std::move(*plan);
    const auto samePath = [](const Plan::List& a, const Plan::List& b) {
        return a.path == b.path && a.key == b.key;
    };
    const bool readEarly = unscaled(plan_.ratio) && early.size() == plan_.lists.size() &&
                           std::equal(early.begin(), early.end(), plan_.lists.begin(), samePath);
    if (readEarly) {
        listsPromise_.set_value(std::move(read_));
    }

    // The splash first: the main thread needs it soonest.
    QImage splash =
        earlySplash.isNull() || !unscaled(plan_.ratio) || plan_.splashPath != earlyPath
            ? splashPicture(plan_.splashPath, plan_.ratio, plan_.x.connection != nullptr)
            : std::move(earlySplash);
    std::unique_ptr<XSplashWindow> shown =
        plan_.x.connection != nullptr
            ? XSplashWindow::show(plan_.x.connection, plan_.x.screen, plan_.x.area, splash,
                                  plan_.x.plainSize, plan_.x.plainColour)
            : nullptr;
    // The picture is kept only for the main thread's splash, when that is the one shown.
    if (shown != nullptr) {
        splash = QImage();
    }
    xSplashPromise_.set_value(std::move(shown));
    splashPromise_.set_value(std::move(splash));

    if (!readEarly) {
        read_.clear();
        readLists(plan_.lists, unscaled(plan_.ratio));
        listsPromise_.set_value(std::move(read_));
    }

    QFontDatabase::families();
}

void StartAhead::readLists(const std::vector<Plan::List>& lists, bool decode) {
    for (const Plan::List& list : lists) {
        // The pictures at 1 are decoded only where they are shown at 1; a scaled screen has
        // them drawn afresh.
        const bool scheme = list.key.endsWith(QStringLiteral("scheme.bml"));
        read_.push_back(TDaten::readList(list.path, list.key,
                                         scheme && decode ? loginPictures() : std::vector<int>{}));
    }
}

QImage StartAhead::splash(const QString& path, double ratio) {
    if (!splashReady_.valid()) {
        return {};
    }
    QImage picture = splashReady_.get();
    if (path != plan_.splashPath || std::abs(ratio - plan_.ratio) > 1e-6) {
        return {};
    }
    return picture;
}

std::unique_ptr<XSplashWindow> StartAhead::xSplash() {
    return xSplashReady_.valid() ? xSplashReady_.get() : nullptr;
}

std::optional<TDaten::ListRead> StartAhead::list(const QString& path) {
    if (!lists_) {
        if (!listsReady_.valid()) {
            return std::nullopt;
        }
        lists_ = listsReady_.get();
    }
    for (TDaten::ListRead& read : *lists_) {
        if (read.path == path && (read.list || !read.why.isEmpty())) {
            TDaten::ListRead taken = std::move(read);
            read = TDaten::ListRead{};
            return taken;
        }
    }
    return std::nullopt;
}

} // namespace quendal
