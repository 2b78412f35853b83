#pragma once
// The one place where Qt key events become the program's key codes. The screens and the
// run engine speak in these codes: Enter 13, Escape 27, space 32, the arrows 37 (left),
// 38 (up), 39 (right), 40 (down), F11 122; letters and digits keep their upper-case
// character code. Every other key has the code 0.

#include <QChar>

class QKeyEvent;

namespace quendal::keys {

constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int F11 = 122;

// The key code of a key-down (or key-up) event, 0 for keys the program has no code for.
int keyCode(const QKeyEvent& event);
// The character a key press types (the first one of its text), or a null QChar when the key
// types nothing, such as an arrow or a function key.
QChar keyChar(const QKeyEvent& event);

} // namespace quendal::keys
