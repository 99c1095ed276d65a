// The main window's logic: a second game, the menu, the side windows, the outline.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/base/twips.h"
#include "core/rules/frm_main_layout.h"
#include "core/shell/main_shell.h"
#include "core/shell/window_shape.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using Lines = std::vector<std::string>;

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
    const MainShell& m = rig.main;
    text += testing::Show(
        "level colour", s.lblLevel.ForeColor, "score colour", s.lblScore.ForeColor, "place",
        g.lblPosition.Caption, "next place", g.lblNextPlace.Caption, "next shown",
        g.lblNextPlace.Visible, "notice", g.notice.lblFirma.Visible, "S", s.Score, "speed", s.Speed,
        "level", s.Level, "lines", s.LinesInLevel, "figures", s.FigureCount, "cells", s.CellCounter,
        "time total", s.TimeBonusTotal, "special total", s.VorblinBonusTotal);
    for (int n = 1; n <= 4; ++n)
        text += testing::Show("lines of " + std::to_string(n), s.LineCounts[n]);
    text += testing::Show("figure colour", g.notice.ColorFigura, "menu colour", m.menu.ColorMenu,
                          "drop", p.bDrop, "controls", p.EnableControls, "fall timer",
                          g.tmrDown.Enabled, "demo", m.menu.chkDemo.Value, "demo timer",
                          m.demo.tmrDemo.Enabled, "log index", g.lstStatistic.ListIndex, "x",
                          int{g.board.PosX}, "y", int{g.board.PosY});
    for (const CommandButton* b :
         {&p.cmdLeftRight[0], &p.cmdLeftRight[2], &p.cmdRotate, &p.cmdDown, &p.cmdSpace})
        text += testing::Show("button colour", b->BackColor, "enabled", b->Enabled);
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
    EXPECT_EQ(played.shell.outlines, 2);
    EXPECT_EQ(g.scores.lblScore.ForeColor,
              RGB(255, 255, 0));  // yellow, whatever the last game left
}

TEST(MenuFlash, RunsOnceOverTheTopRowAndStops) {
    ShellRig rig;
    MainMenu& menu = rig.main.menu;
    menu.tmrMigMenuControls.Enabled = true;
    CheckButton* row[] = {&rig.game.pad.chkPause, &menu.chkHelp, &menu.chkDemo, &menu.chkSet};
    for (int step = 0; step <= 4; ++step) {
        EXPECT_TRUE(menu.tmrMigMenuControls.Enabled);
        rig.main.tmrMigMenuControls_Timer();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(row[i]->BackColor, i == step ? kMenuFlash : RGB(192, 0, 0)) << step << i;
    }
    EXPECT_FALSE(menu.tmrMigMenuControls.Enabled);
    EXPECT_EQ(menu.FlashStep, 0);
    // A new game while the light is on "Pause" keeps the menu's own colour; the light runs on.
    menu.tmrMigMenuControls.Enabled = true;
    rig.main.tmrMigMenuControls_Timer();
    rig.main.New_Game();
    for (int step = 1; step <= 4; ++step)
        rig.main.tmrMigMenuControls_Timer();
    EXPECT_EQ(menu.ColorMenu, RGB(192, 0, 0));
    EXPECT_EQ(row[0]->BackColor, RGB(192, 0, 0));
    EXPECT_EQ(row[3]->BackColor, RGB(192, 0, 0));
    // With the light elsewhere, a new game takes the menu's colour from "Pause" as ever.
    menu.tmrMigMenuControls.Enabled = true;
    rig.main.tmrMigMenuControls_Timer();
    rig.main.tmrMigMenuControls_Timer();  // on "Help"
    row[0]->BackColor = RGB(0, 0, 255);
    rig.main.New_Game();
    EXPECT_EQ(menu.ColorMenu, RGB(0, 0, 255));
}

TEST(MenuButtons, EachHandsTheFocusBackSettingsAndHelpSpringBackDemoFollows) {
    ShellRig rig;
    MainShell& m = rig.main;
    // No side window open: their buttons are up.
    EXPECT_EQ(testing::Show("best", m.menu.chkRec.Value, "statistic", m.menu.chkStat.Value,
                            "future", m.menu.chkFuture.Value),
              "best=0\nstatistic=0\nfuture=0\n");
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

    m.Form_Resize(false);  // restoring keeps the pause
    EXPECT_FALSE(rig.game.tmrDown.Enabled);
    m.Set_chkPause(0);
    m.Form_Resize(false);  // and does not pause a running game
    EXPECT_TRUE(rig.game.tmrDown.Enabled);
    m.Form_Resize(true);  // minimising pauses
    EXPECT_EQ(rig.game.pad.chkPause.Value, 1);
}

