// The help tour over the main window's controls, its sounds, and where its window opens.
#include "core/help/help_tour.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/rules/frm_main_layout.h"
#include "core/shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

struct ShellRig : testing::ShellRig {
    ShellRig() { main.Form_Load(); }
};

// What the tour had done when one page was shown.
struct Page {
    std::string text;
    std::vector<std::string> blue;  // controls in the highlight colour
    Colour table;
    int16_t chkHelp;
    size_t sounds, wellOps;
};

// The main window's logic with a help window that records each page and is closed
// ("Закрыть") on the page numbered closeOn (0 the first page, -1 never).
struct TourRig : ShellRig {
    struct Window final : HelpWindow {
        explicit Window(TourRig& rig) : rig(rig) {}
        void Show(std::string_view text) override {
            rig.pages.push_back({std::string(text), rig.Blue(), rig.main.records.lstTable.BackColor,
                                 rig.main.menu.chkHelp.Value, rig.sound.played.size(),
                                 rig.well.ops.size()});
            blnClose = static_cast<int>(rig.pages.size()) - 1 == rig.closeOn;
            if (blnClose && rig.endGame) {
                // The game ends on this page: its flow closes the window and starts anew.
                testing::LandOnNextTick(rig.game, 0, true);
                rig.game.tmrDown_Timer();
            }
        }
        TourRig& rig;
    };

    TourRig() {
        shell.helpWindow = [this] {
            ++windows;
            return std::make_unique<Window>(*this);
        };
    }
    std::vector<std::string> Blue() {
        std::vector<std::string> names;
        for (const ControlSpec& item : FrmMainLayout())
            if (main.help.BackColor(item.name) == kHelpHighlight)
                names.emplace_back(item.name);
        return names;
    }
    // Every control's back colour, in the layout's order.
    std::vector<Colour> Colours() {
        std::vector<Colour> colours;
        for (const ControlSpec& item : FrmMainLayout())
            colours.push_back(main.help.BackColor(item.name));
        return colours;
    }

    int closeOn = -1, windows = 0;
    bool endGame = false;
    std::vector<Page> pages;
};

TEST(HelpTour, WalksEveryControlInOrderWithItsTagGivesColoursBackAndRedrawsTheWell) {
    TourRig rig;
    Game& game = rig.main.game;
    game.cmdLeftRight_MouseDown(0);  // green while held
    game.cmdDown_MouseDown();        // black until the landing
    rig.main.help.backColours["lblScore"] = RGB(1, 2, 3);
    game.board.C(4, 30) = true;
    game.Position = 3;
    rig.sound.played.clear();
    const std::vector<Colour> before = rig.Colours();
    rig.main.Set_chkHelp(1);

    ASSERT_EQ(rig.pages.size(), 35u);
    EXPECT_EQ(rig.pages[0].text, kHelpFirstPage);
    EXPECT_EQ(rig.pages[0].blue.size(), 0u);
    EXPECT_EQ(rig.pages[0].table, kHelpTableMark);
    std::vector<std::string> walked;
    for (size_t i = 1; i < rig.pages.size(); ++i) {
        const Page& page = rig.pages[i];
        ASSERT_EQ(page.blue.size(), 1u) << i;  // its own colour came back before the next
        walked.push_back(page.blue[0]);
        // One sound before the first page, one after each.
        EXPECT_EQ(page.table, kBlack) << i;
        EXPECT_EQ(page.chkHelp, 1) << i;
        EXPECT_EQ(page.sounds, i) << i;
        for (const ControlSpec& item : FrmMainLayout())
            if (item.name == page.blue[0]) {
                EXPECT_EQ(page.text, item.tag) << i;
            }
    }
    EXPECT_EQ(walked,
              (std::vector<std::string>{
                  "picVorblin",       "fraControl",       "cmdDown",          "cmdLeftRight(2)",
                  "cmdLeftRight(0)",  "cmdRotate(0)",     "cmdSpace",         "lblPause",
                  "frmMenu",          "chkSet",           "chkDemo",          "chkHelp",
                  "chkPause",         "chkRec",           "chkStat",          "chkAuto",
                  "chkFuture",        "fraScore",         "lblScore",         "fraLines",
                  "lblCountLines(1)", "lblCountLines(2)", "lblCountLines(3)", "lblCountLines(4)",
                  "picNext",          "lblFirma",         "lblSumBonus",      "lblLevel",
                  "lblPosition",      "lblRemain",        "lblNextPlace",     "lblAutors",
                  "lblTimeBonus",     "lblTotalScore"}));
    EXPECT_EQ(rig.pages[32].text, kCreditsText);
    EXPECT_EQ(rig.pages[34].text, "Суммарный бонус за время.");
    EXPECT_EQ(rig.Colours(), before);  // the colours the controls had, not the layout's
    EXPECT_EQ(rig.main.records.lstTable.BackColor, kBlack);
    EXPECT_EQ(rig.sound.played.size(), 35u);
    EXPECT_EQ(rig.main.menu.chkHelp.Value, 0);
    EXPECT_EQ(SEEN(rig.windows, rig.shell.focusWell), "rig.windows=1\nrig.shell.focusWell=2\n");

    // The well is redrawn between its page and the next one, and only then.
    testing::RecordingSurface expected;
    Draw_Field(expected, game.board);
    Draw_Grid(expected, game.board, game.Position);
    Draw_Figure(expected, game.board);
    const auto at = [&](size_t page) { return rig.well.ops.begin() + rig.pages[page].wellOps; };
    EXPECT_EQ(std::vector<std::string>(at(1), at(2)), expected.ops);
    EXPECT_EQ(rig.pages[1].wellOps, rig.pages[0].wellOps);
    EXPECT_EQ(rig.well.ops.size(), rig.pages[2].wellOps);
}

