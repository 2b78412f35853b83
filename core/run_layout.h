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

// Scheme entries of the frame around the run and instruction screens.
namespace screenframe {
constexpr int kTopLeft = 24;
constexpr int kRightEdge = 25; // its width is the right border
constexpr int kBottomLeft = 26;
constexpr int kTopRight = 27;
constexpr int kLeftEdge = 28; // its width is the left border
constexpr int kBottomRight = 29;
constexpr int kBottomEdge = 30; // its height is the bottom border
constexpr int kTopEdge = 31;    // its height is the top border
constexpr int kPlate = 32;      // the counter plate in the bottom border
} // namespace screenframe

} // namespace quendal
