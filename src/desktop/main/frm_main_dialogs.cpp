// The modal windows the main window opens: the help tour's pages, the settings, and the
// game-over flow's name entry and question.

#include "desktop/main/frm_main_window.h"

#include <QApplication>
#include <QDialog>

#include "desktop/records/frm_game_over_windows.h"
#include "desktop/sound/frm_settings_window.h"

namespace vorblin {

std::unique_ptr<HelpWindow> FrmMain::NewHelpWindow() {
    // Each page shows the main window as the tour has just painted it.
    return std::make_unique<FrmHelpTour>(*this, [this] { Sync(); });
}

void FrmMain::ShowSettings() {
    FrmSettings settings(sound_, this);
    settings.exec();
}

NameEntry FrmMain::Ask_Player_Name() {
    waited_ = true;
    // The landing that ended the game is shown before the window waits: the fall timer
    // that would show it does not fire again while its own handler waits here.
    Sync();
    FrmEnterName frmEnterName(this);
    frmEnterName.exec();
    return frmEnterName.Result();
}

bool FrmMain::AskNewGame() {
    waited_ = true;
    Sync();
    FrmGameOver frmGameOver(this);
    frmGameOver.exec();
    return frmGameOver.blnContinue();
}

void FrmMain::CloseToolWindows() {
    // The chooser first: it stands over the settings window.
    for (const char* name : {"frmOpen", "frmHelp", "frmSettings"}) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String(name) || !w->isVisible())
                continue;
            if (auto* dialog = qobject_cast<QDialog*>(w))
                dialog->reject();
            else
                w->close();
        }
    }
}
}  // namespace vorblin
