#pragma once
// The texts of the run's screens, each as a German and an English text side by side; a
// screen picks them by UiLanguage when it is shown.

#include "frame/texts.h"

#include <QString>

namespace quendal::texts {

// Instruction screen TBeschreibungDialog.
namespace beschreibung {

// The instruction texts of the eight exercises, by kind (1 colour, 2 number) and version
// (1 to 4); their lines are separated by line breaks.
inline constexpr TextPair instructions[2][4] = {
    {{"In der Mitte erscheint eine FARBE.\n"
      "Bewegen Sie diese Farbe so rasch wie möglich zur passenden Farbe.\n"
      "\n"
      "FARBE zu FARBE",
      "A COLOR will appear in the center.\n"
      "Move the color to the matching color as fast as possible.\n"
      "\n"
      "COLOR to COLOR"},
     {"In der Mitte erscheint ein WORT.\n"
      "Bewegen Sie das Wort so rasch wie möglich zu der genannten Farbe.\n"
      "\n"
      "WORT zur FARBE",
      "A WORD will appear in the center.\n"
      "Move the word to the named color as fast as possible.\n"
      "\n"
      "WORD to COLOR"},
     {"In der Mitte erscheint ein WORT.\n"
      "Achten Sie nur auf die Farbe des Wortes!\n"
      "Bewegen Sie die Wortfarbe zur gezeigten Farbe.\n"
      "\n"
      "Nicht auf den Wortinhalt reagieren!",
      "A WORD will appear in the center.\n"
      "Just pay attention to the color of the word!\n"
      "Move the color of the word to the shown color.\n"
      "\n"
      "Do not respond to the meaning of the word!"},
     {"In der Mitte erscheint ein WORT.\n"
      "Achten Sie auf den Wortinhalt!\n"
      "Bewegen Sie das Wort zur genannten Farbe.\n"
      "\n"
      "Nicht auf die Schriftfarbe reagieren!",
      "A WORD will appear in the center.\n"
      "Just pay attention to the meaning of the word!\n"
      "Move the word to the mentioned color.\n"
      "\n"
      "Do not respond to the color of the font!"}},
    {{"In der Mitte erscheint eine Zahl.\n"
      "Bewegen Sie diese Zahl so rasch wie möglich zur passenden Zahl.\n"
      "\n"
      "ZAHL zu ZAHL",
      "A digit will appear in the center.\n"
      "Move the digit to the matching digit as fast as possible.\n"
      "\n"
      "DIGIT to DIGIT"},
     {"In der Mitte erscheinen Punkte.\n"
      "Bewegen Sie richtige Anzahl (Menge) der Punkte zu der genannten Zahl.\n"
      "\n"
      "ANZAHL zur ZAHL",
      "Dots will appear in the center.\n"
      "Move the correct number (amount) to the matching digit as fast as possible.\n"
      "\n"
      "NUMBER to DIGIT"},
     {"In der Mitte erscheinen mehrere Zahlen.\n"
      "Achten Sie nur auf die Anzahl der Zahlen!\n"
      "Bewegen Sie genannte Menge zur richtigen Zahl.\n"
      "\n"
      "Nicht auf den Zahleninhalt reagieren!",
      "Several digits will appear in the center.\n"
      "Just pay attention to the number of digits!\n"
      "Move the amount to the matching digit.\n"
      "\n"
      "Do not respond to the meaning of the digit!"},
     {"In der Mitte erscheinen mehrere Zahlen.\n"
      "Achten Sie nur auf die genannten Zahlen!\n"
      "Bewegen Sie die Zahlen zur genannten Zahl.\n"
      "\n"
      "Nicht auf die Anzahl reagieren!",
      "Several digits will appear in the center.\n"
      "Just pay attention to the mentioned digits!\n"
      "Move the matching digit to the mentioned digit.\n"
      "\n"
      "Do not respond to the numbers of digits!"}}};

// The start hints: with the joystick able to start, and without.
inline constexpr TextPair hintJoystick{"Starten Sie über die Leertaste oder den Joystickknopf",
                                       "Press the space bar or the joystick button to start"};
inline constexpr TextPair hintKeyboard{"Starten Sie über die Leertaste",
                                       "Press the space bar to start"};

// The instruction text of an exercise in a language (1 German, 2 English); empty for a kind
// or version that does not exist.
QString instructionText(int kind, int version, int uiLanguage);
// The start hint in a language, by whether the joystick can start the exercise.
QString startHint(bool joystickCanStart, int uiLanguage);

} // namespace beschreibung

} // namespace quendal::texts
