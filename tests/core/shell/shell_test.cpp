// The main window's logic: a second game, the menu, the side windows, the outline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/twips.h"
#include "core/rules/frm_main_layout.h"
#include "core/shell/main_shell.h"
#include "core/shell/window_shape.h"
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

// Lands the bar of shape 2 in column x + 1 on the given bottom rows.
void LandBar(Game& g, int x, const std::vector<std::string>& bottom) {
    testing::SetBottom(g.board, bottom);
    g.board.Figura = testing::BoardWith("0000111100000000", x, 27).Figura;
    g.board.PosX = static_cast<uint8_t>(x);
    g.board.PosY = 27;
    g.TickCount = 149;
    g.tmrDown_Timer();
}

TEST(SecondGame, StartsAsCleanAsTheFirst) {
    ShellRig fresh, played;
    Game& g = played.game;
    LandBar(g, 8, {"#####.#########"});
    g.scores.LinesInLevel = 8;
    g.Queue(1) = FiguraInfo{"0000111100000000", 40000, true};
    g.Queue(3) = FiguraInfo{"1000000000000001", 35000, true};
    LandBar(g, 9, {"######.########", "######.########", "######.########", "######.########"});
    g.scores.ScoreRemovedLines(2);
    g.scores.ScoreRemovedLines(3);
    g.lblPosition.Caption = "Place # 1";  // as the place tracker leaves the first place
    g.lblNextPlace.Visible = false;
    played.main.Set_chkDemo(1);
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace, kKeyDown})
        g.Form_KeyDown(key);
    g.tmrDown_Timer();  // the new game comes while a figure falls
    ASSERT_EQ(testing::Panel(g.scores),
              "level=Level # 1\nlines to go=123456\nscore=9681\n1 line=1-Lines*1 = 275\n"
              "2 lines=2-Lines*1 = 800\n3 lines=3-Lines*1 = 2225\n4 lines=4-Lines*1 = 5000\n"
              "special bonus=  Vorblin Bonus : 4000\ntime bonus=199\ntime bonus total=400\n");
    ASSERT_TRUE(g.notice.lblFirma.Visible);

    played.main.New_Game();
    EXPECT_EQ(Displays(played), Displays(fresh));
    EXPECT_EQ(testing::Panel(g.scores),
              "level=Level # 0\nlines to go=\nscore=---\n1 line=\n2 lines=\n3 lines=\n4 lines=\n"
              "special bonus=\ntime bonus=199\ntime bonus total=400\n");
    EXPECT_EQ(Show("outlines", played.shell.outlines, "score colour", g.scores.lblScore.ForeColor),
              Show("outlines", 2, "score colour", RGB(255, 255, 0)));  // whatever the last left
}

// The light runs once over the top row and stops. A new game taken while it is on "Pause"
// keeps the menu's own colour; with the light elsewhere it takes the colour of "Pause".
TEST(MenuFlash, RunsOnceOverTheTopRowAndANewGameKeepsTheMenusColour) {
    ShellRig rig;
    MainMenu& menu = rig.main.menu;
    const CheckButton* row[] = {&rig.game.pad.chkPause, &menu.chkHelp, &menu.chkDemo, &menu.chkSet};
    const auto ticks = [&](int n) {
        std::string lit;
        for (menu.tmrMigMenuControls.Enabled = true; n > 0; --n) {
            rig.main.tmrMigMenuControls_Timer();
            for (const CheckButton* b : row)
                lit += b->BackColor == kMenuFlash       ? "*"
                       : b->BackColor == RGB(192, 0, 0) ? "-"
                                                        : "?";
            lit += menu.tmrMigMenuControls.Enabled ? " " : ". ";
        }
        return lit;
    };
    EXPECT_EQ(ticks(5), "*--- -*-- --*- ---* ----. ");
    ticks(1);
    rig.main.New_Game();
    EXPECT_EQ(ticks(4), "-*-- --*- ---* ----. ");
    ticks(2);  // on "Help"
    rig.game.pad.chkPause.BackColor = RGB(0, 0, 255);
    rig.main.New_Game();
    EXPECT_EQ(menu.ColorMenu, RGB(0, 0, 255));
}

TEST(MenuButtons, EachHandsTheFocusBackSettingsAndHelpSpringBackDemoFollows) {
    ShellRig rig;
    MainShell& m = rig.main;
    std::string seen;
    for (auto [press, value] : {std::pair{&MainShell::Set_chkSet, 1},
                                {&MainShell::Set_chkHelp, 1},
                                {&MainShell::Set_chkDemo, 1},
                                {&MainShell::Set_chkDemo, 0},
                                {&MainShell::Set_chkPause, 1}}) {
        const int focus = rig.shell.focusWell;
        (m.*press)(static_cast<int16_t>(value));
        seen += std::to_string(rig.shell.focusWell - focus) + std::to_string(m.menu.chkSet.Value) +
                std::to_string(m.menu.chkHelp.Value) + std::to_string(m.demo.tmrDemo.Enabled) +
                std::to_string(rig.shell.settings) + " ";
    }
    // Settings and help run their click twice (pressed, then released by the program).
    EXPECT_EQ(seen, "20001 20001 10011 10001 10001 ");
    std::string paused;  // restoring keeps the pause and pauses no running game; minimising does
    for (const auto& [minimise, pause] : {std::pair{false, -1}, {false, 0}, {true, -1}}) {
        if (pause >= 0)
            m.Set_chkPause(static_cast<int16_t>(pause));
        m.Form_Resize(minimise);
        paused += std::to_string(rig.game.tmrDown.Enabled) +
                  std::to_string(rig.game.pad.chkPause.Value) + " ";
    }
    EXPECT_EQ(paused, "01 10 01 ");
}

