#pragma once
// The main window's and the three side windows' places on the screen, as the rules see
// them: Left and Top in twips of the window's frame, and whether a side window is shown.
// The settings file stores them from one run to the next; docking moves the side windows.

#include <cstdint>

namespace vorblin {

enum class SideWindow : uint8_t { frmVorblinFathers, frmStatistic, frmFuture };

struct WindowPosition {
    int32_t Left = 0;
    int32_t Top = 0;
};

struct WindowSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

class WindowPlaces {
  public:
    virtual ~WindowPlaces() = default;
    virtual WindowPosition MainPosition() const = 0;
    virtual void MoveMain(WindowPosition position) = 0;
    // Asking loads a side window (hidden) when it does not exist yet.
    virtual bool SideVisible(SideWindow window) = 0;
    virtual void SetSideVisible(SideWindow window, bool visible) = 0;
    virtual WindowPosition SidePosition(SideWindow window) = 0;
    virtual void MoveSide(SideWindow window, WindowPosition position) = 0;
};

}  // namespace vorblin
