#pragma once
// Where the labels under the bars of a chart stand. Every category has one label centred under
// its bar; a label that is shown is shown whole, and no two shown labels touch: the labels
// lie side by side when every one of them fits so, they are turned upright (reading from
// bottom to top) when that lets every one of them fit, and otherwise every k-th label is shown
// lying (k one of 2, 5, 10, 20, 50 ...), the first and the last always among them. A label
// near an end of the band is pushed inside it rather than cut.

#include <QRectF>
#include <vector>

namespace quendal {

// The strip the labels stand in, in the chart's coordinates.
struct CategoryLabelBand {
    double plotLeft = 0;   // x of the left edge of the first category
    double plotWidth = 0;  // the width all categories share equally
    double minX = 0;       // no label reaches left of this
    double maxX = 0;       // or right of this
    double top = 0;        // y of the top of the strip
    double textHeight = 0; // the line height of the label font
};

struct CategoryLabelLayout {
    bool upright = false;
    int step = 1;              // every step-th label is shown (and the first and the last)
    std::vector<int> shown;    // the shown categories, left to right
    std::vector<QRectF> boxes; // their labels' boxes, in the same order
    double height = 0;         // the height of the strip the shown labels need
};

// The gap that separates two labels lying side by side, and two upright ones.
double lyingLabelGap(double textHeight);
double uprightLabelGap(double textHeight);

// The layout of labels whose text widths are `widths` (one per category, in order). When
// the labels are the numbers first, first + 1, first + 2 ..., passing `first` makes the shown
// ones the multiples of the step (1080, 1085, 1090 ...); otherwise every step-th label from
// the first is shown.
CategoryLabelLayout layoutCategoryLabels(const std::vector<double>& widths,
                                         const CategoryLabelBand& band, long long first = 1);

} // namespace quendal
