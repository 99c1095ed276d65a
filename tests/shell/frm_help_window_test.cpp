#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "game/figures.h"
#include "shell/frm_help_window.h"
#include "shell/frm_main_window.h"
#include "support/fakes.h"
#include "toolkit/caption_frame.h"
#include "toolkit/twips.h"

namespace vorblin {
namespace {

// The back colour a widget of the main window shows.
Colour ShownBack(const QWidget* widget) {
    if (const auto* button = dynamic_cast<const ColourButton*>(widget))
        return button->BackColor();
    if (const auto* frame = dynamic_cast<const CaptionFrame*>(widget))
        return frame->BackColor();
    if (const auto* box = dynamic_cast<const PictureBox*>(widget))
        return box->BackColor();
    const QColor c = widget->palette().color(QPalette::Window);
    return RGB(c.red(), c.green(), c.blue());
}

// Hands every help page the tour opens to `onPage` (numbered from 0, the first page),
// which must close it one way or another.
class TourDriver {
  public:
    explicit TourDriver(std::function<void(int, FrmHelp*)> onPage) : onPage_(std::move(onPage)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(1);
    }
    int pages = 0;

  private:
    void Poll() {
        auto* help = dynamic_cast<FrmHelp*>(QApplication::activeModalWidget());
        if (busy_ || help == nullptr || !help->isVisible())
            return;
        busy_ = true;
        onPage_(pages++, help);
        busy_ = false;
    }
    std::function<void(int, FrmHelp*)> onPage_;
    QTimer timer_;
    bool busy_ = false;
};

QPushButton* HelpButton(FrmHelp* help, const char* name) {
    return help->findChild<QPushButton*>(name);
}

class HelpTourWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->SetProgramEnd([] {});
        window->move(400, 100);
        window->show();
        QApplication::setActiveWindow(window.get());
        window->Well()->setFocus();
    }
    Game& game() { return window->Shell().game; }
    QWidget* Control(const char* name) { return window->Control(name); }
    std::vector<std::string> Blue() {
        std::vector<std::string> blue;
        for (const ControlSpec& item : FrmMainLayout())
            if (ShownBack(window->Control(std::string(item.name))) == kHelpHighlight)
                blue.emplace_back(item.name);
        return blue;
    }
    Colour TableBack() {
        const QColor c = window->Fathers()->List()->palette().color(QPalette::Base);
        return RGB(c.red(), c.green(), c.blue());
    }
    void PressHelp() { QTest::mouseClick(Control("chkHelp"), Qt::LeftButton); }

    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    testing::TempFolder folder;
    std::unique_ptr<FrmMain> window;
};

TEST_F(HelpTourWindows, TheFullTourShowsEveryControlBlueWithItsTagAndReleasesHelp) {
    struct Seen {
        QString text;
        std::vector<std::string> blue;
        Colour table;
        bool helpDown;
        QPoint topRight;
    };
    std::vector<Seen> seen;
    int heightUnrolled = 0;
    bool ticking = false;
    TourDriver driver([&](int page, FrmHelp* help) {
        if (page == 0) {  // once: the window unrolls while the game runs on
            int ticks = 0;
            window->SetTickObserver([&](int64_t) { ++ticks; });
            EXPECT_TRUE(QTest::qWaitFor([&] { return !help->Unroll().tmrResize.Enabled; }, 10000));
            window->SetTickObserver(nullptr);
            heightUnrolled = help->frameGeometry().height() * kTwipsPerPixel;
            ticking = ticks > 0;
            EXPECT_EQ(help->windowTitle(), QString::fromUtf8("Справка"));
            EXPECT_EQ(help->objectName(), "frmHelp");
            EXPECT_EQ(help->width(), TwipsToPixels(3480));
            EXPECT_TRUE(help->findChild<QPlainTextEdit*>("txtText")->isReadOnly());
            EXPECT_FALSE(window->Fathers()->isVisible());  // marked, not shown
        }
        seen.push_back({help->findChild<QPlainTextEdit*>("txtText")->toPlainText(), Blue(),
                        TableBack(), static_cast<QPushButton*>(Control("chkHelp"))->isChecked(),
                        help->frameGeometry().topRight() + QPoint(1, 0)});
        QTest::mouseClick(HelpButton(help, "cmdNext"), Qt::LeftButton);
    });
    PressHelp();

    ASSERT_EQ(seen.size(), 35u);
    EXPECT_EQ(seen[0].text, QString::fromUtf8(kHelpFirstPage.data(),
                                              static_cast<qsizetype>(kHelpFirstPage.size())));
    EXPECT_EQ(seen[0].table, kHelpTableMark);
    EXPECT_TRUE(seen[0].blue.empty());
    size_t page = 1;
    for (const ControlSpec& item : FrmMainLayout()) {
        if (LeftOutOfHelpTour(item.name))
            continue;
        ASSERT_LT(page, seen.size());
        EXPECT_EQ(seen[page].blue, std::vector<std::string>{std::string(item.name)});
        EXPECT_EQ(seen[page].text.toStdString(), item.tag) << item.name;
        EXPECT_EQ(seen[page].table, kBlack) << item.name;
        ++page;
    }
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.helpDown);
        EXPECT_EQ(s.topRight, window->frameGeometry().topLeft());
    }
    EXPECT_GT(heightUnrolled, kHelpUnrolledHeight);
    EXPECT_LE(heightUnrolled, kHelpUnrolledHeight + kHelpUnrollStep + kTwipsPerPixel);
    EXPECT_TRUE(ticking);

    EXPECT_TRUE(Blue().empty());
    EXPECT_EQ(TableBack(), kBlack);
    EXPECT_FALSE(static_cast<QPushButton*>(Control("chkHelp"))->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
}

