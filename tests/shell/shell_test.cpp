#include <gtest/gtest.h>

#include "shell/window_shape.h"
#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

struct ShellRig : testing::ShellRig {
    ShellRig() { main.Form_Load(); }
};

// Everything a game shows or keeps for the next landing, as text.
std::string Displays(const ShellRig& rig) {
    const Game& g = rig.game;
    const ScoreBoard& s = g.scores;
    const ControlPad& p = g.pad;
    std::string text = testing::Panel(s);
    text.resize(text.rfind('|', text.rfind('|') - 1));  // the time bonus labels keep theirs
    text += testing::Seen(s.lblLevel.ForeColor, g.lblPosition.Caption, g.lblNextPlace.Caption,
                          g.lblNextPlace.Visible, g.notice.lblFirma.Visible, s.Score, s.Speed,
                          s.Level, s.LinesInLevel, s.FigureCount, s.CellCounter, s.TimeBonusTotal,
                          s.VorblinBonusTotal, s.LineCounts[1], s.LineCounts[2], s.LineCounts[3],
                          s.LineCounts[4], g.notice.ColorFigura, rig.main.menu.ColorMenu, p.bDrop,
                          p.EnableControls, g.tmrDown.Enabled, rig.main.menu.chkDemo.Value,
                          rig.main.demo.tmrDemo.Enabled, g.lstStatistic.ListIndex,
                          int{g.board.PosX}, int{g.board.PosY});
    for (const CommandButton* b :
         {&p.cmdLeftRight[0], &p.cmdLeftRight[2], &p.cmdRotate, &p.cmdDown, &p.cmdSpace})
        text += testing::Seen(b->BackColor, b->Enabled);
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
              "Level # 1|123456|9681|1-Lines*1 = 275|2-Lines*1 = 800|3-Lines*1 = 2225|"
              "4-Lines*1 = 5000|  Vorblin Bonus : 4000|199|400");
    ASSERT_TRUE(g.notice.lblFirma.Visible);

    played.main.New_Game();
    EXPECT_EQ(Displays(played), Displays(fresh));
    EXPECT_EQ(testing::Panel(g.scores), "Level # 0||---||||||199|400");
    EXPECT_EQ(played.shell.outlines, 2);
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

    m.Form_Resize(false);  // restoring keeps the pause
    EXPECT_FALSE(rig.game.tmrDown.Enabled);
    m.Set_chkPause(0);
    m.Form_Resize(false);  // and does not pause a running game
    EXPECT_TRUE(rig.game.tmrDown.Enabled);
    m.Form_Resize(true);  // minimising pauses
    EXPECT_EQ(rig.game.pad.chkPause.Value, 1);
}

TEST(WindowShape, MatchesTheWorkedExample) {
    const std::vector<ShapeRect> outline = RebuildWindowRgn(kMainOuterWidth, WindowLevelControls());
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

}  // namespace
}  // namespace vorblin
