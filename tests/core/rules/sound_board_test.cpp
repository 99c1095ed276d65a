// The sounds the game's event numbers ask for, and how a channel shows in a failure.
#include "core/rules/sound_board.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vorblin {
namespace {

TEST(SoundBoard, EachEventNumberPlaysItsSoundAndOtherNumbersNone) {
    for (int code = 0; code <= 255; ++code) {
        testing::RecordingSound board;
        Play_Event_Sound(board, static_cast<uint8_t>(code));
        const bool known = code >= 1 && code <= static_cast<int>(kSoundByCode.size());
        EXPECT_EQ(board.played,
                  known ? std::vector{kSoundByCode[code - 1]} : std::vector<Channel>{})
            << code;
    }
    EXPECT_EQ(::testing::PrintToString(Channel::mRotate1), "mRotate1");
    EXPECT_EQ(::testing::PrintToString(Channel::Count),
              "Channel(" + std::to_string(kChannelCount) + ")");
}

}  // namespace
}  // namespace vorblin
