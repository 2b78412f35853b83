#pragma once
// The captions and messages of the main window, the login, the name dialog, the options, the
// help viewer and the start-up, each as a German and an English text side by side.

#include "frame/texts.h"

#include <QString>

namespace quendal::texts {

// Main window THaupt, set by ApplyMainTexts.
namespace haupt {
inline constexpr TextPair Einstellungenbutton{"Einstellungen", "Settings"};
inline constexpr TextPair Einzelstatistikbutton{"Einzelstatistik", "Single statistics"};
inline constexpr TextPair Gesamtstatistikbutton{"Gesamtstatistik", "Global statistics"};
inline constexpr TextPair Hilfebutton{"Hilfe", "Help"};
inline constexpr TextPair Exitbutton{"Ende", "Quit"};
} // namespace haupt

// The login panel of the main window: the hints are German in both languages.
namespace login {
inline constexpr TextPair label2{
    "Klicken Sie mit der linken Maustaste auf einen Anhänger, um sich anzumelden.",
    "Klicken Sie mit der linken Maustaste auf einen Anhänger, um sich anzumelden."};
inline constexpr TextPair LMDSimpleLabel1{
    "Klicken Sie mit der rechten Maustaste auf einen Anhänger, um den Namen zu ändern.",
    "Klicken Sie mit der rechten Maustaste auf einen Anhänger, um den Namen zu ändern."};
inline constexpr TextPair unbenutzt{"unbenutzt", "unbenutzt"};
inline constexpr TextPair createError{"Fehler beim Anlegen der Benutzer.",
                                      "Error creating user profiles."};
} // namespace login

// Name entry dialog TTextEingabeDialog.
namespace texteingabe {
inline constexpr TextPair caption{"Name", "Name"};
inline constexpr TextPair NL1{"Name:", "Name:"};
inline constexpr TextPair okbutton{"OK", "OK"};
inline constexpr TextPair cancelbutton{"Abbrechen", "Cancel"};
} // namespace texteingabe

// Options dialog TOptionenDialog. Its left button, named cancelbutton, confirms.
namespace optionen {
inline constexpr TextPair caption{"Optionen", "Options"};
inline constexpr TextPair Joycheck{"Joystick verwenden", "Use Joystick"};
inline constexpr TextPair cancelbutton{"OK", "OK"};
inline constexpr TextPair okbutton{"Abbrechen", "Cancel"};
} // namespace optionen

// Help viewer THilfeDialog.
namespace hilfe {
inline constexpr TextPair caption{"Hilfe", "Help"};
inline constexpr TextPair okbutton{"Schließen", "Close"};
inline constexpr TextPair document{"hilfe.rtf", "ehilfe.rtf"};
inline constexpr TextPair helpbutton{"Helpbutton", "Helpbutton"};
inline constexpr TextPair VersionLabel{"Release: 05.02.2010", "Release: 05.02.2010"};
inline constexpr TextPair dataFolderCaption{"Variable \"BasisPfad\"", "Variable \"BasisPfad\""};
} // namespace hilfe

// Messages of the start-up, in the platform's standard message box.
namespace startup {
// The "debug" size does not fit the screen (German in both languages).
inline constexpr TextPair debugSizeReduced{
    "Diese Größe ist auf Ihrem System nicht darstellbar. Es wird die größtmögliche "
    "Darstellung aktiviert!",
    "Diese Größe ist auf Ihrem System nicht darstellbar. Es wird die größtmögliche "
    "Darstellung aktiviert!"};
// The display was taken away while in full-screen mode (German in both languages).
inline constexpr TextPair fullScreenLost{
    "W I C H T I G E R   H I N W E I S !\r\rVermutlich durch ein anderes den Bildschirm "
    "beanspruchendes Programm wurde die Bildschirmdarstellung unterbrochen. Schließen Sie "
    "bitte alle Programme, die im Hintergrund laufen und hochklappen könnten (z.B. "
    "Messenger).",
    "W I C H T I G E R   H I N W E I S !\r\rVermutlich durch ein anderes den Bildschirm "
    "beanspruchendes Programm wurde die Bildschirmdarstellung unterbrochen. Schließen Sie "
    "bitte alle Programme, die im Hintergrund laufen und hochklappen könnten (z.B. "
    "Messenger)."};
// The program's own reports of start-up failures that would otherwise end it silently.
inline constexpr TextPair dataFolderFailed{
    "Der Datenordner kann nicht angelegt werden:\n%1\n\n%2\n\nDas Programm wird beendet.",
    "The data folder cannot be created:\n%1\n\n%2\n\nThe program will end."};
inline constexpr TextPair debugSizeInvalid{
    "Nach \"debug\" müssen Breite und Höhe des Spielfelds als positive ganze Zahlen folgen, "
    "zum Beispiel: debug 800 600\n\nDas Programm wird beendet.",
    "\"debug\" must be followed by the width and height of the play field as positive whole "
    "numbers, for example: debug 800 600\n\nThe program will end."};
// A second start found the running copy's lock but could not reach the copy.
inline constexpr TextPair otherCopyUnreachable{
    "Quendal läuft bereits, reagiert aber nicht. Beenden Sie das laufende Programm und "
    "starten Sie Quendal dann erneut.",
    "Quendal is already running but does not respond. Please end the running program and "
    "then start Quendal again."};
} // namespace startup

// The colour-depth warning for a display of fewer than 15 bits per pixel; empty for 15 or
// more. "\r" in it is one carriage-return character.
QString colourDepthWarning(int bitsPerPixel, int uiLanguage);

} // namespace quendal::texts
