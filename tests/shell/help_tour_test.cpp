#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/frm_main_layout.h"
#include "shell/help_tour.h"
#include "shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

// What the tour had done when one page was shown.
struct PageSeen {
    std::string text;
    std::vector<std::string> blue;  // controls painted with the highlight colour
    Colour table = kBlack;
    int16_t chkHelp = 0;
    size_t sounds = 0;
    size_t wellOps = 0;
    int stateBlue = 0;  // highlighted colours among the states the window shows
};

// The main window's logic with a help window that records each page and is closed
// ("Закрыть") on the page numbered closeOn (0 the first page, -1 never).
struct TourRig {
    class Window final : public HelpWindow {
      public:
        explicit Window(TourRig& rig) : rig_(rig) {}
        void Show(std::string_view strText) override {
            rig_.pages.push_back(rig_.Snapshot(strText));
            blnClose = static_cast<int>(rig_.pages.size()) - 1 == rig_.closeOn;
        }

      private:
        TourRig& rig_;
    };
    class Host final : public ShellLink {
      public:
        explicit Host(TourRig& rig) : rig_(rig) {}
        void FocusWell() override { rig_.log.push_back("focus"); }
        void Minimize() override {}
        void RestoreAndActivate() override {}
        std::unique_ptr<HelpWindow> NewHelpWindow() override {
            rig_.log.push_back("new window");
            return std::make_unique<Window>(rig_);
        }

      private:
        TourRig& rig_;
    };

    TourRig() { shell.Form_Load(); }

    PageSeen Snapshot(std::string_view text) {
        PageSeen seen{std::string(text),
                      {},
                      shell.records.lstTable.BackColor,
                      shell.menu.chkHelp.Value,
                      sound.played.size(),
                      well.ops.size()};
        for (const ControlSpec& item : FrmMainLayout())
            if (shell.help.BackColor(item.name) == kHelpHighlight)
                seen.blue.emplace_back(item.name);
        const ControlPad& pad = shell.game.pad;
        const MainMenu& menu = shell.menu;
        for (const Colour c :
             {pad.cmdLeftRight[0].BackColor, pad.cmdLeftRight[2].BackColor, pad.cmdRotate.BackColor,
              pad.cmdDown.BackColor, pad.cmdSpace.BackColor, pad.chkPause.BackColor,
              menu.chkHelp.BackColor, menu.chkDemo.BackColor, menu.chkSet.BackColor,
              menu.chkAuto.BackColor, menu.chkFuture.BackColor, menu.chkRec.BackColor,
              menu.chkStat.BackColor})
            seen.stateBlue += c == kHelpHighlight ? 1 : 0;
        for (const auto& [name, c] : shell.help.backColours.All())
            seen.stateBlue += c == kHelpHighlight ? 1 : 0;
        return seen;
    }
    // Every control's back colour, in the layout's order.
    std::vector<Colour> Colours() {
        std::vector<Colour> colours;
        for (const ControlSpec& item : FrmMainLayout())
            colours.push_back(shell.help.BackColor(item.name));
        return colours;
    }

    testing::ScriptedRandom rnd;
    testing::FixedClock clock;
    testing::RecordingSurface well, next, future;
    testing::RecordingSound sound;
    Host host{*this};
    testing::ScriptedDialogs dialogs;
    testing::FakeSides sides;
    testing::TempFolder folder;
    MainShell shell{
        ShellParts{rnd, clock, well, next, future, sound, host, dialogs, sides, folder.path}};
    int closeOn = -1;
    std::vector<PageSeen> pages;
    std::vector<std::string> log;
};

