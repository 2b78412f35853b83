#include "toolkit/category_labels.h"

#include <algorithm>

namespace quendal {

namespace {

// The smallest of 1, 2, 5, 10, 20, 50 ... that is at least m.
int roundStepAtLeast(double m) {
    for (int decade = 1;; decade *= 10) {
        for (int factor : {1, 2, 5}) {
            if (factor * decade >= m) {
                return factor * decade;
            }
        }
    }
}

} // namespace

double lyingLabelGap(double textHeight) {
    return std::max(4.0, 0.5 * textHeight);
}

double uprightLabelGap(double textHeight) {
    return std::max(2.0, 0.2 * textHeight);
}

CategoryLabelLayout layoutCategoryLabels(const std::vector<double>& widths,
                                         const CategoryLabelBand& band, long long first) {
    CategoryLabelLayout out;
    const int n = static_cast<int>(widths.size());
    if (n == 0 || band.plotWidth <= 0) {
        return out;
    }
    const double pitch = band.plotWidth / n;
    const double widest = *std::max_element(widths.begin(), widths.end());
    const double lyingGap = lyingLabelGap(band.textHeight);
    const double uprightGap = uprightLabelGap(band.textHeight);
    if (widest + lyingGap <= pitch) {
        out.upright = false;
    } else if (band.textHeight + uprightGap <= pitch) {
        out.upright = true;
    } else {
        // Lying labels read more easily than upright ones; once some must be left out, they lie.
        out.step = roundStepAtLeast((widest + lyingGap) / pitch);
    }
    const double gap = out.upright ? uprightGap : lyingGap;

    auto box = [&](int i) {
        const double centre = band.plotLeft + (i + 0.5) * pitch;
        const double w = widths[static_cast<std::size_t>(i)];
        const double across = out.upright ? band.textHeight : w;
        double left = std::min(centre - across / 2, band.maxX - across);
        left = std::max(left, band.minX);
        return QRectF(left, band.top, across, out.upright ? w : band.textHeight);
    };
    auto apart = [gap](const QRectF& a, const QRectF& b) { return a.right() + gap <= b.left(); };
    auto keep = [&out](int i, const QRectF& b) {
        out.shown.push_back(i);
        out.boxes.push_back(b);
    };

    keep(0, box(0));
    // The labels in between: every step-th, those whose number first + i is a multiple of the
    // step, each only where it keeps its distance from the one before.
    const long long phase = ((first % out.step) + out.step) % out.step;
    for (int i = static_cast<int>((out.step - phase) % out.step); i < n - 1; i += out.step) {
        if (i == 0) {
            continue;
        }
        const QRectF b = box(i);
        if (apart(out.boxes.back(), b)) {
            keep(i, b);
        }
    }
    if (n > 1) {
        // The last label is always shown: the ones before it give way.
        const QRectF last = box(n - 1);
        while (out.shown.size() > 1 && !apart(out.boxes.back(), last)) {
            out.shown.pop_back();
            out.boxes.pop_back();
        }
        if (apart(out.boxes.back(), last)) {
            keep(n - 1, last);
        }
    }
    for (const QRectF& b : out.boxes) {
        out.height = std::max(out.height, b.height());
    }
    return out;
}

} // namespace quendal
