#pragma once
// The resources compiled into the program by the target quendal_builtin: the eight dialog
// frame bitmaps, the nine dialog button faces, the wrong-answer sound and the fingerprints of
// the files drawn into DATA/.

#include <QString>

namespace quendal::builtin {

// ":/builtin/frame_0.png" .. ":/builtin/frame_7.png", by the frame painter's index.
QString framePath(int index);
// ":/builtin/button_0.png" .. ":/builtin/button_8.png": three 76 x 25 faces, then six
// 138 x 34 (3 to 5 the ordinary buttons, 6 to 8 the second style); in each group of three
// the faces are normal, highlighted and pressed.
QString buttonPath(int index);
// Raw mono 16-bit little-endian samples at 22050 Hz, 21372 bytes.
QString wrongSoundPath();
// The fingerprints of the files the build drew into DATA/, one line each:
// "<layout>/<file> <SHA-1 in hex>" for the bitmap lists, "splash.bmp <SHA-1>" for the splash.
QString fingerprintsPath();

constexpr int kFrameCount = 8;
constexpr int kButtonCount = 9;

} // namespace quendal::builtin
