#include "users/texts.h"

#include "core/program_state.h"

namespace quendal::texts {

QString colourDepthWarning(int bitsPerPixel, int uiLanguage) {
    if (bitsPerPixel >= 15) {
        return {};
    }
    const QString n = bitsPerPixel >= 8 ? QStringLiteral("256") : QStringLiteral("16");
    if (uiLanguage == 2) {
        return QStringLiteral("IMPORTANT:\r\rThis program need a desktop color depth of at lease "
                              "15 bit (32000 colors).\rYou system currently supports ") +
               n + QStringLiteral(" colors.") + QStringLiteral("\r") + QStringLiteral("\r") +
               QStringLiteral("Please increase the color depth by using 'control "
                              "panel/display'.") +
               QStringLiteral("\r") +
               QStringLiteral("Until then the program will display wrong colors.");
    }
    return QString::fromUtf8("WICHTIGER HINWEIS:\r\rDieses Programm benötigt eine "
                             "Windows-Farbtiefe von mindestens 15 Bit (32000 Farben).\rIhr "
                             "System ist momentan nur für die Darstellung von ") +
           n + QStringLiteral(" Farben konfiguriert.") + QStringLiteral("\r") +
           QStringLiteral("\r") +
           QString::fromUtf8(
               "Bitte erhöhen Sie die Farbtiefe von Windows über \"Systemsteuerung/Anzeige\".") +
           QStringLiteral("\r") +
           QStringLiteral("Das Programm wird bis dahin in Fehlfarben dargestellt.");
}

} // namespace quendal::texts
