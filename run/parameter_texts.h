#pragma once
// The captions and the message of the parameter dialog, each as a German and an English
// text side by side.

#include "frame/texts.h"

namespace quendal::texts::parameter {

inline constexpr TextPair caption{"Parameter", "Parameter"};
inline constexpr TextPair okbutton{"Starten", "Start"};
inline constexpr TextPair cancelbutton{"Abbrechen", "Cancel"};
inline constexpr TextPair NL1{"Version:", "Version:"};
inline constexpr TextPair NL2{"Position:", "Position:"};
inline constexpr TextPair NL3{"Antwort:", "Answer:"};
inline constexpr TextPair NL4{"Zeitvorgabe:", "Interval:"};
inline constexpr TextPair NL5{"Anzahl Durchgänge:", "Rounds:"};
inline constexpr TextPair VersionRadio[4] = {{"Version 1", "version 1"},
                                             {"Version 2", "version 2"},
                                             {"Version 3", "version 3"},
                                             {"Version 4", "version 4"}};
inline constexpr TextPair PosRadio1{"Fest", "steady"};
inline constexpr TextPair PosRadio2{"Zufall", "random"};
inline constexpr TextPair AntRadio1{"optisch", "optical"};
inline constexpr TextPair AntRadio2{"akustisch", "acoustic"};
inline constexpr TextPair LMDSimpleLabel3{"ms", "ms"};

// The round count was not a multiple of 4 and has been corrected.
inline constexpr TextPair roundsCorrected{
    "Die Anzahl der Durchgänge wurde auf einen durch 4 teilbaren Wert korrigiert.",
    "The number of rounds was corrected to a value that can be devided by 4."};

} // namespace quendal::texts::parameter
