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
    std::string climb;  // the landing's own line is the last
    for (size_t i = 0; i + 1 < g.lstStatistic.Items.size(); ++i)
        climb += g.lstStatistic.Items[i] + ";";
    char colour[16];
    std::snprintf(colour, sizeof colour, " #%X", static_cast<unsigned>(kFirstPlaceGridColour));
    const auto grid = std::count_if(rig.well.ops.begin(), rig.well.ops.end(),
                                    [&](const std::string& op) { return op.ends_with(colour); });
    return Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Caption, g.lblNextPlace.Visible,
                rig.main.records.lstTable.ListIndex, flash.Enabled, climb, grid);
}

TEST(RecordsInPlay, ClimbsPastTheScoresBeatenAndCelebratesTheTop) {
    const struct {
        RecordTable table;
        std::vector<std::pair<int32_t, const char*>> landings;  // S, then what is seen
        const char* newGame;  // position, place, next place shown, the first-place colour
    } cases[] = {
        {{{"a", 500}, {"b", 400}, {"c", 300}},
         {{100, "3|Place # 4|Next Place : +200|1|-1|0||0|"},
          {450, "1|Place # 2|Next Place : +50|1|1|1|...Place : 2;|0|"},
          {500, "1|Place # 2|Next Place : +0|1|1|0||0|"},  // equal does not pass
          // Hidden, not cleared; the grid once more, in its new colour.
          {501, "0|Place # 1|Next Place : +0|0|0|1|...VICTORY !!!;|58|"},
          {100000, "0|Place # 1|Next Place : +0|0|0|0||58|"}},
         "3|Place # 4|1|1|"},  // the colour stays for the next game
        {Full(),
         {{902, "99||Next Place : +0|1|-1|0||0|"},
          {903, "98|Place # 99|Next Place : +0|1|98|1|...Place : 99;|0|"}},
         "99||1|0|"},
        {{}, {{10, "0|Place # 1||1|-1|0||58|"}}, "0|Place # 1|1|0|"},
    };
    for (const auto& c : cases) {
        ShellRig rig;
        ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(c.table)));
        rig.main.Form_Load();
        for (const auto& [S, seen] : c.landings)
            EXPECT_EQ(Land(rig, S), seen) << S << " after " << c.table.size() << " entries";
        rig.main.New_Game();
        const Game& g = rig.game;
        EXPECT_EQ(Seen(g.Position, g.lblPosition.Caption, g.lblNextPlace.Visible,
                       g.lblPosition.ForeColor == QBColor(11)),
                  c.newGame);
    }
}

// Ends the game with the shown score S: the next figure cannot be placed. What is stored.
RecordTable EndWithScore(ShellRig& rig, int32_t S) {
    testing::LandOnNextTick(rig.game, S, true);
    rig.game.tmrDown_Timer();
    return ParseRecords(ReadFileBytes(rig.folder.File(kRecordsFileName)).bytes);
}

TEST(GameOverFlow, NameAskedOnlyForAPlaceYesStartsANewGameNoEndsAfterSaving) {
    ShellRig rig;
    rig.main.Form_Load();  // the default table
    rig.game.scores.Speed = 7;
    rig.main.Set_chkDemo(1);
    rig.dialogs.name = {"Юля", false};
    rig.dialogs.whileAsking = [&] {  // another machine stores a result meanwhile
        ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName),
                                        FormatRecords({{"a", 500}, {"c", 200}, {"b", 100}})));
    };
    EXPECT_EQ(EndWithScore(rig, 300),
              (RecordTable{{"a", 500}, {"Юля", 300}, {"c", 200}, {"b", 100}}));
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "name", "new game?"}));
    // The new game: from the stored table, with score, speed and level back to 0.
    const ScoreBoard& s = rig.game.scores;
    EXPECT_EQ(Seen(rig.game.Position, s.Score, s.Speed, s.lblLevel.Caption, s.lblScore.Caption,
                   rig.main.demo.tmrDemo.Enabled, rig.game.board.GameOver(), rig.shell.saves),
              "4|0|0|Level # 0|---|0|0|0|");

    // Another machine fills the table during the next game: 902 earns no place in it.
    ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(Full())));
    rig.dialogs.log.clear();
    rig.dialogs.newGame = false;
    rig.shell.log = &rig.dialogs.log;
    EXPECT_EQ(EndWithScore(rig, 902), Full());
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "new game?", "save settings", "end"}));
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
    rig.main.Set_chkAuto(1);     // beside the main window at 1000, 500, 7125 x 9210
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
                     "normal frmVorblinFathers", "move frmVorblinFathers 8145,6080",
                     "show frmVorblinFathers", "show frmVorblinFathers", "normal frmStatistic",
                     "move frmStatistic 9800,500", "show frmStatistic", "show frmStatistic",
                     "normal frmFuture", "move frmFuture 8145,500", "show frmFuture",
                     "minimise frmVorblinFathers", "minimise frmStatistic", "minimise frmFuture",
                     "normal frmVorblinFathers", "normal frmStatistic", "normal frmFuture",
                     "save settings", "unload"}));
    const MainMenu& menu = rig.main.menu;
    EXPECT_EQ(Seen(menu.chkRec.Value, menu.chkStat.Value, menu.chkFuture.Value, menu.chkAuto.Value,
                   rig.game.pad.chkPause.Value),
              "1|1|1|0|1|");
}

}  // namespace
}  // namespace vorblin
