#pragma once
// The row and column heads of the two printed tables, each as a German and an English text
// side by side; a report picks them by UiLanguage when it is printed.

#include "frame/texts.h"

namespace quendal::texts {

// Single statistics printout TReport.
namespace report {
inline constexpr TextPair _color0{"Alle", "all"};
inline constexpr TextPair LName{"Richtige", "correct"};
inline constexpr TextPair LAdd1{"Mittelwert", "average value"};
inline constexpr TextPair LAdd2{"Standardabw.", "stand.dev."};
inline constexpr TextPair LNr1{"Falsche", "incorrect"};
inline constexpr TextPair LNr2{"Mittelwert", "average value"};
inline constexpr TextPair LNr3{"Standardabw.", "stand.dev."};
inline constexpr TextPair LNr4{"Interferenz", "interference"};
inline constexpr TextPair LNr5{"Eliminierte", "eliminated"};
} // namespace report

// Overall statistics printout TGesamtReport.
namespace gesamtreport {
inline constexpr TextPair QRLabel1{"Datum", "date"};
inline constexpr TextPair QRLabel2{"Übungstyp", "type of ex."};
inline constexpr TextPair QRLabel3{"Anzahl", "rounds"};
inline constexpr TextPair QRLabel4{"Richtig", "correct"};
inline constexpr TextPair QRLabel5{"Mittelw.", "average"};
inline constexpr TextPair QRLabel6{"St.-Abw.", "st.-dev."};
inline constexpr TextPair QRLabel7{"Falsch", "incorrect"};
inline constexpr TextPair QRLabel8{"Interfer.", "Interfer."};
} // namespace gesamtreport

} // namespace quendal::texts
