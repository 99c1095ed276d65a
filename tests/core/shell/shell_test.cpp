// The main window's logic: a second game, the menu, the outline, the help tour.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/base/twips.h"
#include "core/help/help_tour.h"
#include "core/rules/frm_main_layout.h"
#include "core/shell/main_shell.h"
#include "core/shell/window_shape.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Seen;

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
    EXPECT_EQ(Seen(rig.pages[0].text, rig.pages[0].blue.size(), rig.pages[0].table),
              Seen(kHelpFirstPage, 0, kHelpTableMark));
    std::vector<std::string> walked;
    for (size_t i = 1; i < rig.pages.size(); ++i) {
        const Page& page = rig.pages[i];
        ASSERT_EQ(page.blue.size(), 1u) << i;  // its own colour came back before the next
        walked.push_back(page.blue[0]);
        // One sound before the first page, one after each.
        EXPECT_EQ(Seen(page.table, page.chkHelp, page.sounds), Seen(kBlack, 1, i)) << i;
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
    EXPECT_EQ(Seen(rig.main.records.lstTable.BackColor, rig.sound.played.size(),
                   rig.main.menu.chkHelp.Value),
              Seen(kBlack, 35, 0));
    EXPECT_EQ(Seen(rig.windows, rig.shell.focusWell), "1|2|");

    // The well is redrawn between its page and the next one, and only then.
    testing::RecordingSurface expected;
    Draw_Field(expected, game.board);
    Draw_Grid(expected, game.board, game.Position);
    Draw_Figure(expected, game.board);
    const auto at = [&](size_t page) { return rig.well.ops.begin() + rig.pages[page].wellOps; };
    EXPECT_EQ(std::vector<std::string>(at(1), at(2)), expected.ops);
    EXPECT_EQ(Seen(rig.pages[1].wellOps, rig.well.ops.size()),
              Seen(rig.pages[0].wellOps, rig.pages[2].wellOps));
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
        EXPECT_EQ(Seen(lastBlue.empty() ? "" : lastBlue[0], rig.Colours() == before,
                       rig.pages.size(), rig.main.records.lstTable.BackColor,
                       rig.sound.played.size(), rig.main.menu.chkHelp.Value, rig.shell.focusWell),
                  Seen(control, true, closeOn + 1, kBlack, closeOn + 1, 0, 2));
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
        EXPECT_EQ(Seen(rig.dialogs.log.back(), rig.Blue().size(), rig.main.menu.ColorMenu,
                       pad.chkPause.BackColor, pad.cmdDown.BackColor == pad.ColorButtons),
                  Seen("new game?", 0, RGB(192, 0, 0), RGB(192, 0, 0), true))
            << closeOn;
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
    EXPECT_EQ(Seen(at.Left, at.Top), "1400|700|");
    HelpUnroll unroll;
    std::string heights;
    while (unroll.tmrResize.Enabled && heights.size() < 200) {
        heights += std::to_string(unroll.Height / 100) + " ";
        unroll.tmrResize_Timer();
    }
    EXPECT_EQ(Seen(unroll.tmrResize.Interval, heights, unroll.Height),
              "15|0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 "
              "28 29 30 |3100|");
}

// Everything a game shows or keeps for the next landing, as text.
std::string Displays(const ShellRig& rig) {
    const Game& g = rig.game;
    const ScoreBoard& s = g.scores;
    const ControlPad& p = g.pad;
    std::string text = testing::Panel(s);
    text.resize(text.rfind('|', text.rfind('|') - 1));  // the time bonus labels keep theirs
    text +=
        Seen(s.lblLevel.ForeColor, g.lblPosition.Caption, g.lblNextPlace.Caption,
             g.lblNextPlace.Visible, g.notice.lblFirma.Visible, s.Score, s.Speed, s.Level,
             s.LinesInLevel, s.FigureCount, s.CellCounter, s.TimeBonusTotal, s.VorblinBonusTotal,
             s.LineCounts[1], s.LineCounts[2], s.LineCounts[3], s.LineCounts[4],
             g.notice.ColorFigura, rig.main.menu.ColorMenu, p.bDrop, p.EnableControls,
             g.tmrDown.Enabled, rig.main.menu.chkDemo.Value, rig.main.demo.tmrDemo.Enabled,
             g.lstStatistic.ListIndex, int{g.board.PosX}, int{g.board.PosY});
    for (const CommandButton* b :
         {&p.cmdLeftRight[0], &p.cmdLeftRight[2], &p.cmdRotate, &p.cmdDown, &p.cmdSpace})
        text += Seen(b->BackColor, b->Enabled);
    for (const std::string& line : g.lstStatistic.Items)
        text += line + "\n";
    return text + testing::BottomPicture(g.board, 31) + rig.well.Cells(2, 0, 20, 30);
}

// Lands the bar of shape 2 in column x + 1 on the given bottom rows.
void LandBar(Game& g, int x, const std::vector<std::string>& bottom) {
    testing::SetBottom(g.board, bottom);
    g.board.Figura = testing::BoardWith("0000111100000000", x, 27).Figura;
    g.board.PosX = static_cast<uint8_t>(x);
    g.board.PosY = 27;
    g.TickCount = 149;
    g.tmrDown_Timer();
}

