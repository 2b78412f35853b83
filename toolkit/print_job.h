#pragma once
// The way to paper: a print goes to the system's default printer, handed to CUPS as an A4
// PDF named after the title; a printer that refuses it is reported, never taken for printed.
// With no printer, or with $QUENDAL_PRINT_TO_PDF set to a folder, it becomes a PDF file in
// that folder (else in the folder the caller gives), named after what was printed and when,
// for example "Statistik_2026-12-10_10-15-32.pdf"; an existing file is never overwritten.
// The device handed to the drawing is A4 portrait and is drawn from the paper's corner.

#include <QString>
#include <functional>

class QDateTime;
class QPagedPaintDevice;

namespace quendal {

struct PrintResult {
    enum class Status {
        Printed,    // sent to the printer
        SavedAsPdf, // written to pdfFile
        Failed,     // nothing printed; error says why
    };
    Status status = Status::Failed;
    QString pdfFile; // the whole path of the PDF file, when one was written
    QString printerName;
    QString error; // a technical detail for the log or a message, in English

    bool ok() const { return status != Status::Failed; }
};

// Draws on the device; returns false when drawing failed.
using PrintDrawing = std::function<bool(QPagedPaintDevice&)>;

class PrintJob {
  public:
    // title names the print ("Statistik", "Grafik"); fallbackFolder takes the PDF file when
    // there is no printer and $QUENDAL_PRINT_TO_PDF is not set.
    PrintJob(QString title, QString fallbackFolder);

    // Prints through draw. A printer that cannot be opened or fails while printing leaves
    // the page as a PDF file in the fallback folder, so nothing is lost; only when that
    // also fails is the result Failed.
    PrintResult run(const PrintDrawing& draw) const;

    // The file name (without folder) a PDF print of title made at `when` gets, before a
    // number is added to keep an existing file.
    static QString pdfFileName(const QString& title, const QDateTime& when);
    // A path in folder for the title that names no existing file.
    static QString freePdfPath(const QString& folder, const QString& title, const QDateTime& when);

  private:
    bool writePdf(const QString& path, const PrintDrawing& draw) const;
    PrintResult toPdf(const QString& folder, const PrintDrawing& draw) const;
    // Hands the drawing to the CUPS queue printer; returns why it failed, empty when the
    // queue took the job.
    QString toPrinter(const QString& printer, const PrintDrawing& draw) const;

    QString title_;
    QString fallbackFolder_;
};

} // namespace quendal
