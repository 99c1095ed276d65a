#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "records/records_table.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
namespace {

using testing::ShellRig;
using Lines = std::vector<std::string>;

class RecordsInPlay : public ::testing::Test {
  protected:
    void StartWith(const RecordTable& table) {
        ASSERT_TRUE(WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(table)));
        rig.main.Form_Load();
    }
    // Lands a one-cell figure on the floor of an empty well with the shown score S.
    void LandWithScore(int32_t S) {
        Game& g = rig.main.game;
        g.board.Reset();
        testing::LandOnNextTick(g, S);
        rig.well.ops.clear();
        g.lstStatistic.Clear();
        g.tmrDown_Timer();
        ASSERT_EQ(g.board.PosY, 0) << "the figure should have landed";
    }
    // The statistics lines of the last landing, without its own landing line.
    Lines ClimbLines() const {
        const Lines& items = rig.main.game.lstStatistic.Items;
        return Lines(items.begin(), items.end() - 1);
    }
    int GridLines(Colour colour) const {
        char tail[16];
        std::snprintf(tail, sizeof tail, " #%X", static_cast<unsigned>(colour));
        return static_cast<int>(
            std::count_if(rig.well.ops.begin(), rig.well.ops.end(), [&](const std::string& op) {
                return op.rfind("line", 0) == 0 && op.size() > std::strlen(tail) &&
                       op.compare(op.size() - std::strlen(tail), std::string::npos, tail) == 0;
            }));
    }

    ShellRig rig;
    Game& game = rig.main.game;
    Timer& flash = rig.main.menu.tmrMigMenuControls;
};

TEST_F(RecordsInPlay, ClimbsOneLineALandingAndCelebratesTheTop) {
    StartWith({{"a", 500}, {"b", 400}, {"c", 300}});
    EXPECT_EQ(game.Position, 3);
    EXPECT_EQ(game.lblPosition.Caption, "Place # 4");
    EXPECT_EQ(game.lblNextPlace.Caption, "");

    LandWithScore(100);  // passes nothing
    EXPECT_EQ(game.lblNextPlace.Caption, "Next Place : +200");
    EXPECT_EQ(game.lblPosition.Caption, "Place # 4");
    EXPECT_EQ(rig.main.records.lstTable.ListIndex, -1);
    EXPECT_TRUE(ClimbLines().empty());
    EXPECT_FALSE(flash.Enabled);

    LandWithScore(300);  // equal does not pass
    EXPECT_EQ(game.Position, 3);
    EXPECT_EQ(game.lblNextPlace.Caption, "Next Place : +0");

    LandWithScore(450);  // two places at once: one line
    EXPECT_EQ(game.Position, 1);
    EXPECT_EQ(rig.main.records.lstTable.ListIndex, 1);  // the entry just overtaken
    EXPECT_EQ(game.lblPosition.Caption, "Place # 2");
    EXPECT_EQ(game.lblNextPlace.Caption, "Next Place : +50");
    EXPECT_EQ(ClimbLines(), Lines{"...Place : 2"});
    EXPECT_TRUE(flash.Enabled);
    EXPECT_EQ(GridLines(kFirstPlaceGridColour), 0);

    flash.Enabled = false;
    LandWithScore(501);
    EXPECT_EQ(game.Position, 0);
    EXPECT_EQ(rig.main.records.lstTable.ListIndex, 0);
    EXPECT_EQ(game.lblPosition.Caption, "Place # 1");
    EXPECT_EQ(game.lblPosition.ForeColor, QBColor(11));
    EXPECT_FALSE(game.lblNextPlace.Visible);
    EXPECT_EQ(game.lblNextPlace.Caption, "Next Place : +50");  // hidden, not cleared
    EXPECT_EQ(ClimbLines(), Lines{"...VICTORY !!!"});
    EXPECT_TRUE(flash.Enabled);
    EXPECT_EQ(GridLines(kFirstPlaceGridColour), 58);  // the grid once more, in its new colour

    LandWithScore(100000);  // nothing left to climb
    EXPECT_TRUE(ClimbLines().empty());
    EXPECT_EQ(GridLines(kFirstPlaceGridColour), 58);  // only the landing's own

    rig.main.New_Game();  // the place colour is not reset by a new game
    EXPECT_EQ(game.lblPosition.ForeColor, QBColor(11));
    EXPECT_TRUE(game.lblNextPlace.Visible);
    EXPECT_EQ(game.lblPosition.Caption, "Place # 4");
}

