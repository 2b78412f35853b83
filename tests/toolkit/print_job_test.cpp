#include "greeting_report.h"
#include "pdf_text.h"
#include "toolkit/band_report.h"
#include "toolkit/print_job.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

class PdfFolder {
  public:
    explicit PdfFolder(const QString& folder) { qputenv("QUENDAL_PRINT_TO_PDF", folder.toUtf8()); }
    PdfFolder(const PdfFolder&) = delete;
    PdfFolder& operator=(const PdfFolder&) = delete;
    ~PdfFolder() { qunsetenv("QUENDAL_PRINT_TO_PDF"); }
};

} // namespace

TEST(PrintJob, WritesANamedPdfIntoTheFolderOfTheEnvironmentAndNeverOverwrites) {
    QTemporaryDir scratch;
    const QString folder = scratch.filePath("ausdrucke"); // made when missing
    const PdfFolder redirect(folder);
    const BandReport report = pdftest::greeting("Erika Mustermann");
    const PrintJob job("Statistik", scratch.filePath("daten"));

    const PrintResult first =
        job.run([&](QPagedPaintDevice& device) { return report.print(device); });
    ASSERT_EQ(first.status, PrintResult::Status::SavedAsPdf) << first.error.toStdString();
    EXPECT_TRUE(first.ok());
    EXPECT_EQ(QFileInfo(first.pdfFile).absolutePath(), QDir(folder).absolutePath());
    EXPECT_TRUE(QRegularExpression(R"(^Statistik_\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d(_\d+)?\.pdf$)")
                    .match(QFileInfo(first.pdfFile).fileName())
                    .hasMatch())
        << first.pdfFile.toStdString();
    const auto pages = pdftest::readPdf(first.pdfFile);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(pdftest::find(pages[0], "Erika Mustermann").has_value());
    EXPECT_NEAR(pages[0].widthMm, 210.0, 0.5);
    EXPECT_FALSE(QDir(scratch.filePath("daten")).exists());

    // A second print within the same second gets a name of its own.
    const PrintResult second =
        job.run([&](QPagedPaintDevice& device) { return report.print(device); });
    ASSERT_TRUE(second.ok());
    EXPECT_NE(second.pdfFile, first.pdfFile);
    EXPECT_TRUE(QFile::exists(first.pdfFile));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);

    const QDateTime when(QDate(2026, 12, 10), QTime(10, 15, 32));
    EXPECT_EQ(PrintJob::pdfFileName("Statistik", when), "Statistik_2026-12-10_10-15-32.pdf");
    EXPECT_EQ(PrintJob::pdfFileName(" Grafik: user1.dat ", when),
              "Grafik__user1_dat_2026-12-10_10-15-32.pdf");
    QFile taken(QDir(folder).filePath("Statistik_2026-12-10_10-15-32.pdf"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    EXPECT_EQ(QFileInfo(PrintJob::freePdfPath(folder, "Statistik", when)).fileName(),
              "Statistik_2026-12-10_10-15-32_2.pdf");
}

TEST(PrintJob, FailsCleanlyWhenThePdfCannotBeWrittenOrTheDrawingFails) {
    QTemporaryDir scratch;
    const BandReport report = pdftest::greeting("x");
    QFile blocker(scratch.filePath("eine-datei"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        const PdfFolder redirect(blocker.fileName()); // a file, not a folder
        const PrintResult r = PrintJob("Statistik", scratch.path()).run([&](QPagedPaintDevice& d) {
            return report.print(d);
        });
        EXPECT_EQ(r.status, PrintResult::Status::Failed);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.error.isEmpty());
    }
    {
        const PdfFolder redirect(scratch.filePath("leer"));
        const PrintResult r =
            PrintJob("Grafik", scratch.path()).run([](QPagedPaintDevice&) { return false; });
        EXPECT_EQ(r.status, PrintResult::Status::Failed);
        EXPECT_TRUE(QDir(scratch.filePath("leer")).isEmpty()); // no half-written file stays
    }
    if (QPrinterInfo::defaultPrinter().isNull()) {
        // Without a printer the page goes to the caller's folder.
        const PrintResult r =
            PrintJob("Grafik", scratch.filePath("daten")).run([&](QPagedPaintDevice& d) {
                return report.print(d);
            });
        ASSERT_EQ(r.status, PrintResult::Status::SavedAsPdf) << r.error.toStdString();
        EXPECT_EQ(QFileInfo(r.pdfFile).absolutePath(),
                  QDir(scratch.filePath("daten")).absolutePath());
    }
}