TEST(WindowShape, MatchesTheWorkedExample) {
    // The controls that sit directly on the window, where the layout places them.
    std::vector<PlacedControl> placed = {{"lblScore", ControlKind::Label, 1, 1, 5, 5}};
    for (const ControlSpec& item : FrmMainLayout())
        if (item.container.empty())
            placed.push_back({item.name, item.kind, TwipsToPixels(item.left),
                              TwipsToPixels(item.top), TwipsToPixels(item.width),
                              TwipsToPixels(item.height)});
    // Title strip, then the shaping controls in the window's control order; the window's
    // other controls add nothing.
    const std::vector<ShapeRect> expected = {
        {0, 0, 7125, 27},     {10, 35, 263, 500},   {58, 507, 207, 596}, {250, 531, 463, 612},
        {298, 35, 463, 500},  {274, 27, 277, 196},  {34, 555, 57, 560},  {34, 491, 37, 556},
        {202, 571, 249, 576}, {258, 195, 297, 200},
    };
    EXPECT_EQ(RebuildWindowRgn(kMainOuterWidth, placed), expected);
}

TEST(SideWindows, ButtonsFollowTheWindowsDockingPlacesThemAndTheyFollowTheMainWindow) {
    ShellRig rig;
    rig.sides.At(SideWindow::frmVorblinFathers).visible = true;  // left open by the last run
    rig.sides.At(SideWindow::frmFuture).visible = true;
    rig.shell.log = &rig.sides.log;
    rig.main.Form_Load();  // the buttons follow the windows, at every load
    rig.main.Set_chkStat(1);
    rig.sides.At(SideWindow::frmStatistic).visible = false;  // its close box
    rig.main.New_Game();
    rig.main.Set_chkRec(0);
    rig.sides.main = {1005, 495};
    rig.main.Set_chkAuto(1);     // beside the main window at 1005, 495, 7125 x 9210
    rig.main.chkAuto_MouseUp();  // springs back
    rig.main.Form_Resize(true);  // pauses the game too
    rig.main.Form_Resize(false);
    rig.main.Form_QueryUnload();
    // Docked: the hall of fame (3630 high) at the bottom, the statistics beside the future
    // window (1635 wide), both gaps one whole pixel; a button not yet down shows its window
    // once more.
    EXPECT_EQ(testing::Joined(rig.sides.log),
              "show frmVorblinFathers\nshow frmFuture\nshow frmStatistic\nhide frmStatistic\n"
              "hide frmVorblinFathers\nnormal frmVorblinFathers\nmove frmVorblinFathers 8150,6075\n"
              "show frmVorblinFathers\nshow frmVorblinFathers\nnormal frmStatistic\n"
              "move frmStatistic 9800,495\nshow frmStatistic\nshow frmStatistic\nnormal frmFuture\n"
              "move frmFuture 8150,495\nshow frmFuture\nminimise frmVorblinFathers\n"
              "minimise frmStatistic\nminimise frmFuture\nnormal frmVorblinFathers\n"
              "normal frmStatistic\nnormal frmFuture\nsave settings\nunload\n");
    const MainMenu& menu = rig.main.menu;
    EXPECT_EQ(Show("best", menu.chkRec.Value, "statistic", menu.chkStat.Value, "future",
                   menu.chkFuture.Value, "auto", menu.chkAuto.Value, "pause",
                   rig.game.pad.chkPause.Value),
              "best=1\nstatistic=1\nfuture=1\nauto=0\npause=1\n");
    // A frame learned late docks them again by the new sizes, with "Auto" left up.
    rig.sides.log.clear();
    rig.sides.At(SideWindow::frmFuture).size.Width = 1665;
    rig.main.DockAgain();
    EXPECT_EQ(rig.main.menu.chkAuto.Value, 0);
    EXPECT_EQ(testing::Joined(rig.sides.log),
              "normal frmVorblinFathers\nmove frmVorblinFathers 8150,6075\nshow frmVorblinFathers\n"
              "normal frmStatistic\nmove frmStatistic 9830,495\nshow frmStatistic\n"
              "normal frmFuture\nmove frmFuture 8150,495\nshow frmFuture\n");
}

}  // namespace
}  // namespace vorblin
