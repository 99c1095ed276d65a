#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "records/records_table.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
namespace {

using testing::Seen;
using testing::ShellRig;
using Lines = std::vector<std::string>;

// 99 entries scoring 1000 down to 902.
RecordTable Full() {
    RecordTable full;
    for (int i = 0; i < 99; ++i)
        full.push_back({"p" + std::to_string(i), 1000.0 - i});
    return full;
}

void StartWith(ShellRig& rig, const RecordTable& table) {
    ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(table)));
    rig.main.Form_Load();
}

// Lands a one-cell figure on the floor of an empty well with the shown score S. Then seen:
// position, place, next place, whether it shows, the list's selection, whether the menu
// flashes, the climb's statistics lines and the grid lines in the first-place colour.
std::string Land(ShellRig& rig, int32_t S) {
    Game& g = rig.game;
    g.board.Reset();
    testing::LandOnNextTick(g, S);
    rig.well.ops.clear();
    g.lstStatistic.Clear();
    Timer& flash = rig.main.menu.tmrMigMenuControls;
    flash.Enabled = false;
    g.tmrDown_Timer();
    EXPECT_EQ(g.board.PosY, 0) << "the figure should have landed";
    std::string climb;  // the landing's own line is the last
    for (size_t i = 0; i + 1 < g.lstStatistic.Items.size(); ++i)
        climb += g.lstStatistic.Items[i] + ";";
    char colour[16];
    std::snprintf(colour, sizeof colour, " #%X", static_cast<unsigned>(kFirstPlaceGridColour));
    const auto grid = std::count_if(rig.well.ops.begin(), rig.well.ops.end(), [&](auto& op) {
        return op.starts_with("line") && op.ends_with(colour);
    });
    return Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Caption, g.lblNextPlace.Visible,
                rig.main.records.lstTable.ListIndex, flash.Enabled, climb, grid);
}

TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    struct Landing {
        int32_t S;
        const char* seen;
    };
    const struct {
        RecordTable table;
        const char* start;
        std::vector<Landing> landings;
        const char* newGame;  // position, place, next place shown, the first-place colour
    } cases[] = {
        {{{"a", 500}, {"b", 400}, {"c", 300}},
         "3|Place # 4||",
         {{100, "3|Place # 4|Next Place : +200|1|-1|0||0|"},
          {300, "3|Place # 4|Next Place : +0|1|-1|0||0|"},  // equal does not pass
          {450, "1|Place # 2|Next Place : +50|1|1|1|...Place : 2;|0|"},
          // Hidden, not cleared; the grid once more, in its new colour.
          {501, "0|Place # 1|Next Place : +50|0|0|1|...VICTORY !!!;|58|"},
          {100000, "0|Place # 1|Next Place : +50|0|0|0||58|"}},
         "3|Place # 4|1|1|"},  // the colour stays for the next game
        {{{"Borkin", 0}},
         "1|Place # 2||",
         {{0, "1|Place # 2|Next Place : +0|1|-1|0||0|"},
          {1, "0|Place # 1|Next Place : +0|0|0|1|...VICTORY !!!;|58|"}},
         "1|Place # 2|1|1|"},
        {Full(),
         "99|||",
         {{902, "99||Next Place : +0|1|-1|0||0|"},
          {903, "98|Place # 99|Next Place : +0|1|98|1|...Place : 99;|0|"}},
         "99||1|0|"},
        // A long name pushes a million's digits off the line's last six characters.
        {{{"a-name-longer-than-fifteen", 1000000}, {"b", 50}},
         "2|Place # 3||",
         {{60, "1|Place # 2|Next Place : +999940|1|1|1|...Place : 2;|0|"},
          {999999, "1|Place # 2|Next Place : +1|1|1|0||0|"},
          {1000001, "0|Place # 1|Next Place : +1|0|0|1|...VICTORY !!!;|58|"}},
         "2|Place # 3|1|1|"},
        {{}, "0|Place # 1||", {{10, "0|Place # 1||1|-1|0||58|"}}, "0|Place # 1|1|0|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        ShellRig rig;
        StartWith(rig, c.table);
        Game& g = rig.game;
        EXPECT_EQ(Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Caption), c.start);
        for (const Landing& landing : c.landings)
            EXPECT_EQ(Land(rig, landing.S), landing.seen) << landing.S;
        rig.main.New_Game();
        EXPECT_EQ(Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Visible,
                       g.lblPosition.ForeColor == QBColor(11)),
                  c.newGame);
    }
}

// Ends the game with the shown score S: the next figure cannot be placed.
void EndWithScore(ShellRig& rig, int32_t S) {
    testing::LandOnNextTick(rig.game, S, true);
    rig.game.tmrDown_Timer();
}

RecordTable Stored(const ShellRig& rig) {
    return ParseRecords(ReadFileBytes(rig.folder.File(kRecordsFileName)).bytes);
}

