#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "records/frm_game_over_windows.h"
#include "shell/frm_main_window.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"
#include "toolkit/twips.h"

namespace vorblin {
namespace {

// Runs `act` on the modal window once it is open (the tick that ended the game waits in it).
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

void TypeText(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

class RecordsWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->SetProgramEnd([this] { ++ends; });
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    Game& game() { return window->Shell().game; }
    // The next landing ends the game with the shown score S.
    void EndGameWithScore(int32_t S) {
        testing::LandOnNextTick(game(), S, true);
        window->OnFallTick();
    }
    QStringList Lines(QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    testing::TempFolder folder;
    std::unique_ptr<FrmMain> window;
    int ends = 0;
};

TEST_F(RecordsWindows, AGameEndsWithANameAndANewGame) {
    window->Shell().Set_chkRec(1);
    QStringList seen;
    WhenModal([&](QWidget* name) {
        auto* dialog = static_cast<FrmEnterName*>(name);
        seen << static_cast<QLabel*>(window->Control("lblScore"))->text()  // shown already
             << dialog->windowTitle() << dialog->findChild<QLabel*>("lblEnterName")->text()
             << dialog->txtName()->selectedText();
        TypeText(dialog->txtName(), QString::fromUtf8("Юля\tЖ\n中"));  // controls, not CP1251
        QTest::keyClick(dialog, Qt::Key_Return);                       // Enter anywhere
        WhenModal([&](QWidget* question) {
            seen << question->findChild<QLabel*>("lblGameOver")->text()
                 << question->findChild<QLabel*>("lblNewGame")->text();
            QTest::keyClick(question, Qt::Key_Escape);  // ignored: Esc is the pause key
            ASSERT_TRUE(question->isVisible());
            question->findChild<QPushButton*>("cmdYes")->click();
        });
    });
    EndGameWithScore(300);
    EXPECT_EQ(seen,
              (QStringList{"300", "Vorblin Cascade", QString::fromUtf8("Введите Ваше имя"),
                           "UnNamed", "Game Over !", QString::fromUtf8("Начать новую игру ?")}));
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes,
              "\xDE\xEB\xFF\xC6\r\n 300\r\nBorkin\r\n 0\r\n");  // Windows-1251
    EXPECT_EQ(Lines(window->Fathers()->List()),
              (QStringList{QString::fromUtf8("1. ЮляЖ           300"), "2. Borkin         0"}));
    EXPECT_TRUE(window->Fathers()->isVisible());  // side windows stay open
    EXPECT_EQ(game().Position, 2);
    EXPECT_EQ(game().scores.Score, 0);
}

TEST_F(RecordsWindows, ClosingTheNameWindowStoresNothingAndNoEndsTheProgram) {
    WhenModal([&](QWidget* name) {
        name->close();
        WhenModal([&](QWidget* question) { question->findChild<QPushButton*>("cmdNo")->click(); });
    });
    EndGameWithScore(300);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes, "Borkin\r\n 0\r\n");
}

TEST_F(RecordsWindows, AGameEndingUnderTheSettingsWindowClosesItFirst) {
    QDialog settings(window.get());
    settings.setObjectName("frmSettings");
    bool settingsShownAtName = true;
    WhenModal([&](QWidget*) {  // the settings window is open; the game runs on under it
        WhenModal([&](QWidget* name) {
            settingsShownAtName = settings.isVisible();
            name->close();
            WhenModal(
                [](QWidget* question) { question->findChild<QPushButton*>("cmdYes")->click(); });
        });
        EndGameWithScore(300);
    });
    settings.exec();
    EXPECT_FALSE(settingsShownAtName);
    EXPECT_EQ(settings.result(), QDialog::Rejected);
}

TEST_F(RecordsWindows, TheNameWindowTakesTenCharactersAndEnterKeepsTheDefault) {
    FrmEnterName dialog(window.get());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.Result().PlayerName, "UnNamed");
    EXPECT_FALSE(dialog.Result().bCancelRecord);

