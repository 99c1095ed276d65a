#pragma once
// Window places for the settings file: the main window's own frame, and the three side
// windows kept as plain records until those windows exist.

#include <QList>
#include <QPoint>
#include <QRect>
#include <array>

#include "shell/window_places.h"

class QWidget;

namespace vorblin {

// Where a window with this frame goes so that a usable part of it lies on a screen: where
// it is, when that is so already; otherwise moved the shortest way onto the nearest screen.
QPoint PlaceOnScreens(const QRect& frame, const QList<QRect>& screens);

class FrmMainPlaces final : public WindowPlaces {
  public:
    explicit FrmMainPlaces(QWidget& main) : main_(main) {}

    WindowPosition MainPosition() const override;
    void MoveMain(WindowPosition position) override;
    bool SideVisible(SideWindow window) override { return Side(window).visible; }
    void SetSideVisible(SideWindow window, bool visible) override {
        Side(window).visible = visible;
    }
    WindowPosition SidePosition(SideWindow window) override { return Side(window).position; }
    void MoveSide(SideWindow window, WindowPosition position) override {
        Side(window).position = position;
    }

  private:
    struct SideRecord {
        bool visible = false;
        WindowPosition position;
    };
    SideRecord& Side(SideWindow window) { return sides_[static_cast<size_t>(window)]; }

    QWidget& main_;
    std::array<SideRecord, 3> sides_{};
};

}  // namespace vorblin
