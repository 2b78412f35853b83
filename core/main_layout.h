#pragma once
// The geometry of the main window: the places of the panels, gates, menu buttons, logo and
// user tags, the menu font size and the tiling of the painted frame. Sizes of pictures come
// in as numbers, so the rules are computed without any window.

#include <array>
#include <vector>

namespace quendal {

struct PictureSize {
    int w = 0;
    int h = 0;
};

struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Place&, const Place&) = default;
};

// The sizes of the scheme pictures the layout reads.
struct MainLayoutPictures {
    PictureSize menuButton; // entry 0
    PictureSize leftEdge;   // entry 6
    PictureSize topEdge;    // entry 8
    PictureSize logo;       // entry 11
    PictureSize rightEdge;  // entry 12
    PictureSize bottomEdge; // entry 13
    PictureSize gate;       // entry 16
};

struct MainLayout {
    Place panel; // backpanel and Anmeldepanel, in the window's client area
    // The rest in the panel's coordinates.
    Place logo;
    Place tor1;
    Place tor2;
    Place einstellungen;
    Place einzelstatistik;
    Place gesamtstatistik;
    Place hilfe;
    Place benutzer;
    Place exit;
    int fontPoints = 12;
};

// The whole layout of a window whose client area is clientWidth x clientHeight.
MainLayout computeMainLayout(const MainLayoutPictures& pictures, int clientWidth, int clientHeight,
                             int playWidth);

// 8 points for a play field 1 to 750 wide, 10 for 751 to 820, 12 otherwise.
int menuFontPoints(int playWidth);

// One piece of a tiled edge: where it starts along the edge and how long it is.
struct TilePiece {
    int offset = 0;
    int length = 0;
    friend bool operator==(const TilePiece&, const TilePiece&) = default;
};
// Tiles of tileLength laid from 0 over total; the last is cut to what is left. Nothing for
// a total of 0 or less or a tile of no length.
std::vector<TilePiece> tileEdge(int total, int tileLength);

// --- The login panel ---
// Its design places are made for the 976 x 720 panel of a 1024 x 768 play field.

struct TagPlace {
    int left = 0;
    int top = 0;
    int face = 0;       // scheme entry of the tag's first face
    int secondFace = 0; // and of its second
};
// Key1 .. Key4 (index 0..3).
constexpr std::array<TagPlace, 4> kTagPlaces{{
    {4, 238, 35, 36},
    {245, 239, 37, 38},
    {486, 239, 39, 40},
    {728, 239, 33, 34},
}};
// B1, the logo on the login panel.
constexpr int kLoginLogoLeft = 316;
constexpr int kLoginLogoTop = 644;
// The two hints above the tags, label2 and LMDSimpleLabel1, across the whole panel.
constexpr int kLabel2Top = 128;
constexpr int kLMDSimpleLabel1Top = 160;
constexpr int kHintHeight = 24;
// The panel the design places were made for.
constexpr PictureSize kLoginDesignPanel{976, 720};

struct LoginLayout {
    std::array<Place, 4> tags; // Key1 .. Key4; their size may be smaller than the faces
    Place label2;
    Place lmdSimpleLabel1;
    Place logo; // B1
    bool designPlaces = true;
};

// The login panel of a panel panelWidth x panelHeight whose tag faces and logo have the given
// sizes. Where every piece fits whole inside the panel at its design place, the design places
// hold. Otherwise the pieces keep their arrangement with the panel's proportions: the hints
// and the row of tags at the same fractions of the panel's height, the tags spread with equal
// spaces across the width (made smaller, keeping their shape, where four in a row do not fit
// or reach the logo), the logo centred at the bottom.
LoginLayout computeLoginLayout(PictureSize tagFace, PictureSize logo, int panelWidth,
                               int panelHeight);

// Scheme entries of the main window.
namespace scheme {
constexpr int kMenuButton = 0;
constexpr int kMenuFaces = 3; // the three faces 3, 4 and 5
constexpr int kLeftEdge = 6;
constexpr int kBottomRight = 7;
constexpr int kTopEdge = 8;
constexpr int kTopLeft = 9;
constexpr int kTopRight = 10;
constexpr int kLogo = 11;
constexpr int kRightEdge = 12;
constexpr int kBottomEdge = 13;
constexpr int kBottomLeft = 14;
constexpr int kPanelBackground = 15;
constexpr int kTor1Face = 16; // and 17
constexpr int kTor2Face = 22; // and 23
} // namespace scheme

} // namespace quendal
