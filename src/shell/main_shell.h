#pragma once
// The main window's logic around the game: the load sequence, the menu buttons, the
// demonstration and the menu flash. The window forwards its events here.

#include "game/game.h"
#include "scoring/demo.h"
#include "shell/main_menu.h"

namespace vorblin {

class MainShell {
  public:
    explicit MainShell(const GameParts& parts);

    // Start-up and every new game.
    void Form_Load();
    // After game over: score and speed back to 0, then the load again.
    void New_Game();
    // The window was minimised or restored.
    void Form_Resize(bool minimized);

    // Setting a menu button's value runs its click handler when the value changes.
    void Set_chkDemo(int16_t value);
    void Set_chkSet(int16_t value);
    void Set_chkHelp(int16_t value);
    void Set_chkPause(int16_t value) { game.Set_chkPause(value); }

    void tmrDemo_Timer() { demo.tmrDemo_Timer(game); }
    void tmrMigMenuControls_Timer() { menu.tmrMigMenuControls_Timer(game.pad.chkPause); }

    Game game;
    MainMenu menu;
    Demo demo;

  private:
    void chkDemo_Click();
    void chkSet_Click();
    void chkHelp_Click();

    ShellLink& shell_;
};

}  // namespace vorblin
