#include <gtest/gtest.h>

#include "shell/window_shape.h"

namespace vorblin {
namespace {

TEST(WindowShape, MatchesTheWorkedExample) {
    const std::vector<ShapeRect> outline = RebuildWindowRgn(kMainOuterWidth, WindowLevelControls());
    // Title strip, then the shaping controls in the window's control order; the
    // window's other controls (none sit directly on it but these) add nothing.
    const std::vector<ShapeRect> expected = {
        {0, 0, 7125, 27},     {10, 35, 263, 500},   {58, 507, 207, 596}, {250, 531, 463, 612},
        {298, 35, 463, 500},  {274, 27, 277, 196},  {34, 555, 57, 560},  {34, 491, 37, 556},
        {202, 571, 249, 576}, {258, 195, 297, 200},
    };
    EXPECT_EQ(outline, expected);
    const PlacedControl stray[] = {{"lblScore", ControlKind::Label, 1, 1, 5, 5}};
    EXPECT_EQ(RebuildWindowRgn(500, stray), (std::vector<ShapeRect>{{0, 0, 500, 27}}));
}

}  // namespace
}  // namespace vorblin
