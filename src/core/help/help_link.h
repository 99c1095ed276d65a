#pragma once
// What the help tour asks of its help window.

#include <string_view>

namespace vorblin {

// frmHelp as the tour sees it: one object per tour, loaded with strText and shown modally
// for each page; Show returns once the window has been unloaded again.
class HelpWindow {
  public:
    virtual ~HelpWindow() = default;
    virtual void Show(std::string_view strText) = 0;
    // False for a new object; set once the window was closed instead of left with "Далее"
    // ("Закрыть", its close box, or the game-over flow closing it): the tour ends.
    bool blnClose = false;
};

}  // namespace vorblin
