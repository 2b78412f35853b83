#include "toolkit/print_job.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cups/cups.h>
#include <dlfcn.h>
#include <utility>

namespace quendal {

namespace {

QPageLayout a4FullPage() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

} // namespace

PrintJob::PrintJob(QString title, QString fallbackFolder)
    : title_(std::move(title)), fallbackFolder_(std::move(fallbackFolder)) {}

// Letters, digits, '-' and '_' stay; blanks and everything else that a shell or another
// system might trip over become '_'.
QString PrintJob::pdfFileName(const QString& title, const QDateTime& when) {
    QString name;
    for (const QChar c : title.trimmed()) {
        name += c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : QChar(u'_');
    }
    if (name.isEmpty()) {
        name = QStringLiteral("Druck");
    }
    return name + when.toString(QStringLiteral("_yyyy-MM-dd_HH-mm-ss")) + QStringLiteral(".pdf");
}

QString PrintJob::freePdfPath(const QString& folder, const QString& title, const QDateTime& when) {
    const QDir dir(folder);
    const QString name = pdfFileName(title, when);
    QString path = dir.filePath(name);
    const QString stem = name.chopped(4);
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path =
            dir.filePath(stem + QStringLiteral("_") + QString::number(n) + QStringLiteral(".pdf"));
    }
    return path;
}

// Writes the drawing as an A4 PDF at path; false (and no file left) when that fails.
bool PrintJob::writePdf(const QString& path, const PrintDrawing& draw) const {
    bool drawn = false;
    {
        QPdfWriter writer(path);
        writer.setTitle(title_);
        writer.setCreator(QStringLiteral("Quendal"));
        writer.setPageLayout(a4FullPage());
        drawn = draw(writer);
    }
    if (!drawn || !QFileInfo(path).isFile() || QFileInfo(path).size() == 0) {
        QFile::remove(path);
        return false;
    }
    return true;
}

PrintResult PrintJob::toPdf(const QString& folder, const PrintDrawing& draw) const {
    PrintResult result;
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        result.error = QStringLiteral("cannot create the folder \"%1\"").arg(folder);
        return result;
    }
    const QString path = freePdfPath(folder, title_, QDateTime::currentDateTime());
    if (!writePdf(path, draw)) {
        result.error = QStringLiteral("cannot write the file \"%1\"").arg(path);
        return result;
    }
    result.status = PrintResult::Status::SavedAsPdf;
    result.pdfFile = QFileInfo(path).absoluteFilePath();
    return result;
}

namespace {

// libcups, loaded for the first print rather than with the program: it brings the system's
// TLS, Kerberos and service discovery libraries, which nothing before a print needs.
struct CupsLibrary {
    decltype(&::cupsGetDests) getDests;
    decltype(&::cupsFreeDests) freeDests;
    decltype(&::cupsAddOption) addOption;
    decltype(&::cupsPrintFile2) printFile2;
    decltype(&::cupsFreeOptions) freeOptions;
    decltype(&::cupsLastErrorString) lastErrorString;
};

const CupsLibrary* cups() {
    static const CupsLibrary* const loaded = []() -> const CupsLibrary* {
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return nullptr;
        }
        static CupsLibrary api{};
        api.getDests = reinterpret_cast<decltype(api.getDests)>(dlsym(library, "cupsGetDests"));
        api.freeDests = reinterpret_cast<decltype(api.freeDests)>(dlsym(library, "cupsFreeDests"));
        api.addOption = reinterpret_cast<decltype(api.addOption)>(dlsym(library, "cupsAddOption"));
        api.printFile2 =
            reinterpret_cast<decltype(api.printFile2)>(dlsym(library, "cupsPrintFile2"));
        api.freeOptions =
            reinterpret_cast<decltype(api.freeOptions)>(dlsym(library, "cupsFreeOptions"));
        api.lastErrorString =
            reinterpret_cast<decltype(api.lastErrorString)>(dlsym(library, "cupsLastErrorString"));
        const bool complete = api.getDests != nullptr && api.freeDests != nullptr &&
                              api.addOption != nullptr && api.printFile2 != nullptr &&
                              api.freeOptions != nullptr && api.lastErrorString != nullptr;
        return complete ? &api : nullptr;
    }();
    return loaded;
}

// The system's default printer ("queue" or "queue/instance"), as the user's and the system's
// CUPS settings name it; empty when there is none, or no CUPS.
QString defaultPrinter() {
    const CupsLibrary* library = cups();
    if (library == nullptr) {
        return {};
    }
    cups_dest_t* destinations = nullptr;
    const int count = library->getDests(&destinations);
    QString name;
    for (int i = 0; i < count; ++i) {
        if (destinations[i].is_default != 0 && destinations[i].name != nullptr) {
            name = QString::fromUtf8(destinations[i].name);
            if (destinations[i].instance != nullptr) {
                name += u'/' + QString::fromUtf8(destinations[i].instance);
            }
            break;
        }
    }
    library->freeDests(count, destinations);
    return name;
}

} // namespace

// The page goes to CUPS as a PDF, the format every CUPS queue takes, under the title as the
// job's name. cupsPrintFile returns once the server holds the whole file as a job, with the
// job's number, or 0 and the server's reason when the queue refused it (stopped, not
// accepting jobs, gone), so a refused print is never taken for a printed one.
QString PrintJob::toPrinter(const QString& printer, const PrintDrawing& draw) const {
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        return QStringLiteral("cannot create a temporary folder: %1").arg(scratch.errorString());
    }
    const QString path = scratch.filePath(QStringLiteral("print.pdf"));
    if (!writePdf(path, draw)) {
        return QStringLiteral("cannot draw the print for the printer \"%1\"").arg(printer);
    }
    const CupsLibrary* library = cups();
    if (library == nullptr) {
        return QStringLiteral("the printer \"%1\" cannot be reached: libcups is missing")
            .arg(printer);
    }
    cups_option_t* options = nullptr;
    int count = library->addOption("media", "A4", 0, &options);
    count = library->addOption("document-format", "application/pdf", count, &options);
    // An instance ("queue/instance") prints on its queue.
    const QByteArray queue = printer.section(u'/', 0, 0).toUtf8();
    const int jobId = library->printFile2(CUPS_HTTP_DEFAULT, queue.constData(),
                                          QFile::encodeName(path).constData(),
                                          title_.toUtf8().constData(), count, options);
    library->freeOptions(count, options);
    if (jobId <= 0) {
        return QStringLiteral("the printer \"%1\" refused the print: %2")
            .arg(printer, QString::fromUtf8(library->lastErrorString()));
    }
    return {};
}

PrintResult PrintJob::run(const PrintDrawing& draw) const {
    const QString pdfFolder = qEnvironmentVariable("QUENDAL_PRINT_TO_PDF");
    if (!pdfFolder.isEmpty()) {
        return toPdf(pdfFolder, draw);
    }
    const QString printer = defaultPrinter();
    if (printer.isEmpty()) {
        return toPdf(fallbackFolder_, draw);
    }
    const QString printerError = toPrinter(printer, draw);
    if (printerError.isEmpty()) {
        PrintResult printed;
        printed.status = PrintResult::Status::Printed;
        printed.printerName = printer;
        return printed;
    }
    PrintResult saved = toPdf(fallbackFolder_, draw);
    saved.printerName = printer;
    saved.error = saved.ok() ? printerError : printerError + QStringLiteral("; ") + saved.error;
    return saved;
}

} // namespace quendal
