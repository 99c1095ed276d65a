#pragma once
// The main window's logic around the game: the load sequence, the menu buttons, the
// demonstration, the menu flash, the hall of fame with the player's place, the game-over
// flow and the side windows. The window forwards its events here.

#include <string>

#include "core/help/help_tour.h"
#include "core/records/hall_of_fame.h"
#include "core/records/place_tracker.h"
#include "core/session/demo.h"
#include "core/session/game.h"
#include "core/session/main_menu.h"
#include "core/shell/main_window_link.h"
#include "core/shell/records_dialogs.h"
#include "core/shell/side_windows.h"

namespace vorblin {

struct ShellParts {
    RandomSource& rnd;
    Clock& clock;
    DrawingSurface& picVorblin;
    DrawingSurface& picNext;
    DrawingSurface& picFuture;
    SoundBoard& sound;
    MainWindowLink& shell;
    RecordsDialogs& dialogs;
    SideWindowHost& sides;
    // Where the hall-of-fame file lives.
    std::string folder;
    // The player's own data folder, where results the table could not take wait.
    std::string ownFolder;
};

class MainShell final : private RecordsLink {
  public:
    explicit MainShell(const ShellParts& parts);

    // Start-up and every new game.
    void Form_Load();
    // After game over: score and speed back to 0, the table emptied, then the load again.
    void New_Game();
    // The window was minimised or restored.
    void Form_Resize(bool minimized);
    // The main window is asked to close.
    void Form_QueryUnload();

    // Setting a menu button's value runs its click handler when the value changes.
    void Set_chkDemo(int16_t value);
    void Set_chkSet(int16_t value);
    void Set_chkHelp(int16_t value);
    void Set_chkPause(int16_t value) { game.Set_chkPause(value); }
    void Set_chkAuto(int16_t value);
    void Set_chkRec(int16_t value);
    void Set_chkStat(int16_t value);
    void Set_chkFuture(int16_t value);
    // Places the side windows as "Auto" does, whatever the button shows: the sizes docking
    // goes by changed (a side window's frame became known only after it was shown).
    void DockAgain();
    // Mouse released over the side-window buttons ("Auto" springs back).
    void chkAuto_MouseUp();
    void chkSide_MouseUp() { shell_.FocusWell(); }

    void tmrDemo_Timer() { demo.tmrDemo_Timer(game); }
    void tmrMigMenuControls_Timer() { menu.tmrMigMenuControls_Timer(game.pad.chkPause); }

    Game game;
    MainMenu menu;
    Demo demo;
    HallOfFame records;
    PlaceTracker place;
    HelpTour help;

  private:
    // What the game hands to the hall of fame.
    int16_t Load_Table() override;
    void Update_Place(int32_t S) override;
    void End_Of_Game(int32_t S) override;

    void chkDemo_Click();
    void chkSet_Click();
    void chkHelp_Click();
    void chkAuto_Click();
    void DockOne(SideWindow window, WindowPosition position, void (MainShell::*press)(int16_t));

    Clock& clock_;
    MainWindowLink& shell_;
    RecordsDialogs& dialogs_;
    SideWindowHost& sides_;
};

}  // namespace vorblin
