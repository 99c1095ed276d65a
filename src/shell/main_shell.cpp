#include "shell/main_shell.h"

namespace vorblin {

MainShell::MainShell(const GameParts& parts) : game(parts), demo(parts.rnd), shell_(parts.shell) {}

void MainShell::Form_Load() {
    menu.ColorMenu = game.pad.chkPause.BackColor;
    Set_chkDemo(0);
    demo.tmrDemo.Enabled = false;
    game.Form_Load();
    shell_.RebuildWindowRgn();
}

void MainShell::New_Game() {
    game.scores.Score = 0;
    game.scores.Speed = 0;
    Form_Load();
}

void MainShell::Form_Resize(bool minimized) {
    if (minimized && game.pad.chkPause.Value != 1)
        Set_chkPause(1);
}

void MainShell::Set_chkDemo(int16_t value) {
    if (ChangeValue(menu.chkDemo, value))
        chkDemo_Click();
}

void MainShell::chkDemo_Click() {
    demo.tmrDemo.Enabled = menu.chkDemo.Value == 1;
    shell_.FocusWell();
}

void MainShell::Set_chkSet(int16_t value) {
    if (ChangeValue(menu.chkSet, value))
        chkSet_Click();
}

void MainShell::chkSet_Click() {
    if (menu.chkSet.Value == 1) {
        shell_.ShowSettings();
        Set_chkSet(0);
    }
    shell_.FocusWell();
}

void MainShell::Set_chkHelp(int16_t value) {
    if (ChangeValue(menu.chkHelp, value))
        chkHelp_Click();
}

void MainShell::chkHelp_Click() {
    // The guided tour comes with the help window; until then the button springs back.
    if (menu.chkHelp.Value == 1)
        Set_chkHelp(0);
    shell_.FocusWell();
}

}  // namespace vorblin