TEST(SecondGame, StartsAsCleanAsTheFirst) {
    ShellRig fresh, played;
    Game& g = played.game;
    LandBar(g, 8, {"#####.#########"});
    g.scores.LinesInLevel = 8;
    g.Queue(1) = FiguraInfo{"0000111100000000", 40000, true};
    g.Queue(3) = FiguraInfo{"1000000000000001", 35000, true};
    LandBar(g, 9, {"######.########", "######.########", "######.########", "######.########"});
    g.scores.ScoreRemovedLines(2);
    g.scores.ScoreRemovedLines(3);
    g.lblPosition.Caption = "Place # 1";  // as the place tracker leaves the first place
    g.lblNextPlace.Visible = false;
    played.main.Set_chkDemo(1);
    for (int16_t key : {kKeyLeft, kKeyUp, kKeySpace, kKeyDown})
        g.Form_KeyDown(key);
    g.tmrDown_Timer();  // the new game comes while a figure falls
    ASSERT_EQ(testing::Panel(g.scores),
              "Level # 1|123456|9681|1-Lines*1 = 275|2-Lines*1 = 800|3-Lines*1 = 2225|"
              "4-Lines*1 = 5000|  Vorblin Bonus : 4000|199|400");
    ASSERT_TRUE(g.notice.lblFirma.Visible);

    played.main.New_Game();
    EXPECT_EQ(Displays(played), Displays(fresh));
    EXPECT_EQ(testing::Panel(g.scores), "Level # 0||---||||||199|400");
    EXPECT_EQ(played.shell.outlines, 2);
}

TEST(MenuFlash, RunsOnceOverTheTopRowAndStops) {
    ShellRig rig;
    MainMenu& menu = rig.main.menu;
    menu.tmrMigMenuControls.Enabled = true;
    CheckButton* row[] = {&rig.game.pad.chkPause, &menu.chkHelp, &menu.chkDemo, &menu.chkSet};
    for (int step = 0; step <= 4; ++step) {
        EXPECT_TRUE(menu.tmrMigMenuControls.Enabled);
        rig.main.tmrMigMenuControls_Timer();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(row[i]->BackColor, i == step ? kMenuFlash : RGB(192, 0, 0)) << step << i;
    }
    EXPECT_FALSE(menu.tmrMigMenuControls.Enabled);
    EXPECT_EQ(menu.FlashStep, 0);
    // A new game while the light is on "Pause" keeps the menu's own colour; the light runs on.
    menu.tmrMigMenuControls.Enabled = true;
    rig.main.tmrMigMenuControls_Timer();
    rig.main.New_Game();
    for (int step = 1; step <= 4; ++step)
        rig.main.tmrMigMenuControls_Timer();
    EXPECT_EQ(Seen(menu.ColorMenu, row[0]->BackColor, row[3]->BackColor),
              Seen(RGB(192, 0, 0), RGB(192, 0, 0), RGB(192, 0, 0)));
}

TEST(MenuButtons, EachHandsTheFocusBackSettingsAndHelpSpringBackDemoFollows) {
    ShellRig rig;
    MainShell& m = rig.main;
    // No side window open: their buttons are up.
    EXPECT_EQ(Seen(m.menu.chkRec.Value, m.menu.chkStat.Value, m.menu.chkFuture.Value), "0|0|0|");
    std::string seen;
    for (auto [press, value] : {std::pair{&MainShell::Set_chkSet, 1},
                                {&MainShell::Set_chkHelp, 1},
                                {&MainShell::Set_chkDemo, 1},
                                {&MainShell::Set_chkDemo, 0},
                                {&MainShell::Set_chkPause, 1}}) {
        const int focus = rig.shell.focusWell;
        (m.*press)(static_cast<int16_t>(value));
        seen += std::to_string(rig.shell.focusWell - focus) + std::to_string(m.menu.chkSet.Value) +
                std::to_string(m.menu.chkHelp.Value) + std::to_string(m.demo.tmrDemo.Enabled) +
                std::to_string(rig.shell.settings) + " ";
    }
    // Settings and help run their click twice (pressed, then released by the program).
    EXPECT_EQ(seen, "20001 20001 10011 10001 10001 ");

    m.Form_Resize(false);  // restoring keeps the pause
    EXPECT_FALSE(rig.game.tmrDown.Enabled);
    m.Set_chkPause(0);
    m.Form_Resize(false);  // and does not pause a running game
    EXPECT_TRUE(rig.game.tmrDown.Enabled);
    m.Form_Resize(true);  // minimising pauses
    EXPECT_EQ(rig.game.pad.chkPause.Value, 1);
}

TEST(WindowShape, MatchesTheWorkedExample) {
    // The controls that sit directly on the window, where the layout places them.
    std::vector<PlacedControl> placed;
    for (const ControlSpec& item : FrmMainLayout())
        if (item.container.empty())
            placed.push_back({item.name, item.kind, TwipsToPixels(item.left),
                              TwipsToPixels(item.top), TwipsToPixels(item.width),
                              TwipsToPixels(item.height)});
    const std::vector<ShapeRect> outline = RebuildWindowRgn(kMainOuterWidth, placed);
    // Title strip, then the shaping controls in the window's control order; the
    // window's other controls (none sit directly on it but these) add nothing.
    const std::vector<ShapeRect> expected = {
        {0, 0, 7125, 27},     {10, 35, 263, 500},   {58, 507, 207, 596}, {250, 531, 463, 612},
        {298, 35, 463, 500},  {274, 27, 277, 196},  {34, 555, 57, 560},  {34, 491, 37, 556},
        {202, 571, 249, 576}, {258, 195, 297, 200},
    };
    EXPECT_EQ(outline, expected);
    const PlacedControl stray[] = {{"lblScore", ControlKind::Label, 1, 1, 5, 5}};
    EXPECT_EQ(RebuildWindowRgn(500, stray), (std::vector<ShapeRect>{{0, 0, 500, 27}}));
}

}  // namespace
}  // namespace vorblin
