#include "core/rules/sound_board.h"

#include <array>

namespace vorblin {

void Play_Event_Sound(SoundBoard& sound, uint8_t Code) {
    static constexpr std::array<Channel, 7> kByCode = {
        Channel::mVorblin1, Channel::mDown1, Channel::mLeft1,   Channel::mRight1,
        Channel::mRotate1,  Channel::mDrop1, Channel::mDelLin1,
    };
    if (Code >= 1 && Code <= kByCode.size())
        sound.Play(kByCode[Code - 1u]);
}

}  // namespace vorblin
