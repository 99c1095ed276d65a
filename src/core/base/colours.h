#pragma once
// Colours are kept the way the game's layout gives them: 32-bit &HBBGGRR values.

#include <cstdint>

namespace vorblin {

using Colour = int32_t;

constexpr Colour RGB(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

constexpr Colour kYellow = 0xFFFF;
constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kRed = 0xFF;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGreen = 0xFF00;
constexpr Colour kBlack = 0;

// The classic 16-colour palette; n outside 0..15 is clamped into it.
Colour QBColor(int n);

constexpr int RedOf(Colour c) {
    return c & 0xFF;
}
constexpr int GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

}  // namespace vorblin
