#pragma once
// A drawing surface that keeps what is drawn on it in an image, in its own user units.

#include <QImage>
#include <QRect>

#include "core/rules/drawing.h"

namespace vorblin {

class ImageSurface final : public DrawingSurface {
  public:
    // pixels: the surface's size on screen; units: its scale (width and height).
    ImageSurface(QSize pixels, int unitsWide, int unitsHigh, Colour back);

    void Cls() override;
    void Line(int x1, int y1, int x2, int y2, Colour colour) override;
    void BoxOutline(int x1, int y1, int x2, int y2, Colour colour) override;
    void FilledBox(int x1, int y1, int x2, int y2, Colour colour) override;

    const QImage& Image() const { return image_; }
    // The part drawn over since the last call.
    QRect TakeDamage();

  private:
    int PixelX(int unit) const;
    int PixelY(int unit) const;
    // Fills the pixel rectangle with both corners included, clipped to the image.
    void FillPixels(int x1, int y1, int x2, int y2, QRgb rgb);

    QImage image_;
    int unitsWide_, unitsHigh_;
    Colour back_;
    QRect damage_;
};

}  // namespace vorblin
