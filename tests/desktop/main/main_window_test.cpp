// The main window as the player drives it: keys, mouse, the fall clock, its outline, and the
// windows it hosts (the help tour, the game-over windows, the side windows).
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <filesystem>

#include "core/base/text_file.h"
#include "desktop/records/frm_game_over_windows.h"
#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::MainWindow;
using testing::Show;
using testing::WhenModal;

TEST_F(MainWindow, AKeyActsAtOnceAfterTheTicksDueBeforeItFromAnyControlOrWindow) {
    // No event is processed meanwhile: the ticks of these 40 ms are owed.
    const int16_t ticksBefore = game().scores.TimeTicks;
    QTest::qSleep(40);
    QTest::keyPress(window->Well(), Qt::Key_Left);
    EXPECT_EQ(int{game().board.PosX}, 8);
    EXPECT_GE(game().scores.TimeTicks - ticksBefore, 19);
    EXPECT_TRUE(window->FallWake().isActive());  // asleep until the next change
    // Held down: repeated presses act, repeated releases leave the button pressed.
    for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent repeated(type, Qt::Key_Left, Qt::NoModifier, {}, true);
        QApplication::sendEvent(window->Well(), &repeated);
    }
    EXPECT_TRUE(game().board.PosX == 7 && Button("cmdLeftRight(0)")->BackColor() == kGreen);
    QTest::keyRelease(window->Well(), Qt::Key_Left);
    EXPECT_EQ(Button("cmdLeftRight(0)")->BackColor(), game().pad.ColorButtons);
    // Keys in a side window steer the game too, and the keyboard goes back to the well.
    QTest::mouseClick(Button("chkStat"), Qt::LeftButton);
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_TRUE(window->Well()->hasFocus() && game().board.PosX == 6);
    Button("chkStat")->setFocus();
    QTest::keyClick(Button("chkStat"), Qt::Key_Escape);  // pauses: the fall clock stops
    EXPECT_TRUE(Button("chkPause")->isChecked() && !window->FallClock().Running());
}

// The table goes to the shared folder, the settings stay with the player; the window is cut
// to its panels; the title strip's icon is drawn as the menu's.
TEST(MainWindowStart, ASharedFolderTakesOnlyTheTableTheWindowItsOutlineAndIcon) {
    testing::TempFolder own, shared;
    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    FrmMain window(&rnd, &clock, own.path, shared.path);
    std::string files;
    for (const std::string& path :
         {shared.File(std::string(kRecordsFileName)), shared.File(kSettingsFileName),
          own.File(kSettingsFileName), own.File(std::string(kRecordsFileName))})
        files += std::filesystem::exists(path) ? "+" : "-";
    // The well's panel ends at x 262 with the gap beside it cut away; the strip spans the width.
    const QRegion outline = window.mask();
    // The landed figure's yellow in the icon's bottom-left cell.
    const QImage icon = window.windowIcon().pixmap(16, 16).toImage();
    EXPECT_EQ(Show("files", files, "panel", outline.contains({262, 300}), "gap",
                   outline.contains({263, 300}), "strip", outline.contains({window.width() - 1, 5}),
                   "icon", icon.pixelColor(1, 14).name().toStdString()),
              Show("files", "+-+-", "panel", true, "gap", false, "strip", true, "icon", "#ffff00"));
}

// Once per physical press of any mouse button, dragged off and back on or double clicked, and
// the keys stay on the well.
TEST_F(MainWindow, PadButtonsActOncePerPressOfAnyMouseButton) {
    game().tmrDown.Enabled = false;  // the figure stays where it is while the mouse works
    window->Sync();
    ColourButton* left = Button("cmdLeftRight(0)");
    QTest::mousePress(left, Qt::LeftButton, {}, left->rect().center());
    for (const QPoint at : {QPoint(-30, -30), left->rect().center(), QPoint(-30, -30)})
        QTest::mouseMove(left, at);
    QTest::mouseRelease(left, Qt::LeftButton, {}, QPoint(-30, -30));
    EXPECT_EQ(left->BackColor(), game().pad.ColorButtons);
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton})
        QTest::mouseClick(left, other);
    QTest::mouseDClick(left, Qt::LeftButton);
    QTest::mouseRelease(left, Qt::LeftButton);
    EXPECT_EQ(int{game().board.PosX}, 4);
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
}

// Esc is no way out of a page, each stands whole on the screen, and closing the window ends
// the tour with the control's highlight gone and the keys back on the game.
TEST_F(MainWindow, TheHelpTourStaysOnTheScreenAndEndsByClosing) {
    window->move(0, 0);  // no room on the left: the help window stays on the screen all the same
    Colour shownOnPage = kBlack;
    Tour([&](int page, FrmHelp* help) {
        QTest::keyClick(help, Qt::Key_Escape);
        EXPECT_TRUE(
            help->isVisible() && Button("chkHelp")->isChecked() &&
            window->screen()->availableGeometry().contains(help->frameGeometry().bottomLeft()));
        if (page < 3)
            return Click(help, "cmdNext");
        shownOnPage = Button("cmdDown")->BackColor();
        help->close();  // on the drop button's page
    });
    // (a page after the closed one would be seen here as a later control's highlight)
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
    EXPECT_EQ(Show("on its page", shownOnPage, "after", Button("cmdDown")->BackColor(), "help",
                   Button("chkHelp")->isChecked()),
              Show("on its page", kHelpHighlight, "after", game().pad.ColorButtons, "help", false));
}

// A key held down as the game ends reaches its windows as auto-repeats, or as a release and a
// press of one time (both the events' default) that Qt did not pair.
void Held(QWidget* to, int key, bool flagged) {
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, flagged);
    if (!flagged)
        QApplication::sendEvent(to, &release);
    QApplication::sendEvent(to, &press);
}

// Held keys neither type over the preselected name nor answer either window, and Esc (the
// pause key) is no way out of them; keys pressed anew type the name as ever.
TEST_F(MainWindow, AGameEndsWithANameStoredAndANewGameWhateverKeysWereHeld) {
    QStringList seen;
    WhenModal([&](QWidget* name) {
        auto* dialog = static_cast<FrmEnterName*>(name);
        Held(dialog->txtName(), Qt::Key_Space, true);
        Held(dialog->txtName(), Qt::Key_Left, false);
        QTest::keyClick(dialog, Qt::Key_Escape);
        seen << dialog->txtName()->selectedText() << (dialog->isVisible() ? "open" : "gone");
        // Controls and what Windows-1251 cannot hold are left out; ten characters at most.
        for (const QChar c : QString::fromUtf8("Юля\tЖ\n中abcdefghij")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(dialog->txtName(), &press);
        }
        QTest::keyClick(dialog, Qt::Key_Return);  // Enter anywhere
        WhenModal([&](QWidget* question) {
            Held(question->focusWidget(), Qt::Key_Return, true);
            QTest::keyClick(question, Qt::Key_Escape);
            seen << (question->isVisible() ? "asked" : "gone");
            Click(question, "cmdYes");
        });
    });
    testing::LandOnNextTick(game(), 300, true);  // the next landing ends the game
    window->OnFallTick();
    const RecordTable stored = ParseRecords(ReadFileBytes(folder.File(kRecordsFileName)).bytes);
    seen << QString::fromStdString(stored.at(0).Name);
    EXPECT_EQ(seen.join(' ').toStdString(), "UnNamed open asked ЮляЖabcdef");
}

}  // namespace
}  // namespace vorblin
