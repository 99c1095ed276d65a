#pragma once
// Whole-number conversions used by every rule of the game.

#include <cmath>
#include <cstdint>

namespace vorblin {

// To the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Relies on the default floating-point rounding mode, which the program never changes.
inline int32_t RoundHalfEven(double x) {
    return static_cast<int32_t>(std::lrint(x));
}

// A tenths value as the player sees it: divided by 10, rounded half to even.
inline int32_t Shown(int32_t tenths) {
    return RoundHalfEven(tenths / 10.0);
}

// Truncation toward zero.
inline int32_t Fix(double x) {
    return static_cast<int32_t>(std::trunc(x));
}

// Counts one more, stopping at the largest 16-bit value instead of wrapping round to a
// negative count (the rules keep these counters 16 bits wide).
inline void CountUp(int16_t& counter) {
    if (counter < INT16_MAX)
        ++counter;
}

// Rounding down.
inline int32_t Int(double x) {
    return static_cast<int32_t>(std::floor(x));
}

}  // namespace vorblin
