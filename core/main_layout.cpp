#include "core/main_layout.h"

#include <algorithm>
#include <cstdint>

namespace quendal {
namespace {

bool inside(const Place& place, int panelWidth, int panelHeight) {
    return place.left >= 0 && place.top >= 0 && place.left + place.width <= panelWidth &&
           place.top + place.height <= panelHeight;
}

// value * numerator / denominator, rounded toward zero, without overflow.
int scaled(int value, int numerator, int denominator) {
    return static_cast<int>(static_cast<int64_t>(value) * numerator / denominator);
}

// The least space left of, between and right of the tags when they are spread.
constexpr int kLeastTagSpace = 4;

} // namespace

int menuFontPoints(int playWidth) {
    if (playWidth >= 1 && playWidth <= 750) {
        return 8;
    }
    if (playWidth >= 751 && playWidth <= 820) {
        return 10;
    }
    return 12;
}

MainLayout computeMainLayout(const MainLayoutPictures& s, int clientWidth, int clientHeight,
                             int playWidth) {
    MainLayout m;
    const int l = s.leftEdge.w;
    const int t = s.topEdge.h;
    const int r = s.rightEdge.w;
    const int b = s.bottomEdge.h;
    m.panel = {l, t, clientWidth - l - r, clientHeight - t - b};
    const int pw = m.panel.width;
    const int ph = m.panel.height;

    // The logo sits at the bottom, centred, one pixel to the right.
    m.logo = {(pw - s.logo.w) / 2 + 1, ph - s.logo.h, s.logo.w, s.logo.h};

    // The two gates are centred with a gap of a sixth of the free width between them.
    const int x = s.gate.w;
    const int rg = pw - 2 * x;
    const int z = (rg / 3) / 2;
    const int gateTop = (ph - s.gate.h) / 2;
    m.tor1 = {(rg - z) / 2, gateTop, s.gate.w, s.gate.h};
    m.tor2 = {m.tor1.left + x + z, gateTop, s.gate.w, s.gate.h};

    // The hidden user button anchors the menu row and the exit button.
    const PictureSize button = s.menuButton;
    m.benutzer = {(pw - button.w) / 2, (gateTop / 2) - button.h, button.w, button.h};
    const int exitTop = ((m.logo.top - (s.gate.h + gateTop + button.h)) / 2) + s.gate.h + gateTop;
    m.exit = {m.benutzer.left, exitTop, button.w, button.h};

    // Four menu buttons in a row, half a button height below the user button.
    const int rm = pw - 4 * button.w;
    const int g = (rm / 3) / 2;
    const int rowTop = (3 * button.h) / 2 + m.benutzer.top;
    const int first = (rm - 3 * g) / 2;
    m.einstellungen = {first, rowTop, button.w, button.h};
    m.einzelstatistik = {first + (button.w + g), rowTop, button.w, button.h};
    m.gesamtstatistik = {first + 2 * (button.w + g), rowTop, button.w, button.h};
    m.hilfe = {first + 3 * (button.w + g), rowTop, button.w, button.h};

    m.fontPoints = menuFontPoints(playWidth);
    return m;
}

std::vector<TilePiece> tileEdge(int total, int tileLength) {
    std::vector<TilePiece> pieces;
    if (total <= 0 || tileLength <= 0) {
        return pieces;
    }
    for (int offset = 0; offset < total; offset += tileLength) {
        const int length = total - offset < tileLength ? total - offset : tileLength;
        pieces.push_back({offset, length});
    }
    return pieces;
}

LoginLayout computeLoginLayout(PictureSize tagFace, PictureSize logo, int panelWidth,
                               int panelHeight) {
    const int pw = panelWidth;
    const int ph = panelHeight;
    LoginLayout design;
    bool fits = true;
    for (std::size_t i = 0; i < design.tags.size(); ++i) {
        design.tags[i] = {kTagPlaces[i].left, kTagPlaces[i].top, tagFace.w, tagFace.h};
        fits = fits && inside(design.tags[i], pw, ph);
    }
    design.label2 = {0, kLabel2Top, pw, kHintHeight};
    design.lmdSimpleLabel1 = {0, kLMDSimpleLabel1Top, pw, kHintHeight};
    design.logo = {kLoginLogoLeft, kLoginLogoTop, logo.w, logo.h};
    fits = fits && inside(design.lmdSimpleLabel1, pw, ph) && inside(design.logo, pw, ph);
    if (fits) {
        return design;
    }

    LoginLayout fitted;
    fitted.designPlaces = false;
    const int dh = kLoginDesignPanel.h;
    // The hints at the design's fractions of the height, as high as the height allows.
    const int hintHeight = std::max(1, scaled(kHintHeight, ph, dh));
    fitted.label2 = {0, scaled(kLabel2Top, ph, dh), pw, hintHeight};
    fitted.lmdSimpleLabel1 = {0, scaled(kLMDSimpleLabel1Top, ph, dh), pw, hintHeight};
    // The logo centred at the bottom.
    fitted.logo = {(pw - logo.w) / 2, ph - logo.h, logo.w, logo.h};

    // The tags at the design's fractions of the height, as large as their faces unless four
    // in a row are wider than the panel or reach down to the logo.
    std::array<int, 4> tops{};
    for (std::size_t i = 0; i < tops.size(); ++i) {
        tops[i] = scaled(kTagPlaces[i].top, ph, dh);
    }
    const int lowest = *std::max_element(tops.begin(), tops.end());
    const int widthRoom = std::max(0, (pw - 5 * kLeastTagSpace) / 4);
    const int heightRoom = std::max(0, fitted.logo.top - kLeastTagSpace - lowest);
    int w = std::max(0, tagFace.w);
    int h = std::max(0, tagFace.h);
    if (w > widthRoom || h > heightRoom) {
        // Smaller, by whichever of the two leaves less room, keeping the face's shape.
        if (static_cast<int64_t>(widthRoom) * h <= static_cast<int64_t>(heightRoom) * w) {
            h = w > 0 ? scaled(h, widthRoom, w) : 0;
            w = widthRoom;
        } else {
            w = h > 0 ? scaled(w, heightRoom, h) : 0;
            h = heightRoom;
        }
    }
    // Five equal spaces: before, between and after the tags; what cannot be shared equally
    // goes half to the left.
    const int space = (pw - 4 * w) / 5;
    const int first = space + (pw - 4 * w - 5 * space) / 2;
    for (std::size_t i = 0; i < fitted.tags.size(); ++i) {
        fitted.tags[i] = {first + static_cast<int>(i) * (w + space), tops[i], w, h};
    }
    return fitted;
}

} // namespace quendal
