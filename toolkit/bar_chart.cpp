#include "toolkit/bar_chart.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>

namespace quendal {

namespace {

// What the module exports to make a chart.
using MakeChart = BarChart* (*)(QWidget* parent);
constexpr char kMakeChart[] = "quendal_make_bar_chart";
// The installed module, seen from the executable's folder.
constexpr char kInstalledModule[] = QUENDAL_CHART_MODULE_FROM_BIN;

// Loaded once and kept: the charts it made live as long as their parents.
MakeChart loadModule(QString* why) {
    static MakeChart make = nullptr;
    static QString failure;
    if (make != nullptr || !failure.isEmpty()) {
        if (why != nullptr) {
            *why = failure;
        }
        return make;
    }
    // The build tree's beside the executable, else the installed one.
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QFileInfo installed(folder + QLatin1String(kInstalledModule));
    const QStringList candidates{folder + installed.fileName(), installed.absoluteFilePath()};
    for (const QString& path : candidates) {
        if (!QFileInfo::exists(path)) {
            continue;
        }
        void* module = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* error = ::dlerror();
            failure = QString::fromLocal8Bit(error != nullptr ? error : "dlopen failed");
            continue;
        }
        if (void* symbol = ::dlsym(module, kMakeChart); symbol != nullptr) {
            make = reinterpret_cast<MakeChart>(symbol);
            failure.clear();
            break;
        }
        failure = path + QStringLiteral(": no ") + QLatin1String(kMakeChart);
    }
    if (make == nullptr && failure.isEmpty()) {
        failure =
            QStringLiteral("neither %1 nor %2 is there").arg(candidates.at(0), candidates.at(1));
    }
    if (why != nullptr) {
        *why = failure;
    }
    return make;
}

} // namespace

BarChart* makeBarChart(QWidget* parent, QString* why) {
    const MakeChart make = loadModule(why);
    return make != nullptr ? make(parent) : nullptr;
}

} // namespace quendal
