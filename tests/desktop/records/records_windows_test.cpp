// The game-over windows: the name asked for, the new-game question.
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

// A key held down as the game ends reaches its windows as auto-repeats, or as a release and a
// press of one time that Qt did not pair.
void Held(QWidget* to, int key, bool flagged) {
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, flagged);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, flagged);
    release.setTimestamp(1000);
    press.setTimestamp(1000);
    QApplication::sendEvent(to, &release);
    QApplication::sendEvent(to, &press);
}

// Held keys neither type over the preselected name nor answer either window, and Esc (the
// pause key) is no way out of them; keys pressed anew type the name as ever.
TEST_F(MainWindow, AGameEndsWithANameStoredAndANewGameWhateverKeysWereHeld) {
    window->Shell().Set_chkRec(1);
    QStringList seen;
    WhenModal([&](QWidget* name) {
        auto* dialog = static_cast<FrmEnterName*>(name);
        seen << static_cast<QLabel*>(window->Control("lblScore"))->text();  // shown already
        Held(dialog->txtName(), Qt::Key_Space, true);
        Held(dialog->txtName(), Qt::Key_Left, false);
        Held(dialog->txtName(), Qt::Key_Return, true);
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
            Held(question->focusWidget(), Qt::Key_Space, true);
            QTest::keyClick(question, Qt::Key_Escape);
            seen << (question->isVisible() ? "asked" : "gone");
            Click(question, "cmdYes");
        });
    });
    testing::LandOnNextTick(game(), 300, true);  // the next landing ends the game
    window->OnFallTick();
    EXPECT_EQ(seen.join(' ').toStdString(), "300 UnNamed open asked");
    // The typed name, the score with the table's mark and the result's identity behind it.
    const RecordTable stored = ParseRecords(ReadFileBytes(folder.File(kRecordsFileName)).bytes);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].Name, "ЮляЖabcdef");
    EXPECT_EQ(stored[0].Score, 300);
    EXPECT_EQ(stored[0].Id.size(), 16u);
    EXPECT_EQ(stored[1], (RecordEntry{"Borkin", 0}));
    QListWidget* table = window->Fathers()->List();  // side windows stay open
    ASSERT_EQ(table->count(), 2);
    EXPECT_EQ(testing::Show("first line", table->item(0)->text().toStdString(), "best shown",
                            window->Fathers()->isVisible(), "ends", ends, "place", game().Position,
                            "S", game().scores.Score),
              "first line=1. ЮляЖabcdef     300\nbest shown=true\nends=0\nplace=2\nS=0\n");
}

}  // namespace
}  // namespace vorblin
