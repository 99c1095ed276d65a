#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "shell/frm_main_window.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

// The four buttons that act on a press and restore their colour on the release.
struct PadButton {
    const char* name;
    Colour pressed;
    void (*action)(Game&);
};
const PadButton kPadButtons[] = {
    {"cmdLeftRight(0)", kPressedMove, [](Game& g) { g.cmdLeftRight_MouseDown(0); }},
    {"cmdLeftRight(2)", kPressedMove, [](Game& g) { g.cmdLeftRight_MouseDown(2); }},
    {"cmdRotate(0)", kPressedTurn, [](Game& g) { g.cmdRotate_MouseDown(0); }},
    {"cmdSpace", kPressedTurn, [](Game& g) { g.cmdSpace_MouseDown(); }},
};

class ControlButtons : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->show();
        QApplication::setActiveWindow(window.get());
        window->Well()->setFocus();
        // The figure stays where it is while the mouse works.
        game().tmrDown.Enabled = false;
        window->Sync();
    }
    Game& game() { return window->Shell().game; }
    ColourButton* Button(const char* name) {
        return static_cast<ColourButton*>(window->Control(name));
    }
    // The figure after `presses` presses of the button, from the state now.
    std::pair<int, FigureMatrix> After(const PadButton& b, int presses) {
        const Board saved = game().board;
        for (int i = 0; i < presses; ++i)
            b.action(game());
        const std::pair<int, FigureMatrix> result{game().board.PosX, game().board.Figura};
        game().board = saved;
        return result;
    }
    std::pair<int, FigureMatrix> Now() { return {game().board.PosX, game().board.Figura}; }

    testing::ScriptedRandom rnd;  // shape 0, which looks different after every turn
    testing::FixedClock clock;
    testing::TempFolder folder;
    std::unique_ptr<FrmMain> window;
};

TEST_F(ControlButtons, DraggingOffAndBackOnActsOnceAndRestoresOnlyOnTheRelease) {
    for (const PadButton& b : kPadButtons) {
        ColourButton* button = Button(b.name);
        const QPoint inside = button->rect().center();
        const QPoint outside(-30, -30);
        const auto once = After(b, 1);
        QTest::mousePress(button, Qt::LeftButton, {}, inside);
        for (const QPoint at : {outside, inside, outside, inside, outside}) {
            QTest::mouseMove(button, at);
            EXPECT_EQ(button->BackColor(), b.pressed) << b.name;
        }
        QTest::mouseRelease(button, Qt::LeftButton, {}, outside);
        EXPECT_EQ(Now(), once) << b.name;
        EXPECT_EQ(button->BackColor(), game().pad.ColorButtons) << b.name;
        EXPECT_EQ(QApplication::focusWidget(), window->Well()) << b.name;
    }
}

TEST_F(ControlButtons, EveryMouseButtonPressActsOnce) {
    for (const PadButton& b : kPadButtons) {
        ColourButton* button = Button(b.name);
        for (const Qt::MouseButton mouse : {Qt::RightButton, Qt::MiddleButton}) {
            const auto once = After(b, 1);
            QTest::mousePress(button, mouse);
            EXPECT_EQ(Now(), once) << b.name << mouse;
            EXPECT_EQ(button->BackColor(), b.pressed) << b.name << mouse;
            QTest::mouseRelease(button, mouse);
            EXPECT_EQ(button->BackColor(), game().pad.ColorButtons) << b.name << mouse;
            EXPECT_EQ(QApplication::focusWidget(), window->Well()) << b.name << mouse;
        }
        // A double click is two presses.
        const auto twice = After(b, 2);
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseDClick(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(Now(), twice) << b.name;
    }
    // The drop button drops on any mouse button too, and hands the focus back.
    QTest::mouseClick(Button("cmdDown"), Qt::RightButton);
    EXPECT_TRUE(game().pad.bDrop);
    EXPECT_EQ(Button("cmdDown")->BackColor(), kPressedDrop);
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
}

}  // namespace
}  // namespace vorblin
