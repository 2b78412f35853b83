#include "core/main_layout.h"

#include <gtest/gtest.h>

using namespace quendal;

namespace {

// Frame borders of 24 on each side make a 976-pixel panel of a 1024-pixel window.
MainLayoutPictures pictures(int gateWidth, int buttonWidth) {
    MainLayoutPictures p;
    p.menuButton = {buttonWidth, 40};
    p.leftEdge = {24, 10};
    p.topEdge = {10, 24};
    p.rightEdge = {24, 10};
    p.bottomEdge = {10, 24};
    p.logo = {391, 100};
    p.gate = {gateWidth, 260};
    return p;
}

} // namespace

TEST(MainLayout, GatesSitWithEqualMarginsOnA976PixelPanel) {
    const auto m = computeMainLayout(pictures(300, 160), 1024, 768, 1024);
    EXPECT_EQ(m.panel, (Place{24, 24, 976, 720}));
    EXPECT_EQ(m.tor1.left, 157);
    EXPECT_EQ(m.tor2.left, 519);
    EXPECT_EQ(976 - (m.tor2.left + 300), 157);
    EXPECT_EQ(m.tor1.top, (720 - 260) / 2);
    EXPECT_EQ(m.tor2.top, m.tor1.top);
}

TEST(MainLayout, MenuRowWithEqualMargins) {
    const auto m = computeMainLayout(pictures(300, 160), 1024, 768, 1024);
    EXPECT_EQ(m.einstellungen.left, 84);
    EXPECT_EQ(m.einzelstatistik.left, 300);
    EXPECT_EQ(m.gesamtstatistik.left, 516);
    EXPECT_EQ(m.hilfe.left, 732);
    EXPECT_EQ(976 - (m.hilfe.left + 160), 84);
    EXPECT_EQ(m.hilfe.width, 160);
}

TEST(MainLayout, UserButtonExitAndLogo) {
    const auto m = computeMainLayout(pictures(300, 160), 1024, 768, 1024);
    // Gate top 230: the user button's top is 230 / 2 - 40; the menu row half a button lower.
    EXPECT_EQ(m.benutzer, (Place{408, 75, 160, 40}));
    EXPECT_EQ(m.einstellungen.top, 60 + 75);
    EXPECT_EQ(m.logo, (Place{(976 - 391) / 2 + 1, 620, 391, 100}));
    // The exit button is centred between the gates' bottom (490) and the logo's top (620).
    EXPECT_EQ(m.exit, (Place{408, 490 + (620 - 530) / 2, 160, 40}));
}

TEST(MainLayout, DivisionRoundsTowardZeroWhenThePanelIsTooSmall) {
    auto p = pictures(300, 160);
    const auto m = computeMainLayout(p, 600, 400, 600);
    // Free width 552 - 600 = -48: the gap and the left are rounded toward zero.
    EXPECT_EQ(m.tor1.left, (-48 - (-48 / 3) / 2) / 2);
    EXPECT_EQ(m.tor1.left, -20);
}

TEST(MainLayout, MenuFontByPlayWidth) {
    EXPECT_EQ(menuFontPoints(640), 8);
    EXPECT_EQ(menuFontPoints(750), 8);
    EXPECT_EQ(menuFontPoints(751), 10);
    EXPECT_EQ(menuFontPoints(800), 10);
    EXPECT_EQ(menuFontPoints(820), 10);
    EXPECT_EQ(menuFontPoints(821), 12);
    EXPECT_EQ(menuFontPoints(1024), 12);
    EXPECT_EQ(menuFontPoints(0), 12);
    EXPECT_EQ(computeMainLayout(pictures(300, 160), 800, 600, 800).fontPoints, 10);
}

TEST(MainLayout, EdgesAreTiledAndTheLastTileCut) {
    EXPECT_EQ(tileEdge(250, 100), (std::vector<TilePiece>{{0, 100}, {100, 100}, {200, 50}}));
    EXPECT_EQ(tileEdge(200, 100), (std::vector<TilePiece>{{0, 100}, {100, 100}}));
    EXPECT_TRUE(tileEdge(0, 100).empty());
    EXPECT_TRUE(tileEdge(-5, 100).empty());
    EXPECT_TRUE(tileEdge(100, 0).empty()); // a missing picture never loops forever
}

TEST(MainLayout, TagPlacesAndFaces) {
    EXPECT_EQ(kTagPlaces[0].left, 4);
    EXPECT_EQ(kTagPlaces[0].top, 238);
    EXPECT_EQ(kTagPlaces[3].left, 728);
    EXPECT_EQ(kTagPlaces[3].face, 33);
    EXPECT_EQ(kTagPlaces[0].face, 35);
}