// The tour's order as the player walks it.
const std::vector<std::string> kTourOrder = {
    "picVorblin",       "fraControl",       "cmdDown",          "cmdLeftRight(2)",
    "cmdLeftRight(0)",  "cmdRotate(0)",     "cmdSpace",         "lblPause",
    "frmMenu",          "chkSet",           "chkDemo",          "chkHelp",
    "chkPause",         "chkRec",           "chkStat",          "chkAuto",
    "chkFuture",        "fraScore",         "lblScore",         "fraLines",
    "lblCountLines(1)", "lblCountLines(2)", "lblCountLines(3)", "lblCountLines(4)",
    "picNext",          "lblFirma",         "lblSumBonus",      "lblLevel",
    "lblPosition",      "lblRemain",        "lblNextPlace",     "lblAutors",
    "lblTimeBonus",     "lblTotalScore"};

TEST(HelpTour, WalksEveryControlInOrderOnceWithItsTagAndReleasesHelp) {
    TourRig rig;
    const std::vector<Colour> before = rig.Colours();
    rig.shell.Set_chkHelp(1);

    ASSERT_EQ(rig.pages.size(), 35u);
    EXPECT_EQ(rig.pages[0].text, kHelpFirstPage);
    EXPECT_EQ(rig.pages[0].table, kHelpTableMark);
    EXPECT_TRUE(rig.pages[0].blue.empty());
    EXPECT_EQ(rig.pages[0].stateBlue, 0);
    std::vector<std::string> walked;
    for (size_t i = 1; i < rig.pages.size(); ++i) {
        const PageSeen& page = rig.pages[i];
        ASSERT_EQ(page.blue.size(), 1u) << i;  // its own colour came back before the next
        walked.push_back(page.blue[0]);
        EXPECT_EQ(page.stateBlue, 1) << i;
        EXPECT_EQ(page.table, kBlack) << i;
        EXPECT_EQ(page.chkHelp, 1) << i;
        EXPECT_EQ(page.sounds, i) << i;  // one before the first page, one after each
        for (const ControlSpec& item : FrmMainLayout())
            if (item.name == page.blue[0]) {
                EXPECT_EQ(page.text, item.tag) << i;
            }
    }
    EXPECT_EQ(walked, kTourOrder);
    EXPECT_EQ(rig.pages[32].text, kCreditsText);
    EXPECT_EQ(rig.pages[34].text, "Суммарный бонус за время.");

    EXPECT_EQ(rig.Colours(), before);
    EXPECT_EQ(rig.shell.records.lstTable.BackColor, kBlack);
    EXPECT_EQ(rig.sound.played.size(), 35u);
    EXPECT_EQ(rig.shell.menu.chkHelp.Value, 0);
    EXPECT_EQ(rig.log, (std::vector<std::string>{"new window", "focus", "focus"}));
}

TEST(HelpTour, ClosingEndsTheTourAfterTheCurrentControlIsRestored) {
    struct Case {
        int closeOn;  // page shown when "Закрыть" is pressed
        const char* control;
        size_t sounds;
    };
    for (const Case c : {Case{0, nullptr, 1}, Case{1, "picVorblin", 2}, Case{3, "cmdDown", 4},
                         Case{12, "chkHelp", 13}, Case{34, "lblTotalScore", 35}}) {
        TourRig rig;
        rig.closeOn = c.closeOn;
        const std::vector<Colour> before = rig.Colours();
        rig.shell.Set_chkHelp(1);
        EXPECT_EQ(rig.pages.size(), static_cast<size_t>(c.closeOn + 1)) << c.closeOn;
        if (c.control != nullptr) {
            EXPECT_EQ(rig.pages.back().blue, std::vector<std::string>{c.control});
        }
        EXPECT_EQ(rig.Colours(), before) << c.closeOn;
        EXPECT_EQ(rig.shell.records.lstTable.BackColor, kBlack) << c.closeOn;
        EXPECT_EQ(rig.sound.played.size(), c.sounds) << c.closeOn;
        EXPECT_EQ(rig.shell.menu.chkHelp.Value, 0) << c.closeOn;
        EXPECT_EQ(rig.log.back(), "focus") << c.closeOn;
    }
}

