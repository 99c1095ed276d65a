#pragma once
// What the game asks of its sound: one play per event channel, and the background
// tune's pan sweep on every fall tick.

#include <cstdint>

namespace vorblin {

// The event channels, in the order they are created.
enum class Channel : uint8_t {
    mDown1,
    mLeft1,
    mRight1,
    mRotate1,
    mDrop1,
    mDelLin1,
    mVorblin1,
    mDrop2,
    mDown2,
    mInverse1,
    Count,  // not a channel: how many there are (a new channel goes above this line)
};

inline constexpr int kChannelCount = static_cast<int>(Channel::Count);

class SoundBoard {
  public:
    virtual ~SoundBoard() = default;
    virtual void Play(Channel channel) = 0;
    // The background music is switched on (the fall tick sweeps its pan only then).
    virtual bool EnableLoop() const = 0;
    virtual void PanSweepStep() = 0;
};

// A board that plays nothing, for a game without sound.
class SilentSoundBoard final : public SoundBoard {
  public:
    void Play(Channel) override {}
    bool EnableLoop() const override { return false; }
    void PanSweepStep() override {}
};

// Event sound by number: 1 mVorblin1, 2 mDown1, 3 mLeft1, 4 mRight1, 5 mRotate1,
// 6 mDrop1, 7 mDelLin1; any other number plays nothing.
void Play_Event_Sound(SoundBoard& sound, uint8_t Code);

}  // namespace vorblin
