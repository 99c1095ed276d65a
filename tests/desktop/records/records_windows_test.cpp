// The hall of fame's windows: the name and new-game questions, the side windows.
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "core/base/text_file.h"
#include "desktop/records/frm_game_over_windows.h"
#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::MainWindow;
using testing::WhenModal;

TEST_F(MainWindow, AGameEndsWithANameStoredAndANewGame) {
    window->Shell().Set_chkRec(1);
    QStringList seen;
    WhenModal([&](QWidget* name) {
        auto* dialog = static_cast<FrmEnterName*>(name);
        seen << static_cast<QLabel*>(window->Control("lblScore"))->text()  // shown already
             << dialog->txtName()->selectedText();
        // Controls and what Windows-1251 cannot hold are left out; ten characters at most.
        for (const QChar c : QString::fromUtf8("Юля\tЖ\n中abcdefghij")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(dialog->txtName(), &press);
        }
        QTest::keyClick(dialog, Qt::Key_Escape);  // the pause key: not a way out
        seen << (dialog->isVisible() ? "open" : "gone");
        QTest::keyClick(dialog, Qt::Key_Return);  // Enter anywhere
        WhenModal([&](QWidget* question) {
            QTest::keyClick(question, Qt::Key_Escape);  // ignored: Esc is the pause key
            seen << (question->isVisible() ? "asked" : "gone");
            Click(question, "cmdYes");
        });
    });
    testing::LandOnNextTick(game(), 300, true);  // the next landing ends the game
    window->OnFallTick();
    EXPECT_EQ(seen, (QStringList{"300", "UnNamed", "open", "asked"}));
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes,
              "\xDE\xEB\xFF\xC6"
              "abcdef\r\n 300\r\nBorkin\r\n 0\r\n");
    QListWidget* table = window->Fathers()->List();  // side windows stay open
    ASSERT_EQ(table->count(), 2);
    EXPECT_EQ(SEEN(table->item(0)->text().toStdString(), window->Fathers()->isVisible(), ends,
                   game().Position, game().scores.Score),
              "table->item(0)->text().toStdString()=1. ЮляЖabcdef     300\n"
              "window->Fathers()->isVisible()=true\nends=0\ngame().Position=2\n"
              "game().scores.Score=0\n");
}

TEST_F(MainWindow, SideWindowsFollowTheButtonsKeepTheKeysOnTheGameAndDock) {
    QTest::mouseClick(Button("chkStat"), Qt::LeftButton);
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(SEEN(window->Well()->hasFocus(), +game().board.PosX),
              "window->Well()->hasFocus()=true\n+game().board.PosX=8\n");
    window->Statistic()->close();  // by its close box
    // Only the shown ones follow the main window: under X11 a state change would map the
    // hidden ones on the restore.
    QTest::mouseClick(Button("chkRec"), Qt::LeftButton);
    window->showMinimized();
    const bool fathersMinimized = window->Fathers()->isMinimized();
    const int statisticState = window->Statistic()->windowState().toInt();
    window->showNormal();
    EXPECT_EQ(SEEN(fathersMinimized, statisticState, window->Fathers()->isMinimized(),
                   window->Statistic()->windowState().toInt(), window->Statistic()->isVisible()),
              "fathersMinimized=true\nstatisticState=0\nwindow->Fathers()->isMinimized()=false\n"
              "window->Statistic()->windowState().toInt()=0\n"
              "window->Statistic()->isVisible()=false\n");
    // Docked, the side windows are shown (which, the core's tests) and the keys stay on the game.
    QTest::mouseClick(Button("chkAuto"), Qt::LeftButton);
    EXPECT_TRUE(window->Future()->isVisible() && window->Well()->hasFocus());
}

}  // namespace
}  // namespace vorblin
