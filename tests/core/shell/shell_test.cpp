// The main window's logic: a second game starts as clean as the first; the end of a game asks
// for a name for a place and whether to play again.
#include <gtest/gtest.h>

#include "core/shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;

// Everything a game shows or keeps for the next landing, as text.
std::string Displays(const testing::ShellRig& rig) {
    const Game& g = rig.game;
    const ScoreBoard& s = g.scores;
    std::string text = testing::Panel(s);
    text.resize(text.find("time bonus="));  // the time bonus labels keep theirs
    text += Show("level colour", s.lblLevel.ForeColor, "score colour", s.lblScore.ForeColor,
                 "place", g.lblPosition.Caption, "next place", g.lblNextPlace.Caption, "next shown",
                 g.lblNextPlace.Visible, "notice", g.notice.lblFirma.Visible, "S", s.Score, "speed",
                 s.Speed, "level", s.Level, "lines", s.LinesInLevel, "figures", s.FigureCount,
                 "cells", s.CellCounter, "time total", s.TimeBonusTotal, "special total",
                 s.VorblinBonusTotal, "figure colour", g.notice.ColorFigura, "menu colour",
                 rig.main.menu.ColorMenu, "drop", g.pad.bDrop, "controls", g.pad.EnableControls,
                 "fall timer", g.tmrDown.Enabled, "demo", rig.main.menu.chkDemo.Value, "demo timer",
                 rig.main.demo.tmrDemo.Enabled, "log index", g.lstStatistic.ListIndex);
    for (int n = 1; n <= 4; ++n)
        text += Show("lines of " + std::to_string(n), s.LineCounts[n]);
    for (const std::string& line : g.lstStatistic.Items)
        text += line + "\n";
    return text + testing::BottomPicture(g.board, 31) + rig.well.Cells(2, 0, 20, 30);
}

// A game played to a landing, lines cleared, a place, a bonus shown, the demo on, keys down
// and a figure falling: a new game shows and keeps what the first did.
TEST(SecondGame, StartsAsCleanAsTheFirst) {
    testing::ShellRig fresh, played;
    fresh.main.Form_Load();
    played.main.Form_Load();
    Game& g = played.game;
    testing::LandOnNextTick(g, 1234);
    g.tmrDown_Timer();
    for (const int16_t lines : {1, 2, 4})
        g.scores.ScoreRemovedLines(lines);
    g.scores.LinesInLevel = 8;
    g.notice.lblFirma.Visible = true;
    g.lblPosition.Caption = "Place # 1";  // as the place tracker leaves the first place
    g.lblNextPlace.Visible = false;
    played.main.Set_chkDemo(1);
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace, kKeyDown})
        g.Form_KeyDown(key);
    g.tmrDown_Timer();  // the new game comes while a figure falls
    played.main.New_Game();
    EXPECT_EQ(Displays(played), Displays(fresh));
    EXPECT_EQ(played.shell.outlines, 2);  // the window's outline made again at each load
}

// The end of a game: the tool windows closed, the name asked for a place; the demo presses
// nothing while the question waits; "Нет" saves the settings, then ends.
TEST(GameOverFlow, NameForAPlaceNoEndsAfterSavingTheSettings) {
    testing::ShellRig rig;
    rig.main.Form_Load();
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
