#include <gtest/gtest.h>

#include "shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::ShellRig;

TEST(MenuFlash, RunsOnceOverTheTopRowAndStops) {
    ShellRig rig;
    MainMenu& menu = rig.shell.menu;
    menu.tmrMigMenuControls.Enabled = true;
    CheckButton* row[] = {&rig.shell.game.pad.chkPause, &menu.chkHelp, &menu.chkDemo, &menu.chkSet};
    for (int step = 0; step <= 4; ++step) {
        rig.shell.tmrMigMenuControls_Timer();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(row[i]->BackColor, i == step ? kMenuFlash : menu.ColorMenu) << step << i;
    }
    EXPECT_FALSE(menu.tmrMigMenuControls.Enabled);
    EXPECT_EQ(menu.FlashStep, 0);
}

TEST(MenuButtons, SettingsAndHelpSpringBackDemoFollowsItsButton) {
    ShellRig rig;
    rig.shell.Form_Load();
    EXPECT_EQ(rig.host.shapes, 1);
    rig.shell.Set_chkSet(1);
    EXPECT_EQ(rig.host.settings, 1);
    EXPECT_EQ(rig.shell.menu.chkSet.Value, 0);
    rig.shell.Set_chkHelp(1);
    EXPECT_EQ(rig.shell.menu.chkHelp.Value, 0);

    rig.shell.Set_chkDemo(1);
    EXPECT_TRUE(rig.shell.demo.tmrDemo.Enabled);
    rig.shell.Set_chkDemo(0);
    EXPECT_FALSE(rig.shell.demo.tmrDemo.Enabled);
    rig.shell.Set_chkDemo(1);
    rig.shell.New_Game();  // every new game starts without the demonstration
    EXPECT_EQ(rig.shell.menu.chkDemo.Value, 0);
    EXPECT_FALSE(rig.shell.demo.tmrDemo.Enabled);
    EXPECT_EQ(rig.host.shapes, 2);
}

TEST(MenuButtons, MinimisingPausesAndRestoringKeepsThePause) {
    ShellRig rig;
    rig.shell.Form_Load();
    rig.shell.Form_Resize(true);
    EXPECT_EQ(rig.shell.game.pad.chkPause.Value, 1);
    EXPECT_EQ(rig.host.minimized, 0);  // not by Esc: no second minimise
    rig.shell.Form_Resize(false);
    EXPECT_FALSE(rig.shell.game.tmrDown.Enabled);
}

}  // namespace
}  // namespace vorblin
