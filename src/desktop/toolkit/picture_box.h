#pragma once
// A drawing surface on screen: it shows the image its ImageSurface keeps.

#include <QWidget>

#include "desktop/toolkit/image_surface.h"

namespace vorblin {

class PictureBox final : public QWidget {
  public:
    PictureBox(QWidget* parent, QSize pixels, int unitsWide, int unitsHigh, Colour back);

    ImageSurface& Surface() { return surface_; }
    // Schedules a repaint of whatever was drawn since the last call.
    void ShowDamage();
    // Any other back colour than the surface's own covers the whole box (the help tour's
    // highlight); what is drawn shows again, kept, when the own colour comes back.
    void SetBackColor(Colour back);
    Colour BackColor() const { return shownBack_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ImageSurface surface_;
    Colour ownBack_;
    Colour shownBack_;
};

}  // namespace vorblin