TEST(GameOverFlow, StoresTheResultThenStartsANewGame) {
    ShellRig rig;
    StartWith(rig, {{"a", 500}, {"b", 100}});
    rig.main.Set_chkDemo(1);
    rig.dialogs.name = {"Юля", false};
    bool demoWhileAsking = true;
    rig.dialogs.whileAsking = [&] { demoWhileAsking = rig.main.demo.tmrDemo.Enabled; };
    rig.game.scores.Speed = 7;
    EndWithScore(rig, 300);
    EXPECT_FALSE(demoWhileAsking);  // the demonstration presses no button of a finished game
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "name", "new game?"}));
    EXPECT_EQ(Stored(rig), (RecordTable{{"a", 500}, {"Юля", 300}, {"b", 100}}));
    // The new game: from the stored table, with score, speed and level back to 0.
    EXPECT_EQ(rig.main.records.lstTable.Items,
              (Lines{"1. a              500", "2. Юля            300", "3. b              100"}));
    const ScoreBoard& s = rig.game.scores;
    EXPECT_EQ(Seen(rig.game.Position, s.Score, s.Speed, s.lblLevel.Caption, s.lblScore.Caption,
                   rig.main.demo.tmrDemo.Enabled, rig.game.board.GameOver(), rig.shell.saves),
              "3|0|0|Level # 0|---|0|0|0|");
}

TEST(GameOverFlow, AsksTheNameOnlyForAPlaceAndNoEndsTheProgramAfterSaving) {
    ShellRig rig;
    StartWith(rig, Full());
    rig.dialogs.newGame = false;
    rig.shell.log = &rig.dialogs.log;
    EndWithScore(rig, 902);
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "new game?", "save settings", "end"}));
    EXPECT_EQ(Stored(rig), Full());

    ShellRig cancelled;
    StartWith(cancelled, {{"a", 500}});
    cancelled.dialogs.name = {"x", true};
    EndWithScore(cancelled, 600);
    EXPECT_EQ(cancelled.dialogs.log, (Lines{"close tool windows", "name", "new game?"}));
    EXPECT_EQ(Stored(cancelled), (RecordTable{{"a", 500}}));
}

TEST(SideWindows, AutoDocksAllThreeAndSpringsBack) {
    ShellRig rig;
    rig.main.Form_Load();
    rig.sides.At(SideWindow::frmStatistic).minimized = true;
    rig.sides.log.clear();
    rig.main.Set_chkAuto(1);
    // Main window at 1000, 500, 7125 x 9210; future 1635 wide; hall of fame 3630 high.
    EXPECT_EQ(rig.sides.log,
              (Lines{"normal frmVorblinFathers", "move frmVorblinFathers 8145,6080",
                     "show frmVorblinFathers", "show frmVorblinFathers", "normal frmStatistic",
                     "move frmStatistic 9800,500", "show frmStatistic", "show frmStatistic",
                     "normal frmFuture", "move frmFuture 8145,500", "show frmFuture",
                     "show frmFuture"}));  // pressing each button shows its window once more
    const MainMenu& menu = rig.main.menu;
    EXPECT_EQ(Seen(menu.chkRec.Value, menu.chkStat.Value, menu.chkFuture.Value), "1|1|1|");
    rig.main.chkAuto_MouseUp();
    EXPECT_EQ(Seen(menu.chkAuto.Value, rig.shell.focusWell), "0|1|");
    rig.sides.main = {0, 0};  // moved: a second press docks anew
    rig.main.Set_chkAuto(1);
    EXPECT_EQ(rig.sides.At(SideWindow::frmFuture).position.Left, 7145);
}

TEST(SideWindows, ButtonsShowHideFollowTheWindowsAndCloseThemAfterTheSettingsAreSaved) {
    ShellRig rig;
    rig.main.Form_Load();
    const MainMenu& menu = rig.main.menu;
    const auto shown = [&] {
        std::string seen;
        for (const auto& side : rig.sides.sides)
            seen += Seen(side.loaded, side.visible, side.minimized);
        return seen + Seen(menu.chkRec.Value, menu.chkStat.Value, menu.chkFuture.Value);
    };
    EXPECT_EQ(shown(), "1|0|0|1|0|0|1|0|0|0|0|0|");  // asking loads them
    rig.main.Set_chkStat(1);
    rig.main.Set_chkRec(1);
    rig.main.Set_chkFuture(1);
    rig.main.Set_chkRec(0);
    rig.main.chkSide_MouseUp();
    EXPECT_EQ(Seen(shown(), rig.shell.focusWell), "1|0|0|1|1|0|1|1|0|0|1|1||1|");
    rig.sides.At(SideWindow::frmStatistic).visible = false;  // its close box
    rig.sides.At(SideWindow::frmVorblinFathers).visible = true;
    rig.main.New_Game();
    EXPECT_EQ(shown(), "1|1|0|1|0|0|1|1|0|1|0|1|");

    rig.main.Form_Resize(true);
    EXPECT_EQ(Seen(shown(), rig.game.pad.chkPause.Value), "1|1|1|1|0|1|1|1|1|1|0|1||1|");
    rig.main.Form_Resize(false);
    EXPECT_EQ(Seen(shown(), rig.game.pad.chkPause.Value), "1|1|0|1|0|0|1|1|0|1|0|1||1|");
    rig.sides.log.clear();
    rig.shell.log = &rig.sides.log;
    rig.main.Form_QueryUnload();
    EXPECT_EQ(rig.sides.log, (Lines{"save settings", "unload"}));
}

}  // namespace
}  // namespace vorblin
