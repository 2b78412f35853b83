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

namespace {

bool within(const Place& p, int width, int height) {
    return p.left >= 0 && p.top >= 0 && p.width > 0 && p.height > 0 && p.left + p.width <= width &&
           p.top + p.height <= height;
}

bool overlap(const Place& a, const Place& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Every piece whole inside the panel, none on another, the tags left to right in one row
// below the hints and above the logo.
void expectWholeAndApart(const LoginLayout& m, int width, int height) {
    std::vector<Place> pieces{m.label2, m.lmdSimpleLabel1, m.logo};
    pieces.insert(pieces.end(), m.tags.begin(), m.tags.end());
    for (std::size_t a = 0; a < pieces.size(); ++a) {
        EXPECT_TRUE(within(pieces[a], width, height)) << "piece " << a;
        for (std::size_t b = a + 1; b < pieces.size(); ++b) {
            EXPECT_FALSE(overlap(pieces[a], pieces[b])) << "pieces " << a << " and " << b;
        }
    }
    for (std::size_t i = 1; i < m.tags.size(); ++i) {
        EXPECT_GT(m.tags[i].left, m.tags[i - 1].left + m.tags[i - 1].width) << i;
    }
    EXPECT_LT(m.lmdSimpleLabel1.top + m.lmdSimpleLabel1.height, m.tags[0].top);
    EXPECT_LT(m.tags[3].top + m.tags[3].height, m.logo.top);
}

} // namespace

TEST(LoginLayout, KeepsTheDesignPlacesWhereTheyFit) {
    // 1024 x 768: the drawn tags of 232 x 100 and logo of 344 x 76 on the 976 x 720 panel.
    const LoginLayout m = computeLoginLayout({232, 100}, {344, 76}, 976, 720);
    EXPECT_TRUE(m.designPlaces);
    EXPECT_EQ(m.tags[0], (Place{4, 238, 232, 100}));
    EXPECT_EQ(m.tags[1], (Place{245, 239, 232, 100}));
    EXPECT_EQ(m.tags[2], (Place{486, 239, 232, 100}));
    EXPECT_EQ(m.tags[3], (Place{728, 239, 232, 100}));
    EXPECT_EQ(m.logo, (Place{316, 644, 344, 76}));
    EXPECT_EQ(m.label2, (Place{0, 128, 976, 24}));
    EXPECT_EQ(m.lmdSimpleLabel1, (Place{0, 160, 976, 24}));
    expectWholeAndApart(m, 976, 720);
    // A larger play field keeps them too, at the panel's top-left.
    const LoginLayout large = computeLoginLayout({232, 100}, {344, 76}, 1232, 976);
    EXPECT_TRUE(large.designPlaces);
    EXPECT_EQ(large.tags[3], m.tags[3]);
    EXPECT_EQ(large.logo, m.logo);
    EXPECT_EQ(large.label2.width, 1232);
    // One pixel too narrow or too low for the fourth tag or the logo, and they are laid out
    // afresh.
    EXPECT_FALSE(computeLoginLayout({232, 100}, {344, 76}, 959, 720).designPlaces);
    EXPECT_FALSE(computeLoginLayout({232, 100}, {344, 76}, 976, 719).designPlaces);
}

TEST(LoginLayout, SmallPlayFieldsShowEveryTagHintAndTheLogoWhole) {
    // The panels and drawn pictures of 800 x 600 and 640 x 480.
    const LoginLayout m800 = computeLoginLayout({181, 78}, {269, 59}, 762, 562);
    EXPECT_FALSE(m800.designPlaces);
    expectWholeAndApart(m800, 762, 562);
    const LoginLayout m640 = computeLoginLayout({145, 63}, {215, 48}, 610, 450);
    EXPECT_FALSE(m640.designPlaces);
    expectWholeAndApart(m640, 610, 450);
    // The drawn faces fit as they are: five equal spaces of (610 - 4 * 145) / 5 = 6, the row
    // at 238 / 720 and 239 / 720 of the height, the hints at 128 / 720 and 160 / 720 and 24 /
    // 720 high, the logo centred at the bottom.
    EXPECT_EQ(m640.tags[0], (Place{6, 148, 145, 63}));
    EXPECT_EQ(m640.tags[1], (Place{157, 149, 145, 63}));
    EXPECT_EQ(m640.tags[3], (Place{459, 149, 145, 63}));
    EXPECT_EQ(610 - (m640.tags[3].left + 145), 6);
    EXPECT_EQ(m640.label2, (Place{0, 80, 610, 15}));
    EXPECT_EQ(m640.lmdSimpleLabel1, (Place{0, 100, 610, 15}));
    EXPECT_EQ(m640.logo, (Place{197, 402, 215, 48}));
    EXPECT_EQ(m800.tags[0].width, 181);
    EXPECT_EQ(m800.tags[0].height, 78);
    // 38 pixels to share: spaces of 7, the rest around the row, which stays centred.
    EXPECT_EQ(m800.tags[1].left - (m800.tags[0].left + 181), 7);
    EXPECT_EQ(m800.tags[0].left, 8);
    EXPECT_EQ(762 - (m800.tags[3].left + 181), 9);
}

TEST(LoginLayout, TagsTooLargeForThePanelAreMadeSmallerInTheirShape) {
    // Faces of 232 x 100 on the panels of 640 x 480, 900 x 700 and a wide, low field.
    for (const auto& [width, height] :
         std::vector<std::pair<int, int>>{{610, 450}, {852, 652}, {1452, 252}}) {
        const LoginLayout m = computeLoginLayout({232, 100}, {344, 76}, width, height);
        EXPECT_FALSE(m.designPlaces);
        expectWholeAndApart(m, width, height);
        const Place& tag = m.tags[0];
        EXPECT_LE(tag.width, 232);
        EXPECT_NEAR(tag.width * 100.0 / 232.0, tag.height, 1.0) << width;
    }
    // On 610 the width decides: four of (610 - 20) / 4 = 147, 63 high.
    EXPECT_EQ(computeLoginLayout({232, 100}, {215, 48}, 610, 450).tags[3].width, 147);
}
