#include "core/session/main_menu.h"

#include <array>

namespace vorblin {

void MainMenu::tmrMigMenuControls_Timer(CheckButton& chkPause) {
    const std::array<CheckButton*, 4> row = {&chkPause, &chkHelp, &chkDemo, &chkSet};
    if (FlashStep > 0)
        row[static_cast<size_t>(FlashStep - 1)]->BackColor = ColorMenu;
    if (FlashStep < 4) {
        row[static_cast<size_t>(FlashStep)]->BackColor = kMenuFlash;
        ++FlashStep;
    } else {
        tmrMigMenuControls.Enabled = false;
        FlashStep = 0;
    }
}

}  // namespace vorblin