TEST_F(RecordsInPlay, TheDefaultTableFallsToTheFirstScoringLanding) {
    rig.main.Form_Load();
    EXPECT_EQ(game.lblPosition.Caption, "Place # 2");
    LandWithScore(0);
    EXPECT_EQ(game.Position, 1);
    LandWithScore(1);
    EXPECT_EQ(game.Position, 0);
    EXPECT_EQ(ClimbLines(), Lines{"...VICTORY !!!"});
}

TEST_F(RecordsInPlay, AFullTableShowsNoPlaceUntilTheLastEntryIsBeaten) {
    RecordTable full;
    for (int i = 0; i < 99; ++i)
        full.push_back({"p" + std::to_string(i), 1000.0 - i});  // the last scores 902
    StartWith(full);
    EXPECT_EQ(game.Position, 99);
    EXPECT_EQ(game.lblPosition.Caption, "");
    LandWithScore(902);
    EXPECT_EQ(game.lblPosition.Caption, "");
    LandWithScore(903);
    EXPECT_EQ(game.lblPosition.Caption, "Place # 99");
    EXPECT_EQ(ClimbLines(), Lines{"...Place : 99"});
}

TEST_F(RecordsInPlay, ComparesWithTheScoresNotWithTheLineEnds) {
    // A long name pushes digits off the line's last six characters; a million has seven.
    StartWith({{"a-name-longer-than-fifteen", 1000000}, {"b", 50}});
    LandWithScore(60);
    EXPECT_EQ(game.Position, 1);
    EXPECT_EQ(game.lblNextPlace.Caption, "Next Place : +999940");
    LandWithScore(999999);
    EXPECT_EQ(game.Position, 1);
    LandWithScore(1000001);
    EXPECT_EQ(game.Position, 0);
}

TEST_F(RecordsInPlay, AnEmptyTableStartsAtTheTop) {
    StartWith({});
    EXPECT_EQ(game.Position, 0);
    EXPECT_EQ(game.lblPosition.Caption, "Place # 1");
    LandWithScore(10);
    EXPECT_EQ(game.lblNextPlace.Caption, "");
    EXPECT_TRUE(ClimbLines().empty());
    EXPECT_FALSE(flash.Enabled);
}

class GameOverFlow : public RecordsInPlay {
  protected:
    // Ends the game with the shown score S: the next figure cannot be placed.
    void EndWithScore(int32_t S) {
        testing::LandOnNextTick(rig.main.game, S, true);
        rig.main.game.tmrDown_Timer();
    }
    RecordTable Stored() const {
        return ParseRecords(ReadFileBytes(rig.folder.File(kRecordsFileName)).bytes);
    }
};

TEST_F(GameOverFlow, StoresTheResultThenStartsANewGame) {
    StartWith({{"a", 500}, {"b", 100}});
    rig.main.Set_chkDemo(1);
    rig.dialogs.name = {"Юля", false};
    bool demoWhileAsking = true;
    rig.dialogs.whileAsking = [&] { demoWhileAsking = rig.main.demo.tmrDemo.Enabled; };
    game.scores.Speed = 7;
    EndWithScore(300);
    EXPECT_FALSE(demoWhileAsking);  // the demonstration presses no button of a finished game
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "name", "new game?"}));
    EXPECT_EQ(Stored(), (RecordTable{{"a", 500}, {"Юля", 300}, {"b", 100}}));
    // The new game: from the stored table, with score, speed and level back to 0.
    EXPECT_EQ(rig.main.records.lstTable.Items,
              (Lines{"1. a              500", "2. Юля            300", "3. b              100"}));
    EXPECT_EQ(game.Position, 3);
    EXPECT_EQ(game.scores.Score, 0);
    EXPECT_EQ(game.scores.Speed, 0);
    EXPECT_EQ(game.scores.lblLevel.Caption, "Level # 0");
    EXPECT_EQ(game.scores.lblScore.Caption, "---");
    EXPECT_FALSE(rig.main.demo.tmrDemo.Enabled);
    EXPECT_FALSE(game.board.GameOver());
    EXPECT_EQ(rig.shell.saves, 0);
}

