#include <gtest/gtest.h>

#include "shell/window_shape.h"
#include "toolkit/twips.h"

namespace vorblin {
namespace {

TEST(WindowShape, MatchesTheWorkedExample) {
    const std::vector<PlacedControl> placed = WindowLevelControls();
    const std::vector<ShapeRect> outline = RebuildWindowRgn(kMainOuterWidth, placed);
    // Title strip, then the shaping controls in the window's control order.
    const std::vector<ShapeRect> expected = {
        {0, 0, 7125, 27},      // title strip
        {10, 35, 263, 500},    // fraVorblin
        {58, 507, 207, 596},   // fraBottom
        {250, 531, 463, 612},  // fraBottomRight
        {298, 35, 463, 500},   // fraLeft
        {274, 27, 277, 196},   // Label5
        {34, 555, 57, 560},    // Label4
        {34, 491, 37, 556},    // Label3
        {202, 571, 249, 576},  // Label2
        {258, 195, 297, 200},  // Label1
    };
    EXPECT_EQ(outline, expected);
}

TEST(WindowShape, TakesOnlyTheNineShapingControls) {
    const std::vector<PlacedControl> placed = {
        {"fraLeft", ControlKind::Panel, 10, 20, 30, 40},
        {"lblScore", ControlKind::Label, 1, 1, 5, 5},  // not a shaping control
        {"Label3", ControlKind::Bar, 10, 20, 30, 40},
    };
    const std::vector<ShapeRect> outline = RebuildWindowRgn(500, placed);
    ASSERT_EQ(outline.size(), 3u);
    EXPECT_EQ(outline[0], (ShapeRect{0, 0, 500, 27}));
    EXPECT_EQ(outline[1], (ShapeRect{12, 47, 46, 95}));  // a panel: +6 right, +35 down
    EXPECT_EQ(outline[2], (ShapeRect{12, 47, 40, 87}));  // a bar: its own right, +27 down
    EXPECT_EQ(RebuildWindowRgn(500, {}).size(), 1u);
}

TEST(Twips, FifteenToAPixel) {
    EXPECT_EQ(TwipsToPixels(3735), 249);
    EXPECT_EQ(TwipsToPixels(2892), 193);  // 192.8
    EXPECT_EQ(TwipsToPixels(7), 0);
    EXPECT_EQ(TwipsToPixels(8), 1);
    EXPECT_EQ(PixelsToTwips(475), 7125);
}

}  // namespace
}  // namespace vorblin
