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

// Keys held down as the game ends reach its windows as auto-repeats, or as a release and a
// press of one time that Qt did not pair: they neither type over the preselected name nor
// answer the question. Keys pressed anew type as ever.
TEST_F(MainWindow, KeysHeldThroughTheGamesEndLeaveTheNameAndTheQuestionAlone) {
    const auto held = [](QWidget* to, int key, bool flagged) {
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, flagged);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, flagged);
        release.setTimestamp(1000);
        press.setTimestamp(1000);
        QApplication::sendEvent(to, &release);
        QApplication::sendEvent(to, &press);
    };
    QStringList seen;
    WhenModal([&](QWidget* name) {
        auto* dialog = static_cast<FrmEnterName*>(name);
        held(dialog->txtName(), Qt::Key_Space, true);
        held(dialog->txtName(), Qt::Key_Left, false);
        held(dialog->txtName(), Qt::Key_Return, true);
        seen << dialog->txtName()->selectedText() << (dialog->isVisible() ? "open" : "gone");
        QTest::keyClicks(dialog->txtName(), "Bot");
        QTest::keyClick(dialog->txtName(), Qt::Key_Return);
        WhenModal([&](QWidget* question) {
            held(question->focusWidget(), Qt::Key_Return, true);
            held(question->focusWidget(), Qt::Key_Space, true);
            seen << (question->isVisible() ? "asked" : "gone");
            Click(question, "cmdNo");
        });
    });
    testing::LandOnNextTick(game(), 300, true);
    window->OnFallTick();
    EXPECT_EQ(seen.join(' ').toStdString(), "UnNamed open asked");
    const RecordTable stored = ParseRecords(ReadFileBytes(folder.File(kRecordsFileName)).bytes);
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored[0].Name, "Bot");
}

}  // namespace
}  // namespace vorblin
