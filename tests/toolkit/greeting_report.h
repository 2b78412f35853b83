#pragma once
// A one-label report for the print tests: a name centred in bold at the top of the page.

#include "toolkit/band_report.h"

#include <QString>

namespace pdftest {

inline quendal::BandReport greeting(const QString& text) {
    quendal::BandReport report;
    report.titleBand().heightMm = 20;
    quendal::ReportLabel l;
    l.name = "Head";
    l.widthMm = 180;
    l.alignment = Qt::AlignHCenter;
    l.font = quendal::ReportFont{"Arial", 19, true};
    l.text = text;
    report.titleBand().labels.push_back(l);
    return report;
}

} // namespace pdftest
