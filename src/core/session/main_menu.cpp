#include "core/session/main_menu.h"

namespace vorblin {

void MainMenu::tmrMigMenuControls_Timer(CheckButton& chkPause) {
    CheckButton* row[] = {&chkPause, &chkHelp, &chkDemo, &chkSet};
    if (FlashStep > 0)
        row[FlashStep - 1]->BackColor = ColorMenu;
    if (FlashStep < 4) {
        row[FlashStep]->BackColor = kMenuFlash;
        ++FlashStep;
    } else {
        tmrMigMenuControls.Enabled = false;
        FlashStep = 0;
    }
}

}  // namespace vorblin