TEST_F(HelpTourWindows, ClosingOnTheFirstPageEndsTheTourWithNothingHighlighted) {
    window->move(0, 0);  // no room on the left: the window stays on the screen all the same
    TourDriver driver([&](int, FrmHelp* help) {
        QTest::keyClick(help, Qt::Key_Escape);  // not a way out
        ASSERT_TRUE(help->isVisible());
        EXPECT_TRUE(window->screen()->availableGeometry().contains(help->frameGeometry().topLeft() +
                                                                   QPoint(0, TwipsToPixels(3100))));
        QTest::mouseClick(HelpButton(help, "cmdClose"), Qt::LeftButton);
    });
    PressHelp();
    EXPECT_EQ(driver.pages, 1);
    EXPECT_TRUE(Blue().empty());
    EXPECT_EQ(TableBack(), kBlack);
    EXPECT_FALSE(static_cast<QPushButton*>(Control("chkHelp"))->isChecked());
}

TEST_F(HelpTourWindows, TheCloseBoxOnAControlPageRestoresItAndTheKeysSteerAtOnce) {
    Colour shownOnPage = kBlack;
    TourDriver driver([&](int page, FrmHelp* help) {
        if (page < 3) {
            HelpButton(help, "cmdNext")->click();
            return;
        }
        shownOnPage = ShownBack(Control("cmdDown"));
        help->close();
    });
    PressHelp();
    EXPECT_EQ(driver.pages, 4);
    EXPECT_EQ(shownOnPage, kHelpHighlight);
    EXPECT_EQ(ShownBack(Control("cmdDown")), game().pad.ColorButtons);
    EXPECT_TRUE(Blue().empty());
    EXPECT_FALSE(static_cast<QPushButton*>(Control("chkHelp"))->isChecked());
    // The main window is the active one again, the keys reaching the game from the well.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
    const int posX = game().board.PosX;
    QTest::keyClick(window->Well(), Qt::Key_Left);
    EXPECT_EQ(game().board.PosX, posX - 1);
}

TEST_F(HelpTourWindows, GameOverDuringAPageClosesTheWindowAndEndsTheTour) {
    bool helpShownAtName = true;
    TourDriver driver([&](int page, FrmHelp* help) {
        if (page < 2) {
            HelpButton(help, "cmdNext")->click();
            return;
        }
        // The game runs on under the window: the next landing ends it.
        QTimer::singleShot(0, [&] {
            QWidget* name = QApplication::activeModalWidget();
            helpShownAtName = help->isVisible();
            name->close();
            QTimer::singleShot(0, [] {
                QApplication::activeModalWidget()->findChild<QPushButton*>("cmdYes")->click();
            });
        });
        testing::LandOnNextTick(game(), 300, true);
        window->OnFallTick();
    });
    PressHelp();
    EXPECT_EQ(driver.pages, 3);
    EXPECT_FALSE(helpShownAtName);
    EXPECT_EQ(game().scores.Score, 0);  // a new game
    EXPECT_TRUE(Blue().empty());
    EXPECT_FALSE(static_cast<QPushButton*>(Control("chkHelp"))->isChecked());
}

}  // namespace
}  // namespace vorblin
