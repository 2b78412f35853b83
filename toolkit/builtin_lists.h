#pragma once
// The bitmaps built into the program: the eight frame bitmaps of the framed dialogs and the
// nine faces of the dialog buttons (three of 76 x 25, then six of 138 x 34). They live in
// the program's resources under ":/builtin/" and are decoded when first painted; a program
// linked without them gets lists of empty images, which draw nothing.

#include "toolkit/bitmap_list.h"

namespace quendal {

constexpr int kFrameBitmapCount = 8;
constexpr int kButtonFaceCount = 9;

const BitmapList& builtinFrameList();
const BitmapList& builtinButtonList();

// Lets the two lists draw their pictures afresh for a scaled screen (BitmapList::Painter).
void setBuiltinPainters(BitmapList::Painter frame, BitmapList::Painter buttons);

} // namespace quendal
