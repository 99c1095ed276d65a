#pragma once
// Window places on the screen. OnScreenPlaces: the places as the settings file sets them;
// a position that would leave a window off every screen (a screen taken away since, a
// hand-edited file) is moved back onto the nearest screen first.

#include <QList>
#include <QPoint>
#include <QRect>

#include "core/shell/side_windows.h"

namespace vorblin {

// Where a window with this frame goes so that a usable part of it lies on a screen: where
// it is, when that is so already; otherwise moved the shortest way onto the nearest screen.
QPoint PlaceOnScreens(const QRect& frame, const QList<QRect>& screens);

class OnScreenPlaces final : public WindowPlaces {
  public:
    explicit OnScreenPlaces(SideWindowHost& host) : host_(host) {}

    WindowPosition MainPosition() const override { return host_.MainPosition(); }
    void MoveMain(WindowPosition position) override;
    bool SideVisible(SideWindow window) override { return host_.SideVisible(window); }
    void SetSideVisible(SideWindow window, bool visible) override {
        host_.SetSideVisible(window, visible);
    }
    WindowPosition SidePosition(SideWindow window) override { return host_.SidePosition(window); }
    void MoveSide(SideWindow window, WindowPosition position) override;

  private:
    SideWindowHost& host_;
};

}  // namespace vorblin
