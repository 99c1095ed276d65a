#include <gtest/gtest.h>

#include <sstream>

#include "shell/main_shell.h"
#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

struct Host final : ShellLink {
    void FocusWell() override { ++focus; }
    void Minimize() override {}
    void RestoreAndActivate() override {}
    void RebuildWindowRgn() override { ++shapes; }
    void ShowSettings() override { ++settings; }
    int focus = 0, shapes = 0, settings = 0;
};

struct ShellRig {
    ShellRig() { shell.Form_Load(); }  // every draw 0: figures of shape 0
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    testing::RecordingSurface well, next, future;
    testing::RecordingSound sound;
    testing::RecordingRecords records;
    Host host;
    MainShell shell{GameParts{rnd, clock, well, next, future, sound, records, host}};
    Game& game = shell.game;
};

// Everything a game shows or keeps for the next landing, as text.
std::string Displays(const ShellRig& rig) {
    const Game& g = rig.game;
    const ScoreBoard& s = g.scores;
    const ControlPad& p = g.pad;
    std::ostringstream out;
    for (const Label* l : {&s.lblLevel, &s.lblRemain, &s.lblScore, &s.lblCountLines[1],
                           &s.lblCountLines[2], &s.lblCountLines[3], &s.lblCountLines[4],
                           &s.lblSumBonus, &g.lblPosition, &g.lblNextPlace})
        out << l->Caption << "|" << l->ForeColor << "|" << l->Visible << "\n";
    for (int32_t n : std::initializer_list<int32_t>{
             s.Score, s.Speed, s.Level, s.LinesInLevel, s.FigureCount, s.CellCounter,
             s.TimeBonusTotal, s.VorblinBonusTotal, s.LineCounts[1], s.LineCounts[2],
             s.LineCounts[3], s.LineCounts[4], g.notice.ColorFigura})
        out << n << " ";
    for (const CommandButton* b :
         {&p.cmdLeftRight[0], &p.cmdLeftRight[2], &p.cmdRotate, &p.cmdDown, &p.cmdSpace})
        out << b->BackColor << "/" << b->Enabled << " ";
    out << p.bDrop << p.EnableControls << g.tmrDown.Enabled << rig.shell.menu.chkDemo.Value
        << rig.shell.demo.tmrDemo.Enabled << g.notice.lblFirma.Visible << rig.shell.menu.ColorMenu
        << "\n";
    for (const std::string& line : g.lstStatistic.Items)
        out << line << "\n";
    out << g.lstStatistic.ListIndex << " at " << int{g.board.PosX} << "," << int{g.board.PosY}
        << "\n"
        << testing::BottomPicture(g.board, 31) << rig.well.Cells(2, 0, 20, 30);
    return out.str();
}

// Lands the bar of shape 2 in column x + 1 on the given bottom rows.
void LandBar(Game& g, int x, const std::vector<std::string>& bottom) {
    testing::SetBottom(g.board, bottom);
    int16_t cells = 0;
    Initialize_Array_For_Brikko(g.board.Figura, "0000111100000000", cells);
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
    played.shell.Set_chkDemo(1);
    g.Form_KeyDown(kKeyLeft);
    g.Form_KeyDown(kKeyUp);
    g.Form_KeyDown(kKeySpace);
    g.Form_KeyDown(kKeyDown);
    ASSERT_EQ(g.scores.Level, 1);
    ASSERT_EQ(g.scores.lblSumBonus.Caption, "  Vorblin Bonus : 4000");
    ASSERT_TRUE(g.notice.lblFirma.Visible);

    played.shell.New_Game();
    EXPECT_EQ(Displays(played), Displays(fresh));
    EXPECT_EQ(g.scores.lblLevel.Caption, "Level # 0");
    EXPECT_EQ(g.scores.lblLevel.ForeColor, QBColor(1));
    EXPECT_EQ(g.lblPosition.Caption, "Place # 2");
    EXPECT_EQ(played.host.shapes, 2);
    EXPECT_EQ(g.scores.lblCountLines[1].Caption + g.scores.lblCountLines[4].Caption +
                  g.scores.lblRemain.Caption + g.scores.lblSumBonus.Caption,
              "");
}

TEST(MenuFlash, RunsOnceOverTheTopRowAndStops) {
    ShellRig rig;
    MainMenu& menu = rig.shell.menu;
    menu.tmrMigMenuControls.Enabled = true;
    CheckButton* row[] = {&rig.game.pad.chkPause, &menu.chkHelp, &menu.chkDemo, &menu.chkSet};
    for (int step = 0; step <= 4; ++step) {
        EXPECT_TRUE(menu.tmrMigMenuControls.Enabled);
        rig.shell.tmrMigMenuControls_Timer();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(row[i]->BackColor, i == step ? kMenuFlash : RGB(192, 0, 0)) << step << i;
    }
    EXPECT_FALSE(menu.tmrMigMenuControls.Enabled);
    EXPECT_EQ(menu.FlashStep, 0);
}

TEST(MenuButtons, EachHandsTheFocusBackSettingsAndHelpSpringBackDemoFollows) {
    ShellRig rig;
    auto focusAfter = [&](auto press) {
        const int before = rig.host.focus;
        press();
        return rig.host.focus - before;
    };
    EXPECT_EQ(focusAfter([&] { rig.shell.Set_chkSet(1); }), 2);  // the click runs twice
    EXPECT_EQ(rig.host.settings, 1);
    EXPECT_EQ(rig.shell.menu.chkSet.Value, 0);
    EXPECT_EQ(focusAfter([&] { rig.shell.Set_chkHelp(1); }), 2);
    EXPECT_EQ(rig.shell.menu.chkHelp.Value, 0);
    EXPECT_EQ(focusAfter([&] { rig.shell.Set_chkDemo(1); }), 1);
    EXPECT_TRUE(rig.shell.demo.tmrDemo.Enabled);
    EXPECT_EQ(focusAfter([&] { rig.shell.Set_chkDemo(0); }), 1);
    EXPECT_FALSE(rig.shell.demo.tmrDemo.Enabled);
    EXPECT_EQ(focusAfter([&] { rig.shell.Set_chkPause(1); }), 1);
    EXPECT_EQ(rig.host.settings, 1);

    rig.shell.Form_Resize(false);  // restoring keeps the pause
    EXPECT_FALSE(rig.game.tmrDown.Enabled);
    rig.shell.Set_chkPause(0);
    rig.shell.Form_Resize(true);  // minimising pauses
    EXPECT_EQ(rig.game.pad.chkPause.Value, 1);
    EXPECT_FALSE(rig.game.tmrDown.Enabled);
}

}  // namespace
}  // namespace vorblin
