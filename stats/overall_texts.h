#pragma once
// The captions and messages of the overall statistics view, the chart dialog and the prints,
// each as a German and an English text side by side.

#include "frame/texts.h"

namespace quendal::texts {

// Overall statistics view TGesamtstatistikDialog.
namespace gesamt {
inline constexpr TextPair caption{"Statistik", "statistics"};
inline constexpr TextPair GesamtButton{"Gesamtstatisik", "Overall statistics"};
inline constexpr TextPair TagButton{"Tagesstatistik", "Today's statistic"};
inline constexpr TextPair DetailButton{"Details", "Details"};
inline constexpr TextPair Graphbutton{"Graph", "Chart"};
// The heads of the list's nine columns.
inline constexpr TextPair columns[9] = {{"Nr.", "#"},
                                        {"Datum", "date"},
                                        {"Übungstyp", "type"},
                                        {"Anzahl", "rounds"},
                                        {"Richtig", "correct"},
                                        {"Mittelw.", "aver.val."},
                                        {"St.-Abw.", "deviat."},
                                        {"Falsch", "incor."},
                                        {"Interf.", "interf."}};

// The main window's "Gesamtstatistik" button.
inline constexpr TextPair noUser{"Es ist noch kein Benutzer angemeldet.",
                                 "There is no user registered yet."};
inline constexpr TextPair noStatistics{
    "Es liegen noch keine Statistiken für den angemeldeten Benutzer vor.",
    "There are no statistics for the registered user available yet."};
} // namespace gesamt

// Chart dialog TFilterDialog.
namespace filter {
inline constexpr TextPair caption{"Graph", "Chart"};
inline constexpr TextPair NL1{"1. Übungstyp:", "1. Type of exercise:"};
inline constexpr TextPair NL2{"2. Grafik:", "2. Graphics:"};
inline constexpr TextPair AnzeigenButton{"Anzeigen", "Show"};
inline constexpr TextPair Series1{"Mittelwert", "Average value"};
inline constexpr TextPair Series2{"Abweichung", "Deviation"};
inline constexpr TextPair FehlerLabel{"Für diese Auswahl liegen keine Daten vor.",
                                      "No data available for this selection."};
inline constexpr TextPair alle{"alle", "all"};
inline constexpr TextPair axisTitle{"ms", "ms"};
} // namespace filter

// The three prints.
namespace drucken {
inline constexpr TextPair statistikQuestion{"Soll die Statistik gedruckt werden?",
                                            "Do you want to print the statistics?"};
inline constexpr TextPair einzelDone{"Die Statistik wurde gedruckt.",
                                     "The statistics have been printed."};
inline constexpr TextPair gesamtDone{"Die Statistik wurde gedruckt.",
                                     "The statistic has been printed."};
inline constexpr TextPair grafikQuestion{"Soll die Grafik gedruckt werden?",
                                         "Do you want to print the chart?"};
// German under both interface languages.
inline constexpr TextPair grafikDone{"Die Grafik wurde gedruckt.", "Die Grafik wurde gedruckt."};
inline constexpr TextPair grafikCaption{"Hinweis", "Hinweis"};
inline constexpr TextPair tableFailed{"Die Druckdatenbank kann nicht generiert werden!",
                                      "The print file could not be created."};
inline constexpr TextPair tableRowFailed{"Die Druckdatenbank kann nicht beschrieben werden!",
                                         "The print file could not be written."};
inline constexpr TextPair fehler{"Fehler", "Error"};
// Added to the done message when the print went into a PDF file instead of to a printer.
inline constexpr TextPair savedAsPdf{"Die Seiten stehen in der PDF-Datei\r%1",
                                     "The pages are in the PDF file\r%1"};
// Printing failed altogether: nothing reached the printer or a file.
inline constexpr TextPair printFailed{"Der Druck ist fehlgeschlagen.\r%1", "Printing failed.\r%1"};
inline constexpr TextPair unbekannt{"Unbekannt", "Unknown"};
} // namespace drucken

} // namespace quendal::texts
