// The main window as the player drives it: keys, mouse, the fall clock, games that end, and
// the side windows it hosts.
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <filesystem>

#include "core/base/text_file.h"
#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::MainWindow;
using testing::WhenModal;
using testing::WhenOpened;

TEST_F(MainWindow, AKeyActsAtOnceAfterTheTicksDueBeforeItFromAnyControl) {
    // No event is processed meanwhile: the ticks of these 40 ms are owed.
    const int16_t ticksBefore = game().scores.TimeTicks;
    QTest::qSleep(40);
    QTest::keyPress(window->Well(), Qt::Key_Left);
    // Moved within the same call after the owed ticks; the window sleeps until the next change.
    EXPECT_EQ(int{game().board.PosX}, 8);
    EXPECT_GE(game().scores.TimeTicks - ticksBefore, 19);
    EXPECT_TRUE(window->FallWake().isActive());
    // Held down: repeated presses act, repeated releases leave the button pressed.
    for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeated(type, Qt::Key_Left, Qt::NoModifier, {}, true);
        QApplication::sendEvent(window->Well(), &repeated);
    }
    EXPECT_TRUE(game().board.PosX == 7 && Button("cmdLeftRight(0)")->BackColor() == kGreen);
    QTest::keyRelease(window->Well(), Qt::Key_Left);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), game().pad.ColorButtons);
    Button("chkStat")->setFocus();
    QTest::keyClick(Button("chkStat"), Qt::Key_Escape);  // pauses: the fall clock stops
    EXPECT_TRUE(Button("chkPause")->isChecked() && !window->FallClock().Running());
}

TEST(MainWindowStart, ASharedRecordsFolderTakesOnlyTheTableAndTheIconIsTheDesktops) {
    testing::TempFolder own, shared;
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    FrmMain window(&rnd, &clock, own.path, shared.path);
    const auto has = [](const testing::TempFolder& f, const char* name) {
        return std::filesystem::exists(f.File(name));
    };
    EXPECT_EQ(
        testing::Show("shared table", has(shared, "VorblinFathers.txt"), "shared settings",
                      has(shared, "VorbDieRect.ini"), "own table", has(own, "VorblinFathers.txt"),
                      "own settings", has(own, "VorbDieRect.ini")),
        "shared table=true\nshared settings=false\nown table=false\nown settings=true\n");
    // The title strip's 16 pixels come from the same renderings as the menu's icon: the
    // landed figure's yellow in the bottom-left cell, the well's dark above it.
    const QImage strip = window.windowIcon().pixmap(16, 16).toImage();
    ASSERT_EQ(strip.size(), QSize(16, 16));
    EXPECT_EQ(strip.pixelColor(1, 14).name(), QStringLiteral("#ffff00"));
    EXPECT_LT(strip.pixelColor(1, 9).lightness(), 40);
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 8);
}

TEST_F(MainWindow, PadButtonsActOncePerPressOfAnyMouseButton) {
    game().tmrDown.Enabled = false;  // the figure stays where it is while the mouse works
    window->Sync();
    ColourButton* left = Button("cmdLeftRight(0)");
    // Dragged off and back on while held: one press, the colour restored on the release.
    const QPoint inside = left->rect().center(), outside(-30, -30);
    QTest::mousePress(left, Qt::LeftButton, {}, inside);
    for (const QPoint at : {outside, inside, outside})
        QTest::mouseMove(left, at);
    const Colour held = left->BackColor();
    QTest::mouseRelease(left, Qt::LeftButton, {}, outside);
    EXPECT_EQ(held, kPressedMove);
    EXPECT_EQ(int{game().board.PosX}, 8);
    EXPECT_EQ(left->BackColor(), game().pad.ColorButtons);
    // Other buttons press too; a double click is two presses.
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton})
        QTest::mouseClick(left, other);
    QTest::mouseDClick(left, Qt::LeftButton);
    QTest::mouseRelease(left, Qt::LeftButton);
    const FigureMatrix turned = game().board.Rotated();
    QTest::mouseClick(Button("cmdRotate(0)"), Qt::RightButton);
    EXPECT_EQ(int{game().board.PosX}, 4);
    EXPECT_TRUE(game().board.Figura == turned);
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
}

