#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <chrono>
#include <thread>

#include "shell/frm_main_window.h"
#include "shell/window_shape.h"
#include "support/fakes.h"

// The window's own share: routing keys and clicks, the timers, the outline, the layout and
// copying the rules' state onto the widgets. The rules themselves are the core's tests.
namespace vorblin {
namespace {

class FrmMainTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->show();
        QApplication::setActiveWindow(window.get());
        window->Well()->setFocus();
    }
    Game& game() { return window->Shell().game; }
    ColourButton* Button(const char* name) {
        return static_cast<ColourButton*>(window->Control(name));
    }
    QString Text(const char* name) { return static_cast<QLabel*>(window->Control(name))->text(); }
    void Key(QEvent::Type type, int key, bool autoRepeat) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(window->Well(), &event);
    }

    testing::TempFolder folder;   // the hall of fame's
    testing::ScriptedRandom rnd;  // every draw 0: ordinary figures of shape 0
    testing::FixedClock clock;
    std::unique_ptr<FrmMain> window;
};

TEST_F(FrmMainTest, KeysAndClicksReachTheGameAndColourTheButtons) {
    QTest::keyPress(window->Well(), Qt::Key_Left);
    // Held down: repeated presses act, repeated releases leave the button pressed.
    Key(QEvent::KeyRelease, Qt::Key_Left, true);
    Key(QEvent::KeyPress, Qt::Key_Left, true);
    EXPECT_TRUE(game().board.PosX == 7 && Button("cmdLeftRight(0)")->BackColor() == kGreen);
    QTest::keyRelease(window->Well(), Qt::Key_Left);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), game().pad.ColorButtons);
    // Keys reach the game whichever control has the focus; a click hands the focus back.
    Button("chkStat")->setFocus();
    QTest::keyClick(Button("chkStat"), Qt::Key_Right);
    QTest::mousePress(Button("cmdLeftRight(2)"), Qt::LeftButton);
    EXPECT_TRUE(game().board.PosX == 9 && Button("cmdLeftRight(2)")->BackColor() == kGreen);
    QTest::mouseRelease(Button("cmdLeftRight(2)"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
    QTest::keyClick(window->Well(), Qt::Key_Down);
    EXPECT_TRUE(!Button("cmdDown")->isEnabled() && Button("cmdDown")->BackColor() == kBlack);
}

TEST_F(FrmMainTest, EscapePausesAndMinimisesThePauseButtonOnlyPauses) {
    QWidget* frame = window->Control("fraControl");
    QWidget* pause = window->Control("lblPause");
    EXPECT_TRUE(window->FallClock().Running() && window->FallWake().isActive());
    EXPECT_EQ(window->FallWake().timerType(), Qt::PreciseTimer);
    QTest::keyClick(window->Well(), Qt::Key_Escape);
    EXPECT_TRUE(pause->isVisible() && Button("chkPause")->isChecked() && window->isMinimized());
    EXPECT_FALSE(frame->isVisible() || window->FallClock().Running() ||
                 window->FallWake().isActive());
    EXPECT_EQ(pause->geometry(), frame->geometry());
    QTest::keyClick(window->Well(), Qt::Key_Escape);
    EXPECT_TRUE(frame->isVisible() && window->FallClock().Running());
    EXPECT_FALSE(Button("chkPause")->isChecked() || window->isMinimized());
    QTest::mouseClick(Button("chkPause"), Qt::LeftButton);  // pauses without minimising
    EXPECT_TRUE(Button("chkPause")->isChecked() && !window->FallClock().Running());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(FrmMainTest, TheOutlineLayoutAndANewGameReachTheWidgets) {
    QRegion expected;
    for (const ShapeRect& r : RebuildWindowRgn(kMainOuterWidth, WindowLevelControls()))
        expected += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    EXPECT_EQ(window->mask(), expected);
    EXPECT_EQ(window->size(), QSize(475, 614));
    EXPECT_EQ(window->Well()->geometry(), QRect(8, 16, 233, 433));
    EXPECT_EQ(window->Control("cmdDown")->parentWidget(), window->Control("fraControl"));
    Button("chkDemo")->click();
    game().scores.lblLevel.Caption = "Level # 4";
    window->Shell().New_Game();
    window->Sync();
    EXPECT_EQ(window->windowTitle() + Text("lblPosition") + Text("lblScore") + Text("lblLevel"),
              "Vorblin CascadePlace # 2---Level # 0");  // behind the default entry
    EXPECT_FALSE(Button("chkDemo")->isChecked() || window->DemoTimer().isActive());
}

TEST_F(FrmMainTest, AKeyActsAtOnceAfterTheTicksDueBeforeIt) {
    // No event is processed meanwhile: the ticks of these 40 ms are owed.
    const int16_t ticksBefore = game().scores.TimeTicks;
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    const int x = game().board.PosX;
    QTest::keyPress(window->Well(), Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, x - 1);                   // within the same call
    EXPECT_GE(game().scores.TimeTicks - ticksBefore, 19);  // and after the owed ticks
    // The window then sleeps until the next visible change: about a frame while the time
    // bonus counts, the next fall step after that.
    EXPECT_TRUE(window->FallWake().isActive());
    const int step = 2 * (150 - game().TickCount);
    EXPECT_EQ(window->FallWake().interval(),
              game().scores.TimeTicks < 201 ? 17 : std::max(17, step));
    QTest::keyRelease(window->Well(), Qt::Key_Left);
}

}  // namespace
}  // namespace vorblin
