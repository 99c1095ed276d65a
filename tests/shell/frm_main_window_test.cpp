#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include "shell/frm_main_window.h"
#include "shell/window_shape.h"
#include "support/fakes.h"
#include "support/well_picture.h"
#include "toolkit/caption_frame.h"

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
    void TearDown() override { window.reset(); }

    Game& game() { return window->Shell().game; }
    ColourButton* Button(const char* name) {
        return static_cast<ColourButton*>(window->Control(name));
    }
    QLabel* LabelAt(const char* name) { return static_cast<QLabel*>(window->Control(name)); }
    void Key(QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(window->Well(), &event);
    }

    testing::ScriptedRandom rnd;  // every draw 0: ordinary figures of shape 0
    testing::FixedClock clock;
    testing::TempFolder folder;
    std::unique_ptr<FrmMain> window;
};

TEST_F(FrmMainTest, KeysActOnTheFigureAndColourTheButtons) {
    ASSERT_EQ(game().board.PosX, 9);
    QTest::keyPress(window->Well(), Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, 8);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), kGreen);
    // Held down: repeated presses act, repeated releases leave the button pressed.
    Key(QEvent::KeyRelease, Qt::Key_Left, true);
    Key(QEvent::KeyPress, Qt::Key_Left, true);
    EXPECT_EQ(game().board.PosX, 7);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), kGreen);
    QTest::keyRelease(window->Well(), Qt::Key_Left);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), game().pad.ColorButtons);

    QTest::keyClick(window->Well(), Qt::Key_Space);
    EXPECT_EQ(game().board.Figura.FilledCount(), 12);
    QTest::keyClick(window->Well(), Qt::Key_Down);
    EXPECT_TRUE(game().pad.bDrop);
    EXPECT_FALSE(Button("cmdDown")->isEnabled());
    EXPECT_EQ(Button("cmdDown")->BackColor(), kBlack);

    // Keys reach the game whichever control has the focus.
    Button("chkStat")->setFocus();
    QTest::keyClick(Button("chkStat"), Qt::Key_Right);
    EXPECT_EQ(game().board.PosX, 8);
}

TEST_F(FrmMainTest, ClicksPressTheButtonsAndHandTheFocusBack) {
    QTest::mousePress(Button("cmdLeftRight(2)"), Qt::LeftButton);
    EXPECT_EQ(game().board.PosX, 10);
    EXPECT_EQ(Button("cmdLeftRight(2)")->BackColor(), kGreen);
    QTest::mouseRelease(Button("cmdLeftRight(2)"), Qt::LeftButton);
    EXPECT_EQ(Button("cmdLeftRight(2)")->BackColor(), game().pad.ColorButtons);
    EXPECT_EQ(QApplication::focusWidget(), window->Well());

    QTest::mouseClick(Button("cmdSpace"), Qt::LeftButton);
    EXPECT_EQ(game().board.Figura.FilledCount(), 12);
    QTest::mouseClick(Button("cmdDown"), Qt::LeftButton);
    EXPECT_TRUE(game().pad.bDrop);
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
}

TEST_F(FrmMainTest, EscapePausesAndResumes) {
    QWidget* frame = window->Control("fraControl");
    QWidget* pause = window->Control("lblPause");
    EXPECT_TRUE(window->FallTimer().isActive());
    EXPECT_EQ(window->FallTimer().interval(), 2);
    EXPECT_EQ(window->FallTimer().timerType(), Qt::PreciseTimer);
    QTest::keyClick(window->Well(), Qt::Key_Escape);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(pause->isVisible());
    EXPECT_EQ(pause->geometry(), frame->geometry());
    EXPECT_FALSE(window->FallTimer().isActive());
    EXPECT_TRUE(Button("chkPause")->isChecked());
    EXPECT_TRUE(window->isMinimized());
    const int posX = game().board.PosX;
    for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down})
        QTest::keyClick(window->Well(), static_cast<Qt::Key>(key));
    EXPECT_EQ(game().board.PosX, posX);
    EXPECT_FALSE(game().pad.bDrop);

    QTest::keyClick(window->Well(), Qt::Key_Escape);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(window->FallTimer().isActive());
    EXPECT_FALSE(Button("chkPause")->isChecked());
    EXPECT_FALSE(window->isMinimized());

    // The pause button pauses without minimising.
    QTest::mouseClick(Button("chkPause"), Qt::LeftButton);
    EXPECT_TRUE(Button("chkPause")->isChecked());
    EXPECT_FALSE(window->FallTimer().isActive());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(FrmMainTest, OutlineIsTheWorkedExample) {
    QRegion expected;
    for (const ShapeRect& r : RebuildWindowRgn(kMainOuterWidth, WindowLevelControls()))
        expected += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    EXPECT_EQ(window->mask(), expected);
    EXPECT_TRUE(window->mask().contains(QPoint(10, 35)));
    EXPECT_FALSE(window->mask().contains(QPoint(280, 300)));  // the gap between the panels
    EXPECT_TRUE(window->mask().contains(QPoint(474, 5)));     // the strip spans the width
    EXPECT_EQ(window->size(), QSize(475, 614));
}

