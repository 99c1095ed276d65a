#pragma once
// Positions and sizes in the layout are twips, 15 to a pixel.

namespace vorblin {

constexpr int kTwipsPerPixel = 15;

// To the nearest pixel (every position of the main window's outline is a whole pixel).
constexpr int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

}  // namespace vorblin
