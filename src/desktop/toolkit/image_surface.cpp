#include "desktop/toolkit/image_surface.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

#include "desktop/toolkit/qt_colour.h"

namespace vorblin {

namespace {
QRgb Rgb(Colour c) {
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}
}  // namespace

ImageSurface::ImageSurface(QSize pixels, int unitsWide, int unitsHigh, Colour back)
    : image_(pixels, QImage::Format_RGB32),
      unitsWide_(unitsWide),
      unitsHigh_(unitsHigh),
      back_(back) {
    Cls();
}

int ImageSurface::PixelX(int unit) const {
    return static_cast<int>(std::lrint(static_cast<double>(unit) * image_.width() / unitsWide_));
}

int ImageSurface::PixelY(int unit) const {
    return static_cast<int>(std::lrint(static_cast<double>(unit) * image_.height() / unitsHigh_));
}

void ImageSurface::FillPixels(int x1, int y1, int x2, int y2, QRgb rgb) {
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, image_.width() - 1);
    y2 = std::min(y2, image_.height() - 1);
    if (x1 > x2 || y1 > y2)
        return;
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = y1; y <= y2; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + x1, row + x2 + 1, rgb);
    }
    damage_ |= QRect(QPoint(x1, y1), QPoint(x2, y2));
}

void ImageSurface::Cls() {
    image_.fill(ToQColor(back_));
    damage_ = image_.rect();
}

void ImageSurface::Line(int x1, int y1, int x2, int y2, Colour colour) {
    const int px1 = PixelX(x1), py1 = PixelY(y1), px2 = PixelX(x2), py2 = PixelY(y2);
    if (px1 == px2 || py1 == py2) {  // every line the game draws is straight across or down
        FillPixels(px1, py1, px2, py2, Rgb(colour));
        return;
    }
    QPainter painter(&image_);
    painter.setPen(ToQColor(colour));
    painter.drawLine(px1, py1, px2, py2);
    damage_ |= QRect(QPoint(std::min(px1, px2), std::min(py1, py2)),
                     QPoint(std::max(px1, px2), std::max(py1, py2)));
}

void ImageSurface::BoxOutline(int x1, int y1, int x2, int y2, Colour colour) {
    // The inside stays as it is (a transparent fill).
    const QRgb rgb = Rgb(colour);
    const int px1 = PixelX(x1), py1 = PixelY(y1), px2 = PixelX(x2), py2 = PixelY(y2);
    FillPixels(px1, py1, px2, py1, rgb);
    FillPixels(px1, py2, px2, py2, rgb);
    FillPixels(px1, py1, px1, py2, rgb);
    FillPixels(px2, py1, px2, py2, rgb);
}

void ImageSurface::FilledBox(int x1, int y1, int x2, int y2, Colour colour) {
    FillPixels(PixelX(x1), PixelY(y1), PixelX(x2), PixelY(y2), Rgb(colour));
}

QRect ImageSurface::TakeDamage() {
    return std::exchange(damage_, QRect());
}

}  // namespace vorblin
