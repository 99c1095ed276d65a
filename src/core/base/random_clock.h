#pragma once
// The game's two sources of chance: a uniform generator and the clock's seconds.

#include <cstdint>
#include <string>

namespace vorblin {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A single-precision value in [0, 1).
    virtual float Rnd() = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds of the current time of day, 0 to 59.
    virtual int Seconds() = 0;
    // Today's date as short text, for example "05.12.2026".
    virtual std::string ShortDate() = 0;
};

// A 24-bit linear congruential generator. It is never seeded, so every run of the
// program sees the same sequence; the clock-driven warm-ups are what vary the game.
class Lcg24Random final : public RandomSource {
  public:
    float Rnd() override {
        state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
        return static_cast<float>(state_) / 16777216.0f;
    }

  private:
    uint32_t state_ = 0x50000u;
};

class SystemClock final : public Clock {
  public:
    int Seconds() override;
    std::string ShortDate() override;
};

}  // namespace vorblin
