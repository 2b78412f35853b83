// Prints through a real CUPS server: run by cups_server.sh, which starts a private cupsd with
// the cups-pdf queue QuendalPDF as its default printer, points CUPS_SERVER at it and names the
// folder cups-pdf writes into in QUENDAL_CUPS_PDFS. Without that server every test skips.

#include "../toolkit/greeting_report.h"
#include "../toolkit/pdf_text.h"
#include "toolkit/band_report.h"
#include "toolkit/print_job.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPagedPaintDevice>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace quendal;

namespace {

const QString queue = QStringLiteral("QuendalPDF");

class RealPrinter : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("CUPS_SERVER") ||
            qEnvironmentVariableIsEmpty("QUENDAL_CUPS_PDFS")) {
            GTEST_SKIP() << "no private CUPS server (run through tests/e2e/cups_server.sh)";
        }
        qunsetenv("QUENDAL_PRINT_TO_PDF");
        pdfs_ = QDir(qEnvironmentVariable("QUENDAL_CUPS_PDFS"));
        ASSERT_TRUE(scratch_.isValid());
    }

    QStringList printedPdfs() const {
        return pdfs_.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    // Waits (at most 60 s) until the queue has no job left, so that cups-pdf has finished
    // its files; returns the path of the one PDF that is not in before, or empty.
    QString awaitNewPdf(const QStringList& before) const {
        const QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            QProcess lpstat;
            lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
            if (lpstat.waitForFinished(10000) && lpstat.exitCode() == 0 &&
                lpstat.readAllStandardOutput().trimmed().isEmpty()) {
                break;
            }
            QThread::msleep(100);
        }
        QStringList added = printedPdfs();
        for (const QString& name : before) {
            added.removeAll(name);
        }
        return added.size() == 1 ? pdfs_.filePath(added.front()) : QString();
    }

    static bool lpCommand(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    QDir pdfs_;
    QTemporaryDir scratch_;
};

} // namespace

TEST_F(RealPrinter, APrintReachesTheDefaultQueueAsAnA4PageNamedAfterTheTitle) {
    ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName(), queue);
    const QStringList before = printedPdfs();
    const BandReport report = pdftest::greeting("Jürgen Größe");
    const QString fallback = scratch_.filePath("daten");

    const PrintResult r = PrintJob("Statistik", fallback).run([&](QPagedPaintDevice& device) {
        return report.print(device);
    });
    ASSERT_EQ(r.status, PrintResult::Status::Printed) << r.error.toStdString();
    EXPECT_EQ(r.printerName, queue);
    EXPECT_TRUE(r.pdfFile.isEmpty());
    EXPECT_FALSE(QDir(fallback).exists()); // nothing went to the fallback folder

    const QString pdf = awaitNewPdf(before);
    ASSERT_FALSE(pdf.isEmpty()) << "not one new PDF from cups-pdf within 60 s";
    // cups-pdf names the file after the job's title and number.
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^Statistik-job_\d+\.pdf$)"))
                    .match(QFileInfo(pdf).fileName())
                    .hasMatch())
        << pdf.toStdString();
    const auto pages = pdftest::readPdf(pdf);
    ASSERT_EQ(pages.size(), 1U);
    const auto head = pdftest::find(pages[0], "Jürgen Größe"); // umlauts survive the queue
    ASSERT_TRUE(head.has_value()) << pages[0].text().toStdString();
    EXPECT_NEAR(pages[0].widthMm, 210.0, 1.0);
    EXPECT_NEAR(pages[0].heightMm, 297.0, 1.0);
    // Centred on the page (the 180 mm label starts at the 15 mm margin), 15 mm down: the
    // queue neither shifted nor scaled the page.
    EXPECT_NEAR((head->xMin + head->xMax) / 2, 105.0, 2.0);
    EXPECT_NEAR(head->yMin, 15.0, 3.0);
}

TEST_F(RealPrinter, AQueueThatRejectsJobsLeavesThePageAsAPdfAndSaysWhy) {
    ASSERT_TRUE(lpCommand(QStringLiteral("cupsreject"), {queue}));
    const QStringList before = printedPdfs();
    const BandReport report = pdftest::greeting("Max Mustermann");
    const QString fallback = scratch_.filePath("daten");

    const PrintResult r = PrintJob("Grafik", fallback).run([&](QPagedPaintDevice& device) {
        return report.print(device);
    });
    EXPECT_TRUE(lpCommand(QStringLiteral("cupsaccept"), {queue}));
    ASSERT_EQ(r.status, PrintResult::Status::SavedAsPdf) << r.error.toStdString();
    EXPECT_EQ(r.printerName, queue);
    EXPECT_TRUE(r.error.contains(queue)) << r.error.toStdString();
    EXPECT_EQ(QFileInfo(r.pdfFile).absolutePath(), QDir(fallback).absolutePath());
    const auto pages = pdftest::readPdf(r.pdfFile);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(pdftest::find(pages[0], "Max Mustermann").has_value());
    EXPECT_EQ(printedPdfs(), before);
}