TEST(HelpTour, ClosingEndsTheTourAfterTheCurrentControlIsRestored) {
    const std::pair<int, std::string> cases[] = {
        {0, ""}, {1, "picVorblin"}, {3, "cmdDown"}, {12, "chkHelp"}, {34, "lblTotalScore"}};
    for (const auto& [closeOn, control] : cases) {
        TourRig rig;
        rig.closeOn = closeOn;
        const std::vector<Colour> before = rig.Colours();
        rig.main.Set_chkHelp(1);
        const std::vector<std::string>& lastBlue = rig.pages.back().blue;
        SCOPED_TRACE(closeOn);
        EXPECT_EQ(lastBlue.empty() ? "" : lastBlue[0], control);
        EXPECT_EQ(rig.Colours(), before);
        EXPECT_EQ(rig.pages.size(), size_t(closeOn + 1));
        EXPECT_EQ(rig.main.records.lstTable.BackColor, kBlack);
        EXPECT_EQ(rig.sound.played.size(), size_t(closeOn + 1));
        EXPECT_EQ(rig.main.menu.chkHelp.Value, 0);
        EXPECT_EQ(rig.shell.focusWell, 2);
    }
}

// A game that ends on a page: the painted control has its colour back before the new game
// reads the menu's colour and paints the pad's buttons anew.
TEST(HelpTour, AGameEndingOnAPageGivesTheColourBackFirst) {
    for (const int closeOn : {3, 13}) {  // "V", "Pause"
        TourRig rig;
        rig.closeOn = closeOn;
        rig.endGame = true;
        rig.main.Set_chkHelp(1);
        const ControlPad& pad = rig.game.pad;
        SCOPED_TRACE(closeOn);
        EXPECT_EQ(rig.dialogs.log.back(), "new game?");
        EXPECT_EQ(rig.Blue().size(), 0u);
        EXPECT_EQ(rig.main.menu.ColorMenu, RGB(192, 0, 0));
        EXPECT_EQ(pad.chkPause.BackColor, RGB(192, 0, 0));
        EXPECT_EQ(pad.cmdDown.BackColor, pad.ColorButtons);
    }
}

TEST(HelpTour, PageSoundsRoundHalfToEven) {
    testing::ScriptedRandom rnd;
    testing::RecordingSound sound;
    std::string numbers;  // 2.5 goes down to 2, 5.5 up to 6
    for (float draw : {0.0f, 0.0625f, 0.25f, 0.2501f, 0.5f, 0.6f, 0.75f, 0.99999994f}) {
        rnd.Push({draw});
        numbers += std::to_string(Play_Help_Sound(rnd, sound));
    }
    EXPECT_EQ(numbers, "11234567");
    EXPECT_EQ(sound.played,
              (std::vector<Channel>{Channel::mVorblin1, Channel::mVorblin1, Channel::mDown1,
                                    Channel::mLeft1, Channel::mRight1, Channel::mRotate1,
                                    Channel::mDrop1, Channel::mDelLin1}));
}

TEST(HelpWindowRules, OpensLeftOfTheMainWindowAndUnrollsJustPast3030Twips) {
    const WindowPosition at = HelpWindowPlace({5000, 700}, 3600);
    EXPECT_EQ(SEEN(at.Left, at.Top), "at.Left=1400\nat.Top=700\n");
    HelpUnroll unroll;
    std::string heights;
    std::string clients;  // the client area grows once the designed frame is unrolled
    while (unroll.tmrResize.Enabled && heights.size() < 200) {
        heights += std::to_string(unroll.Height / 100) + " ";
        clients += std::to_string(unroll.ClientHeight() / 100) + " ";
        unroll.tmrResize_Timer();
    }
    EXPECT_EQ(SEEN(unroll.tmrResize.Interval, heights, unroll.Height, clients,
                   unroll.ClientHeight() == kHelpClientHeight),
              "unroll.tmrResize.Interval=15\n"
              "heights=0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 "
              "28 29 30 \n"
              "unroll.Height=3100\n"
              "clients=0 0 0 0 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 "
              "25 26 \n"
              "unroll.ClientHeight() == kHelpClientHeight=true\n");
}

}  // namespace
}  // namespace vorblin
