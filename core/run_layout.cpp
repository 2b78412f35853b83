#include "core/run_layout.h"

namespace quendal {

int layoutClass(int playWidth) {
    if (playWidth >= 1 && playWidth <= 750) {
        return 640;
    }
    if (playWidth >= 751 && playWidth <= 820) {
        return 800;
    }
    return 1024;
}

const RunScreenGeometry& runScreenGeometry(int playWidth) {
    // Oben, Links, Rechts, Unten, Mitte, XOben, XLinks, XRechts, XUnten.
    static const RunScreenGeometry k640{{{{170, 4},
                                          {4, 128},
                                          {336, 128},
                                          {170, 253},
                                          {170, 128},
                                          {170, 68},
                                          {89, 128},
                                          {251, 128},
                                          {170, 188}}},
                                        6};
    static const RunScreenGeometry k800{{{{208, 5},
                                          {4, 157},
                                          {412, 157},
                                          {208, 309},
                                          {208, 157},
                                          {208, 82},
                                          {108, 157},
                                          {308, 157},
                                          {208, 231}}},
                                        7};
    static const RunScreenGeometry k1024{{{{262, 4},
                                           {4, 195},
                                           {520, 195},
                                           {262, 384},
                                           {262, 195},
                                           {262, 102},
                                           {135, 195},
                                           {389, 195},
                                           {262, 288}}},
                                         10};
    switch (layoutClass(playWidth)) {
    case 640:
        return k640;
    case 800:
        return k800;
    default:
        return k1024;
    }
}

} // namespace quendal