// The last landing, run by the fall clock, climbs a place, which starts the menu flash, and
// ends the game. The flash runs on while the name window waits, and a new game taken at once
// keeps the menu's colour. So does one that ends on the help tour's page for "Pause".
TEST_F(MainWindow, AGameEndingDuringTheMenuFlashOrTheTourKeepsTheMenusColour) {
    const MainMenu& menu = window->Shell().menu;
    const Colour before = menu.ColorMenu;
    // The menu's colour and the top row's colours.
    const auto row = [](Colour ColorMenu, Colour chkPause, Colour chkHelp, Colour chkDemo,
                        Colour chkSet) {
        return testing::Show("menu", ColorMenu, "pause", chkPause, "help", chkHelp, "demo", chkDemo,
                             "settings", chkSet);
    };
    const auto shown = [&] {
        return row(menu.ColorMenu, Button("chkPause")->BackColor(), Button("chkHelp")->BackColor(),
                   Button("chkDemo")->BackColor(), Button("chkSet")->BackColor());
    };
    int flashSeen = -1;
    bool answered = false;
    const auto answer = [&](int flashStep) {
        WhenOpened("frmEnterName", [&, flashStep](QWidget* name) {
            if (flashStep > 0)
                (void)QTest::qWaitFor([&] { return menu.FlashStep >= flashStep; }, 1000);
            flashSeen = menu.FlashStep;
            QTest::keyClick(name, Qt::Key_Return);
            WhenOpened("frmGameOver", [&](QWidget* question) {
                Click(question, "cmdYes");
                answered = true;
            });
        });
    };
    answer(1);  // "Да" while "Pause" is lit
    testing::LandOnNextTick(game(), 300, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 3000));
    const std::string atNewGame = shown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu.tmrMigMenuControls.Enabled; }, 2000));
    EXPECT_EQ(flashSeen, 1);
    EXPECT_EQ(atNewGame, row(before, kMenuFlash, before, before, before));
    EXPECT_EQ(shown(), row(before, before, before, before, before));

    answered = false;
    Tour([&](int page, FrmHelp* help) {
        if (page < 13)
            return Click(help, "cmdNext");
        if (page > 13)
            return;  // still the same page, until the game ends
        answer(0);   // on the page for "Pause", with a landing that climbs no place
        testing::LandOnNextTick(game(), 0, true);
    });
    ASSERT_TRUE(answered);
    EXPECT_FALSE(menu.tmrMigMenuControls.Enabled);
    EXPECT_EQ(shown(), row(before, before, before, before, before));
}

// The game runs on under the settings window and its chooser: its end closes both first.
// Without a name nothing is stored, and "No" ends the program.
TEST_F(MainWindow, AGameEndingUnderTheSettingsAndTheChooserClosesBothFirst) {
    bool toolsShownAtName = true;
    WhenModal([&](QWidget* settings) {
        WhenModal([&](QWidget* chooser) {
            WhenModal([&](QWidget* name) {
                toolsShownAtName = settings->isVisible() || chooser->isVisible();
                name->close();
                WhenModal([](QWidget* question) { Click(question, "cmdNo"); });
            });
            testing::LandOnNextTick(game(), 300, true);
            window->OnFallTick();
        });
        Click(settings, "cmdOpen");
    });
    window->Shell().Set_chkSet(1);
    const size_t stored = ParseRecords(ReadFileBytes(folder.File(kRecordsFileName)).bytes).size();
    EXPECT_EQ(testing::Show("tools shown at the name", toolsShownAtName, "ends", ends,
                            "settings button", window->Shell().menu.chkSet.Value, "stored", stored),
              "tools shown at the name=false\nends=1\nsettings button=0\nstored=1\n");
}

// The side windows: shown by their buttons, keeping the keys on the game, docked by "Auto".
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
