#include "toolkit/print_job.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
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

PrintResult PrintJob::toPdf(const QString& folder, const PrintDrawing& draw) const {
    PrintResult result;
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        result.error = QStringLiteral("cannot create the folder \"%1\"").arg(folder);
        return result;
    }
    const QString path = freePdfPath(folder, title_, QDateTime::currentDateTime());
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
        result.error = QStringLiteral("cannot write the file \"%1\"").arg(path);
        return result;
    }
    result.status = PrintResult::Status::SavedAsPdf;
    result.pdfFile = QFileInfo(path).absoluteFilePath();
    return result;
}

PrintResult PrintJob::run(const PrintDrawing& draw) const {
    const QString pdfFolder = qEnvironmentVariable("QUENDAL_PRINT_TO_PDF");
    if (!pdfFolder.isEmpty()) {
        return toPdf(pdfFolder, draw);
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return toPdf(fallbackFolder_, draw);
    }
    QString printerError;
    {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setDocName(title_);
        printer.setFullPage(true);
        printer.setPageLayout(a4FullPage());
        if (!printer.isValid()) {
            printerError =
                QStringLiteral("the printer \"%1\" is not ready").arg(info.printerName());
        } else if (!draw(printer) || printer.printerState() == QPrinter::Error) {
            printerError = QStringLiteral("the printer \"%1\" failed").arg(info.printerName());
        }
    }
    if (printerError.isEmpty()) {
        PrintResult printed;
        printed.status = PrintResult::Status::Printed;
        printed.printerName = info.printerName();
        return printed;
    }
    PrintResult saved = toPdf(fallbackFolder_, draw);
    saved.printerName = info.printerName();
    saved.error = saved.ok() ? printerError : printerError + QStringLiteral("; ") + saved.error;
    return saved;
}

} // namespace quendal
