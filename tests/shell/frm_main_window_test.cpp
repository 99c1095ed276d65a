// The windows' own share, driven as the player drives them: routing input, the fall clock,
// the dialogs, the side windows and the help tour. The rules are the core's tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "records/frm_game_over_windows.h"
#include "shell/frm_main_window.h"
#include "support/fakes.h"
#include "toolkit/text_file.h"

namespace vorblin {
namespace {

// Runs `act` on the modal window once it is open (the tick that ended the game waits in it).
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
}

void Click(QWidget* window, const char* button) {
    window->findChild<QPushButton*>(button)->click();
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->SetProgramEnd([this] { ++ends; });
        window->show();
        QApplication::setActiveWindow(window.get());
        window->Well()->setFocus();
    }
    Game& game() { return window->Shell().game; }
    ColourButton* Button(const char* name) {
        return static_cast<ColourButton*>(window->Control(name));
    }
    // The next landing ends the game with the shown score S.
    void EndGameWithScore(int32_t S) {
        testing::LandOnNextTick(game(), S, true);
        window->OnFallTick();
    }
    // Presses help and hands every page the tour shows to `onPage` (numbered from 0, the
    // first page) until the tour ends; gives the number of pages.
    int Tour(const std::function<void(int, FrmHelp*)>& onPage) {
        int pages = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* help = dynamic_cast<FrmHelp*>(QApplication::activeModalWidget());
            if (help != nullptr && help->isVisible())
                onPage(pages++, help);
        });
        poll.start(1);
        QTest::mouseClick(Button("chkHelp"), Qt::LeftButton);
        return pages;
    }

    testing::TempFolder folder;   // the hall of fame's and the settings file's
    testing::ScriptedRandom rnd;  // every draw 0: ordinary figures of shape 0
    testing::FixedClock clock;
    std::unique_ptr<FrmMain> window;
    int ends = 0;
};

TEST_F(MainWindow, AKeyActsAtOnceAfterTheTicksDueBeforeItFromAnyControl) {
    // No event is processed meanwhile: the ticks of these 40 ms are owed.
    const int16_t ticksBefore = game().scores.TimeTicks;
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    QTest::keyPress(window->Well(), Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, 8);                       // within the same call
    EXPECT_GE(game().scores.TimeTicks - ticksBefore, 19);  // and after the owed ticks
    EXPECT_TRUE(window->FallWake().isActive());  // the window sleeps until the next change
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

TEST_F(MainWindow, PadButtonsActOncePerPressOfAnyMouseButton) {
    game().tmrDown.Enabled = false;  // the figure stays where it is while the mouse works
    window->Sync();
    struct Pad {
        const char* name;
        Colour pressed;
        void (*action)(Game&);
    };
    const Pad pads[] = {
        {"cmdLeftRight(0)", kPressedMove, [](Game& g) { g.cmdLeftRight_MouseDown(0); }},
        {"cmdRotate(0)", kPressedTurn, [](Game& g) { g.cmdRotate_MouseDown(0); }},
    };
    for (const Pad& pad : pads) {
        SCOPED_TRACE(pad.name);
        ColourButton* button = Button(pad.name);
        // Where the figure stands after n presses from now (shape 0 looks different after
        // every turn).
        const auto after = [&](int n) {
            const Board saved = game().board;
            for (int i = 0; i < n; ++i)
                pad.action(game());
            const auto result = std::pair{game().board.PosX, game().board.Figura};
            game().board = saved;
            return result;
        };
        // Dragged off and back on while held: one press, the colour restored on the release.
        const QPoint inside = button->rect().center(), outside(-30, -30);
        auto expected = after(1);
        QTest::mousePress(button, Qt::LeftButton, {}, inside);
        for (const QPoint at : {outside, inside, outside})
            QTest::mouseMove(button, at);
        EXPECT_EQ(button->BackColor(), pad.pressed);
        QTest::mouseRelease(button, Qt::LeftButton, {}, outside);
        EXPECT_EQ(after(0), expected);
        EXPECT_EQ(button->BackColor(), game().pad.ColorButtons);
        // Other buttons press too; a double click is two presses.
        expected = after(4);
        QTest::mouseClick(button, Qt::RightButton);
        QTest::mouseClick(button, Qt::MiddleButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseDClick(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(after(0), expected);
        EXPECT_EQ(button->BackColor(), game().pad.ColorButtons);
        EXPECT_EQ(QApplication::focusWidget(), window->Well());
    }
}

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
        QTest::keyClick(dialog, Qt::Key_Return);  // Enter anywhere
        WhenModal([&](QWidget* question) {
            QTest::keyClick(question, Qt::Key_Escape);  // ignored: Esc is the pause key
            seen << (question->isVisible() ? "asked" : "gone");
            Click(question, "cmdYes");
        });
    });
    EndGameWithScore(300);
    EXPECT_EQ(seen, (QStringList{"300", "UnNamed", "asked"}));
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes,
              "\xDE\xEB\xFF\xC6"
              "abcdef\r\n 300\r\nBorkin\r\n 0\r\n");
    QListWidget* table = window->Fathers()->List();
    ASSERT_EQ(table->count(), 2);
    EXPECT_EQ(table->item(0)->text(), QString::fromUtf8("1. ЮляЖabcdef     300"));
    EXPECT_TRUE(window->Fathers()->isVisible());  // side windows stay open
    EXPECT_EQ(testing::Seen(ends, game().Position, game().scores.Score), "0|2|0|");
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
            EndGameWithScore(300);
        });
        Click(settings, "cmdOpen");
    });
    window->Shell().Set_chkSet(1);
    EXPECT_FALSE(toolsShownAtName);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes, "Borkin\r\n 0\r\n");
    EXPECT_EQ(window->Shell().menu.chkSet.Value, 0);
}