TEST(HelpTour, GivesBackTheColourAControlHadNotTheLayouts) {
    TourRig rig;
    Game& game = rig.shell.game;
    game.cmdLeftRight_MouseDown(0);  // green while held
    game.cmdDown_MouseDown();        // black until the landing
    rig.shell.help.backColours["lblScore"] = RGB(1, 2, 3);
    const std::vector<Colour> before = rig.Colours();
    rig.shell.Set_chkHelp(1);
    EXPECT_EQ(rig.Colours(), before);
}

TEST(HelpTour, RedrawsTheWellAfterItsPage) {
    TourRig rig;
    rig.shell.game.board.C(4, 30) = true;
    rig.shell.game.Position = 3;
    rig.shell.Set_chkHelp(1);

    testing::RecordingSurface expected;
    Draw_Field(expected, rig.shell.game.board);
    Draw_Grid(expected, rig.shell.game.board, rig.shell.game.Position);
    Draw_Figure(expected, rig.shell.game.board);
    // Drawn between the well's page and the next one, and only then.
    const std::vector<std::string> drawn(rig.well.ops.begin() + rig.pages[1].wellOps,
                                         rig.well.ops.begin() + rig.pages[2].wellOps);
    EXPECT_EQ(drawn, expected.ops);
    EXPECT_EQ(rig.pages[1].wellOps, rig.pages[0].wellOps);
    EXPECT_EQ(rig.well.ops.size(), rig.pages[2].wellOps);
}

TEST(HelpTour, PageSoundsRoundHalfToEven) {
    struct Case {
        float rnd;
        uint8_t n;
        Channel channel;
    };
    for (const Case c :
         {Case{0.0f, 1, Channel::mVorblin1}, Case{0.0625f, 1, Channel::mVorblin1},
          Case{0.25f, 2, Channel::mDown1},  // 2.5 goes down to 2
          Case{0.2501f, 3, Channel::mLeft1}, Case{0.5f, 4, Channel::mRight1},
          Case{0.6f, 5, Channel::mRotate1}, Case{0.75f, 6, Channel::mDrop1},  // 5.5 goes up to 6
          Case{0.99999994f, 7, Channel::mDelLin1}}) {
        testing::ScriptedRandom rnd;
        rnd.Push({c.rnd});
        testing::RecordingSound sound;
        EXPECT_EQ(Play_Help_Sound(rnd, sound), c.n) << c.rnd;
        EXPECT_EQ(sound.played, std::vector<Channel>{c.channel}) << c.rnd;
    }
    // In the tour: the first sound before the first page, then one after each page.
    TourRig rig;
    rig.closeOn = 2;
    rig.rnd.Push({0.75f, 0.25f, 0.0f});
    rig.shell.Set_chkHelp(1);
    EXPECT_EQ(rig.sound.played,
              (std::vector<Channel>{Channel::mDrop1, Channel::mDown1, Channel::mVorblin1}));
}

TEST(HelpWindowRules, OpensLeftOfTheMainWindowAndUnrollsJustPast3030Twips) {
    const WindowPosition at = HelpWindowPlace({5000, 700}, 3600);
    EXPECT_EQ(at.Left, 1400);
    EXPECT_EQ(at.Top, 700);

    HelpUnroll unroll;
    EXPECT_EQ(unroll.Height, 0);
    EXPECT_TRUE(unroll.tmrResize.Enabled);
    EXPECT_EQ(unroll.tmrResize.Interval, 15);
    int ticks = 0;
    while (unroll.tmrResize.Enabled && ticks < 100) {
        unroll.tmrResize_Timer();
        ++ticks;
        if (unroll.Height == 3000) {
            EXPECT_TRUE(unroll.tmrResize.Enabled);
        }
    }
    EXPECT_EQ(ticks, 31);
    EXPECT_EQ(unroll.Height, 3100);
}

}  // namespace
}  // namespace vorblin