    FrmEnterName longer(window.get());
    longer.show();
    QTest::keyClicks(longer.txtName(), "abcdefghijklmn");
    EXPECT_EQ(longer.txtName()->text(), "abcdefghij");
    longer.txtName()->clear();
    QTest::keyClick(&longer, Qt::Key_Enter);
    EXPECT_EQ(longer.Result().PlayerName, "");  // the flow puts the date in
}

TEST_F(RecordsWindows, ListWindowsHideOnCloseTheFutureComesBackEmpty) {
    window->Shell().Set_chkRec(1);
    game().lstStatistic.AddItem("1. +12");
    window->Shell().Set_chkStat(1);
    window->Sync();
    window->Statistic()->close();
    EXPECT_FALSE(window->Statistic()->isVisible());
    EXPECT_EQ(window->Shell().menu.chkStat.Value, 1);  // the button keeps its value
    window->Shell().Set_chkStat(0);
    window->Shell().Set_chkStat(1);
    EXPECT_TRUE(window->Statistic()->isVisible());
    EXPECT_EQ(Lines(window->Statistic()->List()), QStringList{"1. +12"});

    window->Shell().Set_chkFuture(1);
    ASSERT_NE(window->Future(), nullptr);
    const QImage drawn = window->Future()->Surface().Image();
    window->Future()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->Future(), nullptr);
    window->Shell().Set_chkFuture(0);
    window->Shell().Set_chkFuture(1);
    ASSERT_NE(window->Future(), nullptr);
    const QImage fresh = window->Future()->Surface().Image();
    EXPECT_NE(fresh, drawn);
    EXPECT_EQ(fresh.pixel(20, 20) & 0xFFFFFF, 0x404040u);
    EXPECT_EQ(fresh.pixel(fresh.width() / 2, fresh.height() / 2) & 0xFFFFFF, 0x404040u);
}

TEST_F(RecordsWindows, ClicksInASideWindowKeepTheArrowsOnTheGame) {
    window->Shell().Set_chkStat(1);
    window->Sync();
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    EXPECT_TRUE(window->Well()->hasFocus());
    const int x = game().board.PosX;
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, x - 1);
}

TEST_F(RecordsWindows, AutoDocksBesideTheMainWindow) {
    window->move(30, 40);
    QTest::mouseClick(window->Control("chkAuto"), Qt::LeftButton);
    const QRect main = window->frameGeometry();
    const QRect future = window->Future()->frameGeometry();
    const QRect fathers = window->Fathers()->frameGeometry();
    const QRect stat = window->Statistic()->frameGeometry();
    // In twips of the frames: 20 apart, the hall of fame bottom-aligned with the main window.
    const auto px = [](int twips) { return TwipsToPixels(twips); };
    const int right = main.left() * 15 + 7125;
    EXPECT_EQ(future.topLeft(), QPoint(px(right + 20), main.top()));
    EXPECT_EQ(stat.topLeft(), QPoint(px(right + future.width() * 15 + 40), main.top()));
    EXPECT_EQ(fathers.topLeft(),
              QPoint(px(right + 20), px(main.top() * 15 + 9210 - fathers.height() * 15)));
    EXPECT_EQ(fathers.bottom(), main.bottom());
    EXPECT_TRUE(future.isValid() && window->Future()->isVisible());
    EXPECT_TRUE(window->Fathers()->isVisible() && window->Statistic()->isVisible());
    EXPECT_FALSE(static_cast<QPushButton*>(window->Control("chkAuto"))->isChecked());
    for (const char* name : {"chkRec", "chkStat", "chkFuture"})
        EXPECT_TRUE(static_cast<QPushButton*>(window->Control(name))->isChecked()) << name;
    EXPECT_TRUE(window->Well()->hasFocus());
}

}  // namespace
}  // namespace vorblin