TEST(WindowShape, MatchesTheWorkedExample) {
    // The controls that sit directly on the window, where the layout places them.
    std::vector<PlacedControl> placed;
    for (const ControlSpec& item : FrmMainLayout())
        if (item.container.empty())
            placed.push_back({item.name, item.kind, TwipsToPixels(item.left),
                              TwipsToPixels(item.top), TwipsToPixels(item.width),
                              TwipsToPixels(item.height)});
    const std::vector<ShapeRect> outline = RebuildWindowRgn(kMainOuterWidth, placed);
    // Title strip, then the shaping controls in the window's control order; the
    // window's other controls (none sit directly on it but these) add nothing.
    const std::vector<ShapeRect> expected = {
        {0, 0, 7125, 27},     {10, 35, 263, 500},   {58, 507, 207, 596}, {250, 531, 463, 612},
        {298, 35, 463, 500},  {274, 27, 277, 196},  {34, 555, 57, 560},  {34, 491, 37, 556},
        {202, 571, 249, 576}, {258, 195, 297, 200},
    };
    EXPECT_EQ(outline, expected);
    const PlacedControl stray[] = {{"lblScore", ControlKind::Label, 1, 1, 5, 5}};
    EXPECT_EQ(RebuildWindowRgn(500, stray), (std::vector<ShapeRect>{{0, 0, 500, 27}}));
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
    rig.main.Set_chkAuto(1);  // beside the main window at 1005, 495, 7125 x 9210
    // On the press; the gap beside the main window and the one between the future and the
    // statistics windows come out the same in whole pixels (here 1).
    const auto left = [&](SideWindow w) { return TwipsToPixels(rig.sides.At(w).position.Left); };
    const int futureRight = left(SideWindow::frmFuture) + TwipsToPixels(1635);
    const int gapBesideMain = left(SideWindow::frmFuture) - TwipsToPixels(1005 + 7125);
    const int gapBetween = left(SideWindow::frmStatistic) - futureRight;
    EXPECT_EQ(gapBesideMain, 1);
    EXPECT_EQ(gapBetween, 1);
    rig.main.chkAuto_MouseUp();  // springs back
    rig.main.Form_Resize(true);  // pauses the game too
    rig.main.Form_Resize(false);
    rig.main.Form_QueryUnload();
    EXPECT_EQ(rig.sides.log,
              (Lines{"show frmVorblinFathers", "show frmFuture", "show frmStatistic",
                     "hide frmStatistic", "hide frmVorblinFathers",
                     // Docked: the hall of fame (3630 high) at the bottom, the statistics
                     // beside the future window (1635 wide); a button not yet down shows its
                     // window once more.
                     "normal frmVorblinFathers", "move frmVorblinFathers 8150,6075",
                     "show frmVorblinFathers", "show frmVorblinFathers", "normal frmStatistic",
                     "move frmStatistic 9800,495", "show frmStatistic", "show frmStatistic",
                     "normal frmFuture", "move frmFuture 8150,495", "show frmFuture",
                     "minimise frmVorblinFathers", "minimise frmStatistic", "minimise frmFuture",
                     "normal frmVorblinFathers", "normal frmStatistic", "normal frmFuture",
                     "save settings", "unload"}));
    const MainMenu& menu = rig.main.menu;
    EXPECT_EQ(testing::Show("best", menu.chkRec.Value, "statistic", menu.chkStat.Value, "future",
                            menu.chkFuture.Value, "auto", menu.chkAuto.Value, "pause",
                            rig.game.pad.chkPause.Value),
              "best=1\nstatistic=1\nfuture=1\nauto=0\npause=1\n");

    // A frame learned late docks them again by the new sizes, with "Auto" up or down.
    rig.sides.log.clear();
    rig.sides.At(SideWindow::frmFuture).size.Width = 1665;
    for (const int16_t pressed : {0, 1}) {
        rig.main.menu.chkAuto.Value = pressed;
        rig.main.DockAgain();
        EXPECT_EQ(rig.main.menu.chkAuto.Value, pressed);
    }
    const Lines once = {
        "normal frmVorblinFathers", "move frmVorblinFathers 8150,6075", "show frmVorblinFathers",
        "normal frmStatistic",      "move frmStatistic 9830,495",       "show frmStatistic",
        "normal frmFuture",         "move frmFuture 8150,495",          "show frmFuture"};
    Lines twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(rig.sides.log, twice);
}

}  // namespace
}  // namespace vorblin
