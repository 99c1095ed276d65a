#pragma once
// The menu check buttons and the green light that runs along the top row.

#include <cstdint>

#include "core/base/control_state.h"

namespace vorblin {

constexpr Colour kMenuFlash = RGB(0, 255, 0);

struct MainMenu {
    // chkPause belongs to the control pad (Esc toggles it); the rest live here.
    CheckButton chkHelp{0, RGB(192, 0, 0)};
    CheckButton chkDemo{0, RGB(192, 0, 0)};
    CheckButton chkSet{0, RGB(192, 0, 0)};
    CheckButton chkAuto{0, kBlack};
    CheckButton chkFuture{0, kBlack};
    CheckButton chkRec{0, kBlack};
    CheckButton chkStat{0, kBlack};

    Colour ColorMenu = RGB(192, 0, 0);
    Timer tmrMigMenuControls{false, 100};
    // Survives between ticks and across new games.
    int16_t FlashStep = 0;

    // One step of the light over Pause, Help, Demo and Set; the fifth stops the timer.
    void tmrMigMenuControls_Timer(CheckButton& chkPause);
};

}  // namespace vorblin
