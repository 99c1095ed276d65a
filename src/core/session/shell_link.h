#pragma once
// What the game asks of the main window around it.

#include <memory>

#include "core/session/help_link.h"

namespace vorblin {

class ShellLink {
  public:
    virtual ~ShellLink() = default;
    // Give the keyboard focus to the well, so the game keys keep working.
    virtual void FocusWell() = 0;
    // Minimise the main window (pause by Esc).
    virtual void Minimize() = 0;
    // Bring the main window back to the normal state and give it the focus (resume).
    virtual void RestoreAndActivate() = 0;
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
