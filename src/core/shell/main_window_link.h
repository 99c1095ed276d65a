#pragma once
// What the main window's logic asks of the window itself, beyond what a game asks.

#include <memory>

#include "core/help/help_link.h"
#include "core/session/shell_link.h"

namespace vorblin {

class MainWindowLink : public ShellLink {
  public:
    // Cut the window to its outline (the last step of every load).
    virtual void RebuildWindowRgn() {}
    // Show the settings window modally and wait until it closes.
    virtual void ShowSettings() {}
    // The sound's set-up, done at the first load only: the channels, the settings file (which
    // also puts the windows back where they stood), the pan sweep.
    virtual void LoadSound() {}
    // Write the settings file (closing, and ending the program from the game-over question).
    virtual void SaveSoundSettings() {}
    // A new help window object for one help tour; none where there is no help window.
    virtual std::unique_ptr<HelpWindow> NewHelpWindow() { return nullptr; }
};

}  // namespace vorblin
