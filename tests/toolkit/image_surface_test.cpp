#include <gtest/gtest.h>

#include "toolkit/image_surface.h"

namespace vorblin {
namespace {

// The colours (as RGB) at the given pixels, separated by blanks.
QString At(const ImageSurface& s, std::initializer_list<QPoint> points) {
    QStringList colours;
    for (QPoint p : points)
        colours << QString::number(s.Image().pixel(p) & 0xFFFFFF, 16);
    return colours.join(' ');
}

TEST(ImageSurface, DrawsInItsOwnUnitsKeepsTheDrawingAndClips) {
    // The well: 233 x 433 pixels for 3760 x 7760 units, so a cell is 15.5 pixels wide and
    // 13.95 high: the layout's scale is not square.
    ImageSurface well(QSize(233, 433), 3760, 7760, kBlack);
    well.TakeDamage();
    well.FilledBox(28, 28, 222, 222, kYellow);  // the first cell
    EXPECT_EQ(At(well, {{2, 2}, {14, 12}, {15, 13}, {1, 1}}), "ffff00 ffff00 0 0");
    EXPECT_EQ(well.TakeDamage(), QRect(QPoint(2, 2), QPoint(14, 12)));
    well.BoxOutline(278, 28, 472, 222, kCyan);         // an outline: the inside is untouched
    well.Line(250, 0, 250, 8500, RGB(150, 175, 175));  // a grid line runs past the surface
    EXPECT_EQ(At(well, {{17, 2}, {29, 12}, {23, 7}, {15, 0}, {15, 432}}),
              "ffff ffff 0 96afaf 96afaf");
    well.Cls();
    EXPECT_EQ(At(well, {{2, 2}}), "0");
    EXPECT_EQ(well.TakeDamage(), QRect(0, 0, 233, 433));

    ImageSurface next(QSize(77, 77), 1155, 1155, kBlack);
    next.FilledBox(-222, -222, -28, -28, kRed);  // entirely off the surface
    next.FilledBox(1100, 1100, 1400, 1400, kRed);
    next.Line(0, 0, 1155, 1155, kBlue);
    EXPECT_EQ(At(next, {{74, 76}, {38, 38}}), "ff0000 ff");
}

}  // namespace
}  // namespace vorblin
