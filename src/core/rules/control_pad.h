#pragma once
// The five on-screen control buttons and the flags that gate the player's input.

#include <array>
#include <cstdint>

#include "core/base/control_state.h"

namespace vorblin {

// Virtual key codes the game reacts to.
enum KeyCode : int16_t {
    kKeySpace = 32,
    kKeyEscape = 27,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
};

constexpr Colour kPressedMove = kGreen;
constexpr Colour kPressedTurn = kYellow;  // rotate and invert
constexpr Colour kPressedDrop = kBlack;

struct ControlPad {
    // Index 0 moves left, index 2 moves right (Index - 1 is the column step).
    std::array<CommandButton, 3> cmdLeftRight{};
    CommandButton cmdRotate;
    CommandButton cmdDown;
    CommandButton cmdSpace;
    Frame fraControl;
    CheckButton chkPause{0, RGB(192, 0, 0)};

    Colour ColorButtons = kBlack;
    bool EnableControls = true;
    bool bDrop = false;
    bool bEscape = false;

    void PaintButtons(Colour colour) {
        cmdDown.BackColor = colour;
        cmdLeftRight[0].BackColor = colour;
        cmdLeftRight[2].BackColor = colour;
        cmdRotate.BackColor = colour;
        cmdSpace.BackColor = colour;
    }
};

}  // namespace vorblin
