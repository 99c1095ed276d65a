#include "core/rules/sound_board.h"

#include <ostream>

namespace vorblin {

std::ostream& operator<<(std::ostream& out, Channel channel) {
    if (channel < Channel::Count)
        return out << Row(channel).channel;
    return out << "Channel(" << static_cast<int>(channel) << ")";
}

void Play_Event_Sound(SoundBoard& sound, uint8_t Code) {
    if (Code >= 1 && Code <= kSoundByCode.size())
        sound.Play(kSoundByCode[Code - 1u]);
}

}  // namespace vorblin