TEST_F(MainWindow, SideWindowsFollowTheButtonsKeepTheKeysOnTheGameAndDock) {
    game().lstStatistic.AddItem("1. +12");
    window->Shell().Set_chkStat(1);
    window->Sync();
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    EXPECT_TRUE(window->Well()->hasFocus());
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, 8);
    window->Statistic()->close();  // hidden; its button keeps its value
    EXPECT_FALSE(window->Statistic()->isVisible());
    EXPECT_EQ(window->Shell().menu.chkStat.Value, 1);
    window->Shell().Set_chkStat(0);
    window->Shell().Set_chkStat(1);
    ASSERT_TRUE(window->Statistic()->isVisible() && list->count() == 1);
    EXPECT_EQ(list->item(0)->text(), "1. +12");
    // The future window is unloaded on close and comes back blank.
    window->Shell().Set_chkFuture(1);
    window->Future()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window->Shell().Set_chkFuture(0);
    window->Shell().Set_chkFuture(1);
    ASSERT_NE(window->Future(), nullptr);
    EXPECT_EQ(window->Future()->Surface().Image().pixel(20, 20) & 0xFFFFFF, 0x404040u);

    // Docked, every side window is shown and the keys stay on the game.
    QTest::mouseClick(Button("chkAuto"), Qt::LeftButton);
    EXPECT_TRUE(window->Fathers()->isVisible() && window->Future()->isVisible());
    EXPECT_TRUE(window->Well()->hasFocus());
}

TEST_F(MainWindow, TheHelpTourShowsEveryControlsTagAndGivesTheKeysBack) {
    std::vector<std::string> texts;
    Tour([&](int, FrmHelp* help) {
        EXPECT_TRUE(Button("chkHelp")->isChecked());
        texts.push_back(help->findChild<QPlainTextEdit*>("txtText")->toPlainText().toStdString());
        Click(help, "cmdNext");
    });
    std::vector<std::string> tags{std::string(kHelpFirstPage)};
    for (const ControlSpec& item : FrmMainLayout())
        if (!LeftOutOfHelpTour(item.name))
            tags.emplace_back(item.tag);
    EXPECT_EQ(texts, tags);
    EXPECT_FALSE(Button("chkHelp")->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
}

TEST_F(MainWindow, ClosingTheHelpWindowEndsTheTourAndGivesTheKeysBack) {
    window->move(0, 0);  // no room on the left: the window stays on the screen all the same
    Colour shownOnPage = kBlack;
    const int pages = Tour([&](int page, FrmHelp* help) {
        if (page == 0) {
            QTest::keyClick(help, Qt::Key_Escape);  // not a way out
            EXPECT_TRUE(help->isVisible() && window->screen()->availableGeometry().contains(
                                                 help->frameGeometry().bottomLeft()));
        }
        if (page < 3)
            return Click(help, "cmdNext");
        shownOnPage = Button("cmdDown")->BackColor();
        help->close();  // on the drop button's page
    });
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(shownOnPage, kHelpHighlight);
    EXPECT_EQ(Button("cmdDown")->BackColor(), game().pad.ColorButtons);
    EXPECT_FALSE(Button("chkHelp")->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
    QTest::keyClick(window->Well(), Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, 8);
}

}  // namespace
}  // namespace vorblin