TEST_F(GameOverFlow, NoPlaceAsksNoNameAndNoEndsTheProgramAfterSaving) {
    RecordTable full;
    for (int i = 0; i < 99; ++i)
        full.push_back({"p" + std::to_string(i), 1000.0 - i});
    StartWith(full);
    rig.dialogs.newGame = false;
    rig.shell.log = &rig.dialogs.log;
    EndWithScore(902);
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "new game?", "save settings", "end"}));
    EXPECT_EQ(Stored(), full);
}

TEST_F(GameOverFlow, ACancelledNameStillAsksForANewGame) {
    StartWith({{"a", 500}});
    rig.dialogs.name = {"x", true};
    EndWithScore(600);
    EXPECT_EQ(rig.dialogs.log, (Lines{"close tool windows", "name", "new game?"}));
    EXPECT_EQ(Stored(), (RecordTable{{"a", 500}}));
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
    EXPECT_EQ(menu.chkRec.Value + menu.chkStat.Value + menu.chkFuture.Value, 3);
    EXPECT_FALSE(rig.sides.At(SideWindow::frmStatistic).minimized);
    const int focus = rig.shell.focusWell;
    rig.main.chkAuto_MouseUp();
    EXPECT_EQ(menu.chkAuto.Value, 0);
    EXPECT_EQ(rig.shell.focusWell, focus + 1);

    rig.sides.main = {0, 0};  // moved: a second press docks anew
    rig.main.Set_chkAuto(1);
    EXPECT_EQ(rig.sides.At(SideWindow::frmFuture).position.Left, 7145);
}

TEST(SideWindows, ButtonsShowHideAndFollowTheWindowsAtEveryLoad) {
    ShellRig rig;
    rig.main.Form_Load();
    const MainMenu& menu = rig.main.menu;
    EXPECT_EQ(menu.chkRec.Value + menu.chkStat.Value + menu.chkFuture.Value, 0);
    for (const auto& side : rig.sides.sides)
        EXPECT_TRUE(side.loaded);  // asking loads them

    rig.main.Set_chkStat(1);
    EXPECT_TRUE(rig.sides.At(SideWindow::frmStatistic).visible);
    rig.main.Set_chkRec(1);
    rig.main.Set_chkFuture(1);
    rig.main.Set_chkRec(0);
    EXPECT_FALSE(rig.sides.At(SideWindow::frmVorblinFathers).visible);
    EXPECT_TRUE(rig.sides.At(SideWindow::frmFuture).visible);
    const int focus = rig.shell.focusWell;
    rig.main.chkSide_MouseUp();
    EXPECT_EQ(rig.shell.focusWell, focus + 1);

    rig.sides.At(SideWindow::frmStatistic).visible = false;  // its close box
    rig.sides.At(SideWindow::frmVorblinFathers).visible = true;
    rig.main.New_Game();
    EXPECT_EQ(menu.chkRec.Value, 1);
    EXPECT_EQ(menu.chkStat.Value, 0);
    EXPECT_EQ(menu.chkFuture.Value, 1);
}

TEST(SideWindows, FollowTheMainWindowDownAndUpAndCloseAfterTheSettingsAreSaved) {
    ShellRig rig;
    rig.main.Form_Load();
    rig.sides.log.clear();
    rig.main.Form_Resize(true);
    EXPECT_EQ(rig.main.game.pad.chkPause.Value, 1);
    rig.main.Form_Resize(false);
    EXPECT_EQ(rig.sides.log,
              (Lines{"minimise frmVorblinFathers", "minimise frmStatistic", "minimise frmFuture",
                     "normal frmVorblinFathers", "normal frmStatistic", "normal frmFuture"}));
    EXPECT_EQ(rig.main.game.pad.chkPause.Value, 1);

    rig.sides.log.clear();
    rig.shell.log = &rig.sides.log;
    rig.main.Form_QueryUnload();
    EXPECT_EQ(rig.sides.log, (Lines{"save settings", "unload"}));
}

}  // namespace
}  // namespace vorblin
