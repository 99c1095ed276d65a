// The end of a game: the name asked for a place, the result stored, a new game or the end.
#include <gtest/gtest.h>

#include "core/base/text_file.h"
#include "core/records/records_table.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::ShellRig;
using testing::Table;

// Ends the game with the shown score S: the next figure cannot be placed. What is stored,
// without the identities the results carry.
RecordTable EndWithScore(ShellRig& rig, int32_t S) {
    testing::LandOnNextTick(rig.game, S, true);
    rig.game.tmrDown_Timer();
    RecordTable table = ParseRecords(ReadFileBytes(rig.folder.File(kRecordsFileName)).bytes);
    for (RecordEntry& e : table)
        e.Id.clear();
    return table;
}

TEST(GameOverFlow, NameAskedOnlyForAPlaceNoEndsAfterSavingYesStartsANewGame) {
    ShellRig rig;
    rig.main.Form_Load();  // the default table
    rig.dialogs.name = {"Юля", false};
    rig.dialogs.newGame = false;
    rig.shell.log = &rig.dialogs.log;
    rig.dialogs.whileAsking = [&] {  // another machine stores two results meanwhile
        WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(Table(2, 500)));
    };
    EXPECT_EQ(EndWithScore(rig, 300), (RecordTable{{"500", 500}, {"499", 499}, {"Юля", 300}}));
    // The list shows what was stored; "Нет" saves the settings, then ends.
    EXPECT_EQ(rig.main.records.lstTable.ListCount(), 3);
    EXPECT_EQ(testing::Joined(rig.dialogs.log),
              "close tool windows\nname\nnew game?\nsave settings\nend\n");

    // A full table: the last score earns no place; "Да" starts a new game with score, speed and
    // level back to 0. The demo, running when the game ended, presses nothing while the
    // question waits.
    ASSERT_TRUE(
        WriteFileAtomically(rig.folder.File(kRecordsFileName), FormatRecords(Table(kMaxRecords))));
    rig.dialogs.log.clear();
    rig.dialogs.newGame = true;
    rig.main.Set_chkDemo(1);
    bool demoWhileDeciding = true;
    rig.dialogs.whileDeciding = [&] { demoWhileDeciding = rig.main.demo.tmrDemo.Enabled; };
    rig.game.scores.Speed = 7;
    EXPECT_EQ(EndWithScore(rig, 1001 - static_cast<int>(kMaxRecords)), Table(kMaxRecords));
    EXPECT_EQ(testing::Joined(rig.dialogs.log), "close tool windows\nnew game?\n");
    const ScoreBoard& s = rig.game.scores;
    EXPECT_EQ(testing::Show("demo", demoWhileDeciding, "S", s.Score, "speed", s.Speed, "over",
                            rig.game.board.GameOver(), "saves", rig.shell.saves),
              "demo=false\nS=0\nspeed=0\nover=false\nsaves=1\n");
}

}  // namespace
}  // namespace vorblin
