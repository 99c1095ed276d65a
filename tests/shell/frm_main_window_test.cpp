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
    // Presses help and hands every page the tour shows to `onPage` (numbered from 0, the
    // first page) until the tour ends.
    void Tour(const std::function<void(int, FrmHelp*)>& onPage) {
        int pages = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* help = dynamic_cast<FrmHelp*>(QApplication::activeModalWidget());
            if (help != nullptr && help->isVisible())
                onPage(pages++, help);
        });
        poll.start(1);
        QTest::mouseClick(Button("chkHelp"), Qt::LeftButton);
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
    QTest::qSleep(40);
    QTest::keyPress(window->Well(), Qt::Key_Left);
    // Moved within the same call after the owed ticks; the window sleeps until the next change.
    EXPECT_EQ(testing::Seen(+game().board.PosX, game().scores.TimeTicks - ticksBefore >= 19,
                            window->FallWake().isActive()),
              "8|1|1|");
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
    ColourButton* left = Button("cmdLeftRight(0)");
    // Dragged off and back on while held: one press, the colour restored on the release.
    const QPoint inside = left->rect().center(), outside(-30, -30);
    QTest::mousePress(left, Qt::LeftButton, {}, inside);
    for (const QPoint at : {outside, inside, outside})
        QTest::mouseMove(left, at);
    const Colour held = left->BackColor();
    QTest::mouseRelease(left, Qt::LeftButton, {}, outside);
    std::string seen = testing::Seen(held, +game().board.PosX, left->BackColor());
    // Other buttons press too; a double click is two presses.
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton})
        QTest::mouseClick(left, other);
    QTest::mouseDClick(left, Qt::LeftButton);
    QTest::mouseRelease(left, Qt::LeftButton);
    const FigureMatrix turned = game().board.Rotated();
    QTest::mouseClick(Button("cmdRotate(0)"), Qt::RightButton);
    seen += testing::Seen(+game().board.PosX, game().board.Figura == turned);
    EXPECT_EQ(seen, testing::Seen(kPressedMove, 8, game().pad.ColorButtons, 4, true));
    EXPECT_EQ(QApplication::focusWidget(), window->Well());
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
    testing::LandOnNextTick(game(), 300, true);  // the next landing ends the game
    window->OnFallTick();
    EXPECT_EQ(seen, (QStringList{"300", "UnNamed", "asked"}));
    EXPECT_EQ(ReadFileBytes(folder.File(kRecordsFileName)).bytes,
              "\xDE\xEB\xFF\xC6"
              "abcdef\r\n 300\r\nBorkin\r\n 0\r\n");
    QListWidget* table = window->Fathers()->List();  // side windows stay open
    ASSERT_EQ(table->count(), 2);
    EXPECT_EQ(testing::Seen(table->item(0)->text().toStdString(), window->Fathers()->isVisible(),
                            ends, game().Position, game().scores.Score),
              "1. ЮляЖabcdef     300|1|0|2|0|");
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
    EXPECT_EQ(testing::Seen(toolsShownAtName, ends, window->Shell().menu.chkSet.Value,
                            ReadFileBytes(folder.File(kRecordsFileName)).bytes),
              "0|1|0|Borkin\r\n 0\r\n|");
}

TEST_F(MainWindow, SideWindowsFollowTheButtonsKeepTheKeysOnTheGameAndDock) {
    QTest::mouseClick(Button("chkStat"), Qt::LeftButton);
    QListWidget* list = window->Statistic()->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(testing::Seen(window->Well()->hasFocus(), +game().board.PosX), "1|8|");
    window->Statistic()->close();  // its button keeps its value
    // Docked, every side window is shown and the keys stay on the game.
    QTest::mouseClick(Button("chkAuto"), Qt::LeftButton);
    EXPECT_EQ(testing::Seen(window->Shell().menu.chkStat.Value, window->Statistic()->isVisible(),
                            window->Fathers()->isVisible(), window->Future()->isVisible(),
                            window->Well()->hasFocus()),
              "1|1|1|1|1|");
}

// The tour ends after its last page (the help button springs up, so that a second tour starts)
// or when its window is closed, with the keys back on the game.
TEST_F(MainWindow, TheHelpTourShowsEveryControlsTagAndEndsByNextOrByClosing) {
    window->move(0, 0);  // no room on the left: the help window stays on the screen all the same
    std::vector<std::string> texts;
    Tour([&](int, FrmHelp* help) {
        QTest::keyClick(help, Qt::Key_Escape);  // not a way out
        EXPECT_TRUE(
            help->isVisible() && Button("chkHelp")->isChecked() &&
            window->screen()->availableGeometry().contains(help->frameGeometry().bottomLeft()));
        texts.push_back(help->findChild<QPlainTextEdit*>("txtText")->toPlainText().toStdString());
        Click(help, "cmdNext");
    });
    std::vector<std::string> tags{std::string(kHelpFirstPage)};
    for (const ControlSpec& item : FrmMainLayout())
        if (!LeftOutOfHelpTour(item.name))
            tags.emplace_back(item.tag);
    EXPECT_EQ(texts, tags);

    Colour shownOnPage = kBlack;
    Tour([&](int page, FrmHelp* help) {
        if (page < 3)
            return Click(help, "cmdNext");
        shownOnPage = Button("cmdDown")->BackColor();
        help->close();  // on the drop button's page
    });
    // (a page after the closed one would be seen here as a later control's highlight)
    EXPECT_EQ(testing::Seen(shownOnPage, Button("cmdDown")->BackColor()),
              testing::Seen(kHelpHighlight, game().pad.ColorButtons));
    EXPECT_FALSE(Button("chkHelp")->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
    QTest::keyClick(window->Well(), Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, 8);
}

}  // namespace
}  // namespace vorblin
