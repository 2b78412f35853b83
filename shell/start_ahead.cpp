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

bool unscaled(double ratio) {
    return std::abs(ratio - 1.0) < 1e-6;
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

StartAhead::StartAhead()
    : planReady_(planPromise_.get_future()), splashReady_(splashPromise_.get_future()),
      listsReady_(listsPromise_.get_future()), worker_([this] { run(); }) {}

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
    std::optional<Plan> plan = planReady_.get();
    if (!plan) {
        splashPromise_.set_value({});
        listsPromise_.set_value({});
        return;
    }
    plan_ = std::move(*plan);

    // The splash first: the main thread needs it soonest.
    QImage splash;
    if (!plan_.splashPath.isEmpty()) {
        if (unscaled(plan_.ratio)) {
            // Read as what it is, so that no image plugin is loaded to guess.
            QImageReader reader(plan_.splashPath, "bmp");
            reader.setAutoDetectImageFormat(false);
            splash = reader.read();
        } else if (QFile file(plan_.splashPath);
                   file.open(QIODevice::ReadOnly) &&
                   TDaten::drawnByTheBuild(QStringLiteral("splash.bmp"), file.readAll())) {
            splash = artwork::splashPicture(plan_.ratio);
        }
    }
    splashPromise_.set_value(std::move(splash));

    std::vector<TDaten::ListRead> lists;
    for (const Plan::List& list : plan_.lists) {
        // The pictures at 1 are decoded only where they are shown at 1; a scaled screen has
        // them drawn afresh.
        const bool scheme = list.key.endsWith(QStringLiteral("scheme.bml"));
        lists.push_back(TDaten::readList(list.path, list.key,
                                         scheme && unscaled(plan_.ratio) ? loginPictures()
                                                                         : std::vector<int>{}));
    }
    listsPromise_.set_value(std::move(lists));

    QFontDatabase::families();
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
