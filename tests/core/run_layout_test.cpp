#include "core/folders.h"
#include "core/run_layout.h"

#include <gtest/gtest.h>

using namespace quendal;

TEST(RunLayout, ClassBoundariesChooseSlotsAndGraphicsFolderAlike) {
    const struct {
        int width;
        int cls;
        const char* folder;
        int plate;
    } cases[] = {{1, 640, "640/", 6},    {750, 640, "640/", 6},    {751, 800, "800/", 7},
                 {820, 800, "800/", 7},  {821, 1024, "1024/", 10}, {1024, 1024, "1024/", 10},
                 {0, 1024, "1024/", 10}, {4000, 1024, "1024/", 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(layoutClass(c.width), c.cls);
        EXPECT_EQ(resolutionFolder(c.width), c.folder);
        EXPECT_EQ(runScreenGeometry(c.width).plateOffset, c.plate);
    }
}

TEST(RunLayout, IntermediatePlacesLieBetweenCentreAndTarget) {
    for (int width : {640, 800, 1024}) {
        SCOPED_TRACE(width);
        const auto& s = runScreenGeometry(width).places;
        const SlotPlace m = s[kMitte];
        EXPECT_TRUE(s[kOben].left == m.left && s[kXOben].left == m.left);
        EXPECT_TRUE(s[kOben].top < s[kXOben].top && s[kXOben].top < m.top);
        EXPECT_TRUE(s[kUnten].left == m.left && s[kXUnten].left == m.left);
        EXPECT_TRUE(m.top < s[kXUnten].top && s[kXUnten].top < s[kUnten].top);
        EXPECT_TRUE(s[kLinks].top == m.top && s[kXLinks].top == m.top);
        EXPECT_TRUE(s[kLinks].left < s[kXLinks].left && s[kXLinks].left < m.left);
        EXPECT_TRUE(s[kRechts].top == m.top && s[kXRechts].top == m.top);
        EXPECT_TRUE(m.left < s[kXRechts].left && s[kXRechts].left < s[kRechts].left);
    }
    EXPECT_EQ(runScreenGeometry(1024).places[kRechts].left, 520);
    EXPECT_EQ(runScreenGeometry(800).places[kUnten].top, 309);
    EXPECT_EQ(runScreenGeometry(640).places[kXLinks].left, 89);
}
