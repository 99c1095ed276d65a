// The sounds the game's event numbers ask for.
#include "core/rules/sound_board.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(SoundBoard, EventNumbers) {
    testing::RecordingSound board;
    for (uint8_t code = 0; code <= 9; ++code)
        Play_Event_Sound(board, code);
    EXPECT_EQ(board.played,
              (std::vector<Channel>{Channel::mVorblin1, Channel::mDown1, Channel::mLeft1,
                                    Channel::mRight1, Channel::mRotate1, Channel::mDrop1,
                                    Channel::mDelLin1}));
}

}  // namespace
}  // namespace vorblin
