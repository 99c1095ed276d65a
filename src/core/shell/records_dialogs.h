#pragma once
// The modal windows of the game-over flow, and what it asks of the windows around it.

#include "core/records/hall_of_fame.h"

namespace vorblin {

class RecordsDialogs {
  public:
    virtual ~RecordsDialogs() = default;
    // frmEnterName, modal over the main window.
    virtual NameEntry Ask_Player_Name() = 0;
    // frmGameOver, modal over the main window: true for "Да".
    virtual bool AskNewGame() = 0;
    // Closes the file chooser, the help and the settings windows where they are open.
    virtual void CloseToolWindows() = 0;
    // Ends the program at once (the settings have been saved).
    virtual void EndProgram() = 0;
};

}  // namespace vorblin
