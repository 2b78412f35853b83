#pragma once
// The interface's texts come as a German and an English text side by side. A screen picks
// one of each pair by UiLanguage whenever it is shown, a message when it is shown. Pairs
// whose texts are equal are the same in both languages on purpose. Each floor of screens
// keeps its own catalogue of pairs; the ones here are shared by all of them.

#include <QString>

namespace quendal::texts {

struct TextPair {
    const char* german;
    const char* english;
};

// The text of the pair for a language: German for 1, English for 2.
QString pick(const TextPair& pair, int uiLanguage);
// The text for the current UiLanguage.
QString pick(const TextPair& pair);

// A message text with its carriage returns as line breaks, for the platform's message box.
QString forDisplay(const QString& text);

// Message box titles.
inline constexpr TextPair kHinweis{"Hinweis", "Info"};

// Message box TMeldungDialog.
namespace meldung {
inline constexpr TextPair jabutton{"Ja", "Yes"};
inline constexpr TextPair neinbutton{"Nein", "No"};
inline constexpr TextPair okbutton{"OK", "OK"};
} // namespace meldung

// Buttons that read the same in every dialog that has them.
namespace buttons {
inline constexpr TextPair schliessen{"Schließen", "Close"};
inline constexpr TextPair drucken{"Drucken", "Print"};
inline constexpr TextPair abbrechen{"Abbrechen", "Cancel"};
} // namespace buttons

// The data module's pictures could not be read (the platform's message box).
namespace startup {
inline constexpr TextPair bitmapListsFailed{"Fehler beim Einlesen der Grafiken bzw. Sounds.",
                                            "Error reading graphic and/or sound files."};
} // namespace startup

} // namespace quendal::texts
