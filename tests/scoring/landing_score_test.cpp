#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/well_picture.h"

namespace vorblin {
namespace {

// The place tracker's line, written from inside the landing.
struct PlaceLogger final : RecordsLink {
    int16_t Load_Table() override { return 5; }
    void Update_Place(int32_t S) override {
        game->lstStatistic.AddItem("...Place : " + std::to_string(S));
    }
    void End_Of_Game(int32_t) override {}
    Game* game = nullptr;
};

TEST(LandingLog, LinesComeInTheirFixedOrder) {
    testing::GameRig rig;
    PlaceLogger places;
    Game game(GameParts{rig.rnd, rig.clock, rig.well, rig.next, rig.future, rig.sound, places,
                        rig.shell});
    places.game = &game;
    game.Form_Load();
    game.board.Reset();
    testing::SetBottom(game.board, {"#####.#########", "#####.#########"});
    int16_t cells = 0;
    Initialize_Array_For_Brikko(game.board.Figura, "0000111100000000", cells);
    game.board.PosX = 8;
    game.board.PosY = 27;
    game.scores.LinesInLevel = 8;
    game.scores.Score = 1000;
    game.Queue(3) = FiguraInfo{"1000000000000001", 31000, true};
    game.TickCount = 149;
    game.scores.TimeTicks = 201;
    game.scores.CellCounter = 0;
    game.tmrDown_Timer();
    EXPECT_EQ(game.lstStatistic.Items,
              (std::vector<std::string>{"Level # 1...", "...Score : 100", "...Place : 900",
                                        "...Vorblin", "1. +800 -> 2 lines"}));
    EXPECT_EQ(game.lstStatistic.ListIndex, 4);
    EXPECT_EQ(game.scores.lblRemain.Caption, "12345678");
    EXPECT_EQ(game.scores.Speed, 15);
    // The level rose during this landing: the next figure falls at the new pace.
    game.board.Reset();
    Initialize_Array_For_Brikko(game.board.Figura, "0000111100000000", cells);
    for (int tick = 1; tick < 135; ++tick)
        game.tmrDown_Timer();
    EXPECT_EQ(game.board.PosY, 0);
    game.tmrDown_Timer();
    EXPECT_EQ(game.board.PosY, 1);
}

}  // namespace
}  // namespace vorblin
