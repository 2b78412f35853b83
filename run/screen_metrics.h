#pragma once
// Measures the run and instruction screens share: the font scale of the play field and the
// counters on the plate of the run screen, by layout class.

namespace quendal {

// Point size of the large texts: widths 1 to 660 give 12, 661 to 820 give 16, 821 to 1060
// give 22, wider fields 26.
constexpr int fontScalePoints(int playWidth) {
    if (playWidth >= 1 && playWidth <= 660) {
        return 12;
    }
    if (playWidth <= 820) {
        return 16;
    }
    if (playWidth <= 1060) {
        return 22;
    }
    return 26;
}

// The two counters on the plate: font size, the drop below the plate's top and, measured from
// the middle of the screen, the left edges and sizes of Zeitlabel and Countlabel.
struct CounterMetrics {
    int fontPoints = 0;
    int drop = 0;
    int zeitLeft = 0; // from CW div 2
    int zeitWidth = 0;
    int countLeft = 0; // from CW div 2
    int countWidth = 0;
    int height = 0;
};

constexpr CounterMetrics counterMetrics(int layoutClass) {
    if (layoutClass == 640) {
        return {9, 3, -34, 32, 2, 30, 13};
    }
    if (layoutClass == 800) {
        return {10, 4, -42, 38, 4, 38, 16};
    }
    return {12, 5, -54, 50, 4, 45, 20};
}

} // namespace quendal
