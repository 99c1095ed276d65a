#include "core/shell/main_shell.h"

#include <algorithm>

#include "core/base/twips.h"

namespace vorblin {

MainShell::MainShell(const ShellParts& parts)
    : game(GameParts{parts.rnd, parts.clock, parts.picVorblin, parts.picNext, parts.picFuture,
                     parts.sound, *this, parts.shell}),
      demo(parts.rnd),
      records(parts.folder, parts.ownFolder),
      help(parts.rnd, parts.sound, parts.picVorblin, game, menu, records.lstTable),
      clock_(parts.clock),
      shell_(parts.shell),
      dialogs_(parts.dialogs),
      sides_(parts.sides) {
    // The window waits a moment for the shared folder, never longer: a share that hangs
    // must not freeze the game, and the result is safe in the player's own folder.
    records.Patience = std::chrono::milliseconds(1000);
}

void MainShell::Form_Load() {
    // A new game taken while the flash lights "Pause" keeps the menu's own colour: the light
    // would otherwise stay on all four buttons for good.
    if (!(menu.tmrMigMenuControls.Enabled && menu.FlashStep == 1))
        menu.ColorMenu = game.pad.chkPause.BackColor;
    Set_chkDemo(0);
    demo.tmrDemo.Enabled = false;
    game.Form_Load();
    shell_.LoadSound();
    // The menu shows which side windows are open (asking loads them).
    Set_chkRec(sides_.SideVisible(SideWindow::frmVorblinFathers) ? 1 : 0);
    Set_chkStat(sides_.SideVisible(SideWindow::frmStatistic) ? 1 : 0);
    Set_chkFuture(sides_.SideVisible(SideWindow::frmFuture) ? 1 : 0);
    shell_.RebuildWindowRgn();
}

void MainShell::New_Game() {
    game.scores.Score = 0;
    game.scores.Speed = 0;
    records.Clear_Records();
    Form_Load();
}

void MainShell::Form_Resize(bool minimized) {
    if (minimized && game.pad.chkPause.Value != 1)
        Set_chkPause(1);
    // The side windows minimise and come back with the main window.
    for (SideWindow w :
         {SideWindow::frmVorblinFathers, SideWindow::frmStatistic, SideWindow::frmFuture})
        sides_.SetSideMinimized(w, minimized);
}

void MainShell::Form_QueryUnload() {
    shell_.SaveSoundSettings();
    sides_.UnloadSideWindows();
}

int16_t MainShell::Load_Table() {
    records.Read_Records_File();
    records.Fill_Table_List();
    return static_cast<int16_t>(std::min<int32_t>(records.lstTable.ListCount(), INT16_MAX));
}

void MainShell::Update_Place(int32_t S) {
    place.Update_Place(
        records.Table, S,
        PlaceControls{game.Position, game.lblPosition, game.lblNextPlace, records.lstTable,
                      game.lstStatistic, menu.tmrMigMenuControls, [this] { game.RedrawGrid(); }});
}

void MainShell::End_Of_Game(int32_t S) {
    demo.tmrDemo.Enabled = false;
    dialogs_.CloseToolWindows();
    // The tour waits on the page it was closed on until this flow is over: the control it
    // painted gets its colour back now, before a new game reads it.
    help.GiveColoursBack();
    const std::optional<RecordEntry> entry = records.Add_Record(
        S, [this] { return dialogs_.Ask_Player_Name(); }, [this] { return clock_.ShortDate(); });
    // Stored first, then shown: the list then also holds what other machines stored.
    records.Write_Records_File(entry);
    records.Fill_Table_List();
    if (dialogs_.AskNewGame()) {
        New_Game();
    } else {
        // Ending at once would lose the settings changed in this run.
        shell_.SaveSoundSettings();
        dialogs_.EndProgram();
    }
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
    // "Help" stays down for the whole tour; the window object goes before it springs back.
    if (menu.chkHelp.Value == 1) {
        if (const std::unique_ptr<HelpWindow> frmHelp = shell_.NewHelpWindow())
            help.Run(*frmHelp);
        Set_chkHelp(0);
    }
    shell_.FocusWell();
}

void MainShell::Set_chkRec(int16_t value) {
    if (ChangeValue(menu.chkRec, value))
        sides_.SetSideVisible(SideWindow::frmVorblinFathers, value == 1);
}

void MainShell::Set_chkStat(int16_t value) {
    if (ChangeValue(menu.chkStat, value))
        sides_.SetSideVisible(SideWindow::frmStatistic, value == 1);
}

void MainShell::Set_chkFuture(int16_t value) {
    if (ChangeValue(menu.chkFuture, value))
        sides_.SetSideVisible(SideWindow::frmFuture, value == 1);
}

void MainShell::Set_chkAuto(int16_t value) {
    if (ChangeValue(menu.chkAuto, value))
        chkAuto_Click();
}

void MainShell::DockOne(SideWindow window, WindowPosition position,
                        void (MainShell::*press)(int16_t)) {
    sides_.SetSideMinimized(window, false);
    sides_.MoveSide(window, position);
    sides_.SetSideVisible(window, true);
    (this->*press)(1);
}

void MainShell::chkAuto_Click() {
    if (menu.chkAuto.Value != 1)
        return;
    const WindowPosition main = sides_.MainPosition();
    const WindowSize size = sides_.MainSize();
    const int32_t right = main.Left + size.Width;
    const int32_t fathersHeight = sides_.SideSize(SideWindow::frmVorblinFathers).Height;
    DockOne(SideWindow::frmVorblinFathers,
            {right + kDockingGap, main.Top + size.Height - fathersHeight}, &MainShell::Set_chkRec);
    // Placed by the future window's width before that window itself is placed, and from the
    // whole pixel that window's edge will stand on: each gap rounded on its own would differ.
    const int32_t futureLeft = right + kDockingGap;
    const int32_t futureWidth = sides_.SideSize(SideWindow::frmFuture).Width;
    DockOne(SideWindow::frmStatistic,
            {TwipsToPixels(futureLeft) * kTwipsPerPixel + futureWidth + kDockingGap, main.Top},
            &MainShell::Set_chkStat);
    DockOne(SideWindow::frmFuture, {futureLeft, main.Top}, &MainShell::Set_chkFuture);
}

void MainShell::DockAgain() {
    const int16_t pressed = menu.chkAuto.Value;
    menu.chkAuto.Value = 1;
    chkAuto_Click();
    menu.chkAuto.Value = pressed;
}

void MainShell::chkAuto_MouseUp() {
    Set_chkAuto(0);
    shell_.FocusWell();
}

}  // namespace vorblin
