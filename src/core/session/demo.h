#pragma once
// The demonstration: a timer that presses the control buttons at random.

#include "core/session/game.h"

namespace vorblin {

enum class DemoAction { None, Left, Right, Rotate, Drop, Invert };

// What a draw r (0 to 23) presses: 1-7 left, 8-15 right, 16-19 rotate, 20-21 drop,
// 0, 22, 23 invert.
DemoAction DemoActionFor(int r);

class Demo {
  public:
    explicit Demo(RandomSource& rnd) : rnd_(rnd) {}

    // One press: restores the buttons the last press left coloured, sets a new random
    // interval and presses a random button through its mouse-down handler.
    DemoAction tmrDemo_Timer(Game& game);

    Timer tmrDemo{false, 500};

  private:
    RandomSource& rnd_;
};

}  // namespace vorblin
