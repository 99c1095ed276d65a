#include "core/session/demo.h"

#include <algorithm>

#include "core/base/numbers.h"

namespace vorblin {

DemoAction DemoActionFor(int r) {
    if (r >= 1 && r <= 7)
        return DemoAction::Left;
    if (r >= 8 && r <= 15)
        return DemoAction::Right;
    if (r >= 16 && r <= 19)
        return DemoAction::Rotate;
    if (r == 20 || r == 21)
        return DemoAction::Drop;
    return DemoAction::Invert;
}

DemoAction Demo::tmrDemo_Timer(Game& game) {
    ControlPad& pad = game.pad;
    pad.cmdLeftRight[0].BackColor = pad.ColorButtons;
    pad.cmdLeftRight[2].BackColor = pad.ColorButtons;
    pad.cmdRotate.BackColor = pad.ColorButtons;
    pad.cmdSpace.BackColor = pad.ColorButtons;
    // An interval of 0 would stop the timer for good: the shortest wait is 1 ms.
    tmrDemo.Interval = std::max(1, RoundHalfEven(static_cast<double>(rnd_.Rnd()) * 750));
    const DemoAction action = DemoActionFor(RoundHalfEven(static_cast<double>(rnd_.Rnd()) * 23));
    // A paused game stays as it is: the buttons are hidden and nobody may press them.
    if (!pad.EnableControls)
        return DemoAction::None;
    switch (action) {
        case DemoAction::Left:
            game.cmdLeftRight_MouseDown(0);
            break;
        case DemoAction::Right:
            game.cmdLeftRight_MouseDown(2);
            break;
        case DemoAction::Rotate:
            game.cmdRotate_MouseDown(0);
            break;
        case DemoAction::Drop:
            game.cmdDown_MouseDown();
            break;
        case DemoAction::Invert:
        case DemoAction::None:
            game.cmdSpace_MouseDown();
            break;
    }
    return action;
}

}  // namespace vorblin
