#include "core/main_layout.h"

namespace quendal {

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

} // namespace quendal
