#include <gtest/gtest.h>

#include "toolkit/image_surface.h"

namespace vorblin {
namespace {

QRgb At(const ImageSurface& s, int x, int y) {
    return s.Image().pixel(x, y) & 0xFFFFFF;
}

TEST(ImageSurface, DrawsInItsOwnUnitsAndKeepsTheDrawing) {
    // The well: 233 x 433 pixels for 3760 x 7760 units.
    ImageSurface well(QSize(233, 433), 3760, 7760, kBlack);
    well.TakeDamage();
    // A cell is 15.5 pixels wide and 13.95 high: the layout's scale is not square.
    well.FilledBox(28, 28, 222, 222, kYellow);  // the first cell
    EXPECT_EQ(At(well, 2, 2), 0xFFFF00u);       // yellow as RGB
    EXPECT_EQ(At(well, 14, 12), 0xFFFF00u);
    EXPECT_EQ(At(well, 15, 13), 0u);
    EXPECT_EQ(At(well, 1, 1), 0u);
    EXPECT_EQ(well.TakeDamage(), QRect(QPoint(2, 2), QPoint(14, 12)));

    well.BoxOutline(278, 28, 472, 222, kCyan);  // the next cell: an outline, inside untouched
    EXPECT_EQ(At(well, 17, 2), 0x00FFFFu);
    EXPECT_EQ(At(well, 29, 12), 0x00FFFFu);
    EXPECT_EQ(At(well, 23, 7), 0u);

    well.Line(250, 0, 250, 8500, RGB(150, 175, 175));  // a grid line runs past the surface
    EXPECT_EQ(At(well, 15, 0), 0x96AFAFu);
    EXPECT_EQ(At(well, 15, 432), 0x96AFAFu);

    well.Cls();
    EXPECT_EQ(At(well, 2, 2), 0u);
    EXPECT_EQ(well.TakeDamage(), QRect(0, 0, 233, 433));
}

TEST(ImageSurface, ClipsBoxesOutsideAndAcceptsSlopedLines) {
    ImageSurface next(QSize(77, 77), 1155, 1155, kBlack);
    next.FilledBox(-222, -222, -28, -28, kRed);  // entirely off the surface
    next.FilledBox(1100, 1100, 1400, 1400, kRed);
    EXPECT_EQ(At(next, 76, 76), 0xFF0000u);
    next.Line(0, 0, 1155, 1155, kBlue);
    EXPECT_EQ(At(next, 38, 38), 0x0000FFu);
}

}  // namespace
}  // namespace vorblin
