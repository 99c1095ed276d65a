// The main window's logic: a second game starts as clean as the first.
#include <gtest/gtest.h>

#include "core/shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;

struct ShellRig : testing::ShellRig {
    ShellRig() { main.Form_Load(); }
};

// Everything a game shows or keeps for the next landing, as text.
std::string Displays(const ShellRig& rig) {
    const Game& g = rig.game;
    const ScoreBoard& s = g.scores;
    const ControlPad& p = g.pad;
    std::string text = testing::Panel(s);
    text.resize(text.find("time bonus="));  // the time bonus labels keep theirs
    text +=
        Show("level colour", s.lblLevel.ForeColor, "score colour", s.lblScore.ForeColor, "place",
             g.lblPosition.Caption, "next place", g.lblNextPlace.Caption, "next shown",
             g.lblNextPlace.Visible, "notice", g.notice.lblFirma.Visible, "S", s.Score, "speed",
             s.Speed, "level", s.Level, "lines", s.LinesInLevel, "figures", s.FigureCount, "cells",
             s.CellCounter, "time total", s.TimeBonusTotal, "special total", s.VorblinBonusTotal,
             "figure colour", g.notice.ColorFigura, "menu colour", rig.main.menu.ColorMenu, "drop",
             p.bDrop, "controls", p.EnableControls, "fall timer", g.tmrDown.Enabled, "demo",
             rig.main.menu.chkDemo.Value, "demo timer", rig.main.demo.tmrDemo.Enabled, "log index",
             g.lstStatistic.ListIndex, "x", int{g.board.PosX}, "y", int{g.board.PosY});
    for (int n = 1; n <= 4; ++n)
        text += Show("lines of " + std::to_string(n), s.LineCounts[n]);
    for (const CommandButton* b :
         {&p.cmdLeftRight[0], &p.cmdLeftRight[2], &p.cmdRotate, &p.cmdDown, &p.cmdSpace})
        text += Show("button colour", b->BackColor, "enabled", b->Enabled);
    for (const std::string& line : g.lstStatistic.Items)
        text += line + "\n";
    return text + testing::BottomPicture(g.board, 31) + rig.well.Cells(2, 0, 20, 30);
}

// A game played to lines cleared, a place, a bonus, the demo on and a figure falling: a new
// game shows and keeps what the first did, but for the time bonus labels and the colours.
TEST(SecondGame, StartsAsCleanAsTheFirst) {
    ShellRig fresh, played;
    Game& g = played.game;
    for (const auto& [x, bottom] : {std::pair{8, std::vector<std::string>{"#####.#########"}},
                                    {9, std::vector<std::string>(4, "######.########")}}) {
        testing::SetBottom(g.board, bottom);
        g.board.Figura = testing::BoardWith("0000111100000000", x, 27).Figura;  // a bar
        g.board.PosX = static_cast<uint8_t>(x);
        g.board.PosY = 27;
        g.TickCount = 149;
        g.tmrDown_Timer();
        g.scores.LinesInLevel = 8;
        g.Queue(1) = FiguraInfo{"0000111100000000", 40000, true};
        g.Queue(3) = FiguraInfo{"1000000000000001", 35000, true};
    }
    g.scores.ScoreRemovedLines(2);
    g.lblPosition.Caption = "Place # 1";  // as the place tracker leaves the first place
    g.lblNextPlace.Visible = false;
    played.main.Set_chkDemo(1);
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace, kKeyDown})
        g.Form_KeyDown(key);
    g.tmrDown_Timer();  // the new game comes while a figure falls
    ASSERT_TRUE(g.notice.lblFirma.Visible);
    played.main.New_Game();
    EXPECT_EQ(Displays(played), Displays(fresh));
    EXPECT_EQ(testing::Panel(g.scores),
              "level=Level # 0\nlines to go=\nscore=---\n1 line=\n2 lines=\n3 lines=\n4 lines=\n"
              "special bonus=\ntime bonus=199\ntime bonus total=400\n");
    EXPECT_EQ(Show("outlines", played.shell.outlines, "score colour", g.scores.lblScore.ForeColor),
              Show("outlines", 2, "score colour", RGB(255, 255, 0)));  // whatever the last left
}

}  // namespace
}  // namespace vorblin
