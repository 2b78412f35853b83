#pragma once
// The captions and messages of the single statistics view and the explanation viewer, each
// as a German and an English text side by side.

#include "frame/texts.h"

namespace quendal::texts {

// Single statistics view TEinzelstatistikDialog.
namespace einzelstatistik {
inline constexpr TextPair caption{"Statistik", "Statistics"};
inline constexpr TextPair cancelbutton{"Schließen", "Close"};
inline constexpr TextPair okbutton{"Drucken", "Print"};
inline constexpr TextPair ErklButton{"Erklärung", "Erklärung"};
// The row heads z1 .. z8.
inline constexpr TextPair rows[8] = {
    {"Richtige", "Correct"},         {"Mittelwert", "Average value"},
    {"Standardabw.", "Stand.dev."},  {"Falsche", "Incorrect"},
    {"Mittelwert", "Average value"}, {"Standardabw.", "Stand.dev."},
    {"Interferenz", "Interference"}, {"Eliminierte", "Eliminated"}};
inline constexpr TextPair Color0{"Alle", "All"};
// The main window's "Einzelstatistik" button before the user has played a run.
inline constexpr TextPair noRunYet{"Der aktuelle Benutzer hat noch keinen Durchgang absolviert.",
                                   "The registered user has not yet passed a round."};
} // namespace einzelstatistik

// Explanation viewer TStatInfoDialog: German in both languages.
namespace statinfo {
inline constexpr TextPair caption{"Hilfe", "Hilfe"};
inline constexpr TextPair okbutton{"Schließen", "Schließen"};
inline constexpr TextPair helpbutton{"Helpbutton", "Helpbutton"};
inline constexpr const char* document = "stat.rtf";
} // namespace statinfo

} // namespace quendal::texts
