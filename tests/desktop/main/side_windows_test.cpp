// The side windows the main window hosts: shown by their buttons, keeping the keys on the
// game, docked by "Auto".
#include <QListWidget>

#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::MainWindow;

TEST_F(MainWindow, SideWindowsFollowTheButtonsKeepTheKeysOnTheGameAndDock) {
    QTest::mouseClick(Button("chkStat"), Qt::LeftButton);
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_TRUE(window->Well()->hasFocus());
    EXPECT_EQ(int{game().board.PosX}, 8);
    window->Statistic()->close();  // by its close box
    // Only the shown ones follow the main window: under X11 a state change would map the
    // hidden ones on the restore.
    QTest::mouseClick(Button("chkRec"), Qt::LeftButton);
    window->showMinimized();
    const bool fathersMinimized = window->Fathers()->isMinimized();
    const int statisticState = window->Statistic()->windowState().toInt();
    window->showNormal();
    EXPECT_EQ(testing::Show("best minimised", fathersMinimized, "statistic state", statisticState,
                            "best minimised after", window->Fathers()->isMinimized(),
                            "statistic state after", window->Statistic()->windowState().toInt(),
                            "statistic shown", window->Statistic()->isVisible()),
              "best minimised=true\nstatistic state=0\nbest minimised after=false\n"
              "statistic state after=0\nstatistic shown=false\n");
    // Docked, the side windows are shown (which, the core's tests) and the keys stay on the game.
    QTest::mouseClick(Button("chkAuto"), Qt::LeftButton);
    EXPECT_TRUE(window->Future()->isVisible() && window->Well()->hasFocus());
}

}  // namespace
}  // namespace vorblin
