// The main window's logic: a second game starts as clean as the first; the end of a game asks
// for a name for a place and whether to play again.
#include <gtest/gtest.h>

#include "core/shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;

// A game played to a landing, lines cleared and sped up: a new game starts as the first did.
TEST(SecondGame, StartsAsCleanAsTheFirst) {
    testing::ShellRig fresh, played;
    EXPECT_FALSE(fresh.main.demo.tmrDemo.Enabled);  // loaded, no demonstration runs
    testing::LandOnNextTick(played.game, 1234);
    played.game.tmrDown_Timer();
    played.game.scores.ScoreRemovedLines(2);
    played.game.scores.Speed = 40;
    played.main.New_Game();
    const auto shown = [](const testing::ShellRig& r) {
        const ScoreBoard& s = r.game.scores;
        return Show("S", s.Score, "speed", s.Speed, "lines", s.LinesInLevel, "log",
                    r.game.lstStatistic.ListCount(), "table", r.main.records.lstTable.ListCount());
    };
    EXPECT_EQ(shown(played), shown(fresh));
}

// The light runs once over Pause, Help, Demo and Set, each back to the menu's colour as the
// next lights.
TEST(MainWindow, TheMenuLightRunsOnceOverTheTopRow) {
    testing::ShellRig rig;
    MainMenu& menu = rig.main.menu;
    std::string lit;
    menu.tmrMigMenuControls.Enabled = true;
    for (int tick = 0; tick < 5; ++tick) {
        rig.main.tmrMigMenuControls_Timer();
        for (const CheckButton* b :
             {&rig.game.pad.chkPause, &menu.chkHelp, &menu.chkDemo, &menu.chkSet})
            lit += b->BackColor == kMenuFlash ? "*" : b->BackColor == menu.ColorMenu ? "-" : "?";
        lit += menu.tmrMigMenuControls.Enabled ? " " : ".";
    }
    EXPECT_EQ(lit, "*--- -*-- --*- ---* ----.");
}

// "Auto" docks the side windows at the main window's right edge, the hall of fame at its
// bottom and the statistics beside the future from that window's whole pixel, and shows them;
// a side window's button hides it again.
TEST(MainWindow, AutoDocksAndShowsTheSideWindows) {
    testing::ShellRig rig;
    rig.sides.main = {1003, 500};
    rig.main.Set_chkAuto(1);
    rig.main.Set_chkRec(0);
    std::string places;
    for (const auto& side : rig.sides.sides)
        places += Show("left", side.position.Left, "top", side.position.Top, "shown", side.visible);
    EXPECT_EQ(places, Show("left", 8148, "top", 6080, "shown", false, "left", 9800, "top", 500,
                           "shown", true, "left", 8148, "top", 500, "shown", true));
}

// The window is cut to its title strip and its shaping controls: a panel with its border, a
// bar as it stands; other controls add nothing.
TEST(MainWindow, TheOutlineIsTheTitleStripAndTheShapingControls) {
    const PlacedControl controls[] = {{"fraLeft", ControlKind::Panel, 10, 20, 100, 200},
                                      {"lblScore", ControlKind::Label, 1, 2, 3, 4},
                                      {"Label5", ControlKind::Bar, 5, 6, 7, 8}};
    EXPECT_EQ(RebuildWindowRgn(475, controls),
              (std::vector<ShapeRect>{{0, 0, 475, 27}, {12, 47, 116, 255}, {7, 33, 12, 41}}));
}

// The end of a game: the tool windows closed, the name asked for a place; the demo presses
// nothing while the question waits; "Нет" saves the settings, then ends.
TEST(GameOverFlow, NameForAPlaceNoEndsAfterSavingTheSettings) {
    testing::ShellRig rig;
    rig.main.Set_chkDemo(1);
    rig.dialogs.newGame = false;
    rig.shell.log = &rig.dialogs.log;
    bool demoWhileDeciding = true;
    rig.dialogs.whileDeciding = [&] { demoWhileDeciding = rig.main.demo.tmrDemo.Enabled; };
    testing::LandOnNextTick(rig.game, 300, true);
    rig.game.tmrDown_Timer();
    EXPECT_EQ(
        Show("demo", demoWhileDeciding, "asked", testing::Joined(rig.dialogs.log)),
        Show("demo", false, "asked", "close tool windows\nname\nnew game?\nsave settings\nend\n"));
}

}  // namespace
}  // namespace vorblin
