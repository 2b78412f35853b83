#pragma once
// The geometry of the run screen by layout class: where the nine picture places stand on
// the play panel, and how far the counter plate reaches into the bottom border.

#include <array>

namespace quendal {

// The layout class of a play field: 640 for widths 1 to 750, 800 for 751 to 820, else 1024.
// The same classes choose the graphics folder.
int layoutClass(int playWidth);

enum RunSlot : int {
    kOben = 0,
    kLinks,
    kRechts,
    kUnten,
    kMitte,
    kXOben,
    kXLinks,
    kXRechts,
    kXUnten
};

struct SlotPlace {
    int left = 0;
    int top = 0;
};

struct RunScreenGeometry {
    // Positions inside the play panel, indexed by RunSlot.
    std::array<SlotPlace, 9> places{};
    // Offset of the counter plate below the top of the bottom border.
    int plateOffset = 0;
};

const RunScreenGeometry& runScreenGeometry(int playWidth);

} // namespace quendal
