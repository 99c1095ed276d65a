#pragma once
// What a game asks of the main window around it.

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
};

}  // namespace vorblin
