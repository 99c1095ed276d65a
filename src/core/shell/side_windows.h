#pragma once
// The three side windows as the main window's logic moves them: places, sizes and states
// in twips of their frames.

#include "core/base/window_places.h"

namespace vorblin {

class SideWindowHost : public WindowPlaces {
  public:
    virtual WindowSize MainSize() const = 0;
    // Asking loads the window (hidden) when it does not exist yet.
    virtual WindowSize SideSize(SideWindow window) = 0;
    virtual void SetSideMinimized(SideWindow window, bool minimized) = 0;
    // The main window closes: the side windows really go (their close boxes only hide).
    virtual void UnloadSideWindows() = 0;
};

constexpr int32_t kDockingGap = 20;

}  // namespace vorblin