TEST_F(FrmMainTest, ControlsStandWhereTheLayoutPutsThem) {
    EXPECT_EQ(window->Control("fraVorblin")->geometry(), QRect(8, 8, 249, 457));
    EXPECT_EQ(window->Well()->geometry(), QRect(8, 16, 233, 433));
    EXPECT_EQ(window->Control("cmdDown")->geometry(), QRect(48, 32, 33, 15));
    EXPECT_EQ(window->Control("cmdDown")->parentWidget(), window->Control("fraControl"));
    EXPECT_EQ(window->Control("chkSet")->geometry(), QRect(144, 16, 49, 17));
    EXPECT_EQ(window->Control("picNext")->geometry(), QRect(40, 168, 77, 77));
    EXPECT_EQ(Button("chkFuture")->text(), "Future");
    EXPECT_EQ(LabelAt("lblPosition")->text(), "Place # 2");  // behind the default entry
    EXPECT_FALSE(LabelAt("lblFirma")->isVisible());
    EXPECT_EQ(window->Control("cmdSpace")->property("Tag").toString(),
              QString::fromUtf8("Инверсия - Пробел. Заполненные квадратики становятся пустыми, "
                                "пустые - заполненными."));
    EXPECT_EQ(window->windowTitle(), "Vorblin Cascade");
    int tour = 0;
    for (const ControlSpec& item : FrmMainLayout())
        tour += LeftOutOfHelpTour(item.name) ? 0 : 1;
    EXPECT_EQ(tour, 34);
}

TEST_F(FrmMainTest, ANewGameKeepsNothingOfTheOldOne) {
    Button("chkDemo")->click();
    EXPECT_TRUE(window->DemoTimer().isActive());
    testing::SetBottom(game().board, {"#####.#########"});
    game().board.PosX = 8;
    game().board.PosY = 25;
    game().board.Figura = {};
    for (int b = 0; b < 4; ++b)
        game().board.Figura(1, b) = true;
    QTest::keyClick(window->Well(), Qt::Key_Down);
    for (int tick = 0; tick < 10 && game().scores.FigureCount == 0; ++tick)
        window->OnFallTick();
    ASSERT_EQ(game().scores.FigureCount, 1);
    EXPECT_NE(LabelAt("lblScore")->text(), "---");
    EXPECT_EQ(LabelAt("lblCountLines(1)")->text(), "1-Lines*1 = 275");

    window->Shell().New_Game();
    window->Sync();
    EXPECT_EQ(LabelAt("lblScore")->text(), "---");
    EXPECT_EQ(LabelAt("lblCountLines(1)")->text(), "");
    EXPECT_EQ(LabelAt("lblLevel")->text(), "Level # 0");
    EXPECT_FALSE(Button("chkDemo")->isChecked());
    EXPECT_FALSE(window->DemoTimer().isActive());
    EXPECT_TRUE(Button("cmdDown")->isEnabled());
    EXPECT_EQ(Button("cmdDown")->BackColor(), game().pad.ColorButtons);
    EXPECT_EQ(game().scores.Score, 0);
    EXPECT_EQ(game().scores.LineCounts[1], 0);
    EXPECT_TRUE(game().lstStatistic.Items.empty());
    EXPECT_EQ(testing::BottomPicture(game().board, 31).find('#'), std::string::npos);
    const QImage& image = window->Well()->Surface().Image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_NE(image.pixel(x, y) & 0xFFFFFF, 0xFFFF00u) << x << "," << y;  // no yellow
}

}  // namespace
}  // namespace vorblin
