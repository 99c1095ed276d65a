// The main window's controls as designed, the help tour over them with its sounds, and
// where the help window opens.
#include "core/help/help_tour.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/rules/frm_main_layout.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;

constexpr Colour kMenuFore = RGB(192, 255, 255), kPlace = RGB(255, 192, 128);
constexpr Colour kBonus = RGB(255, 128, 0), kAny = -1;

// One control as designed: its place in twips in its container, its caption, the caption's
// colour (for panels, bars and drawing surfaces the back colour) and how its help text on the tour
// begins ("" for a control the tour leaves out). The texts in full are the translation template's
// (po/vorblin.pot), which the translations test holds against the sources.
struct Design {
    const char* name;
    const char* container;
    int left, top, width, height;
    std::string_view caption;
    Colour colour;
    std::string_view help;
};
const Design kDesign[] = {
    {"fraVorblin", "", 120, 120, 3735, 6855, "", RGB(128, 64, 64), ""},
    {"picVorblin", "fraVorblin", 120, 240, 3495, 6495, "", kBlack, "Удаляются"},
    {"fraBottom", "", 840, 7200, 2175, 1215, "", kBlack, ""},
    {"fraControl", "fraBottom", 120, 120, 1935, 975, "Control", kRed, "Управ"},
    {"cmdDown", "fraControl", 720, 480, 492, 225, "V", kAny, "Бросить"},
    {"cmdLeftRight(2)", "fraControl", 1200, 480, 615, 195, ">", kAny, "Перемещение фигурки вп"},
    {"cmdLeftRight(0)", "fraControl", 120, 480, 615, 195, "<", kAny, "Перемещение фигурки вл"},
    {"cmdRotate(0)", "fraControl", 720, 240, 495, 225, "^", kAny, "Вращение"},
    {"cmdSpace", "fraControl", 480, 720, 975, 195, "", kAny, "Инверсия"},
    {"lblPause", "fraBottom", 120, 240, 1935, 975, "Pause", kRed, "Когда"},
    {"fraBottomRight", "", 3720, 7560, 3135, 1095, "", kBlack, ""},
    {"frmMenu", "fraBottomRight", 120, 120, 2892, 495, "Menu", kYellow, "Это меню"},
    {"chkSet", "frmMenu", 2160, 240, 732, 255, "Set", kMenuFore, "Hастройка"},
    {"chkDemo", "frmMenu", 1440, 240, 732, 255, "Demo", kMenuFore, "Обучающий"},
    {"chkHelp", "frmMenu", 720, 240, 732, 255, "Help", kMenuFore, "Вызов"},
    {"chkPause", "frmMenu", 0, 240, 732, 255, "Pause", kMenuFore, "Пауза"},
    {"chkRec", "fraBottomRight", 1560, 720, 735, 255, "Best", kCyan, "Показать/скрыть т"},
    {"chkStat", "fraBottomRight", 2280, 720, 735, 255, "Stat", kCyan, "Показать/скрыть с"},
    {"chkAuto", "fraBottomRight", 120, 720, 735, 255, "Auto", kCyan, "Автоматическая"},
    {"chkFuture", "fraBottomRight", 840, 720, 735, 255, "Future", kCyan, "Показать/скрыть р"},
    {"fraLeft", "", 4440, 120, 2415, 6855, "", kBlack, ""},
    {"fraScore", "fraLeft", 240, 1320, 1932, 735, "Score", kYellow, "Текущий счет."},
    {"lblScore", "fraScore", 120, 240, 1695, 375, "---", kYellow, "Текущий счет. В"},
    {"fraLines", "fraLeft", 120, 4200, 2175, 1335, "Lines Bonus", RGB(128, 128, 255), "Чем"},
    {"lblCountLines(1)", "fraLines", 120, 240, 1935, 255, "0", kYellow, "За одну"},
    {"lblCountLines(2)", "fraLines", 120, 480, 1935, 255, "0", kYellow, "За две"},
    {"lblCountLines(3)", "fraLines", 120, 720, 1935, 255, "0", kYellow, "За три"},
    {"lblCountLines(4)", "fraLines", 120, 960, 1935, 255, "0", kYellow, "За четыре"},
    {"picNext", "fraLeft", 600, 2520, 1155, 1155, "", kBlack, "Здесь"},
    {"lblFirma", "fraLeft", 360, 3720, 1695, 375, " Vorblin - фигурка    Бонус ", kCyan, "Бонус ("},
    {"lblSumBonus", "fraLeft", 120, 2160, 2175, 255, "", kRed, "Суммарный бонус за V"},
    {"lblLevel", "fraLeft", 240, 240, 1935, 495, "Level # 0", QBColor(1), "Ур"},
    {"lblPosition", "fraLeft", 120, 5640, 2175, 255, "Position", kPlace, "Ваше"},
    {"lblRemain", "fraLeft", 120, 840, 2175, 375, "", RGB(255, 128, 128), "Число"},
    {"lblNextPlace", "fraLeft", 120, 5880, 2175, 255, "", kPlace, "Сколько"},
    {"lblAutors", "fraLeft", 120, 6735, 2175, 120, kCreditsText, RGB(128, 128, 128), kCreditsText},
    {"lblHeightBonus", "fraLeft", 360, 6240, 1095, 255, "Time Bonus :", kBonus, ""},
    {"lblTimeBonus", "fraLeft", 1560, 6240, 735, 255, "", kBonus, "Бонус за время"},
    {"lblTotal", "fraLeft", 360, 6480, 975, 255, "Total :", kBonus, ""},
    {"lblTotalScore", "fraLeft", 1560, 6480, 735, 255, "40000", kBonus, "Суммарный бонус за в"},
    {"Label5", "", 4080, 0, 75, 2535, "", kBlack, ""},
    {"Label4", "", 480, 7920, 375, 75, "", kBlack, ""},
    {"Label3", "", 480, 6960, 75, 975, "", kBlack, ""},
    {"Label2", "", 3000, 8160, 735, 75, "", kBlack, ""},
    {"Label1", "", 3840, 2520, 615, 75, "", kBlack, ""},
};

TEST(MainWindowLayout, ControlsStandInTheDesignsOrderWhereItPutsThemWithTheirCaptions) {
    const auto layout = FrmMainLayout();
    ASSERT_EQ(layout.size(), std::size(kDesign));
    std::string bold;  // which captions are bold, in the layout's order
    for (size_t i = 0; i < layout.size(); ++i) {
        const auto& item = layout[i];
        bold += item.font.bold ? 'B' : '.';
        const Design& want = kDesign[i];
        const bool back = item.kind == ControlKind::Panel || item.kind == ControlKind::Bar ||
                          item.kind == ControlKind::Picture;
        const Colour colour = want.colour == kAny ? kAny : back ? item.back : item.fore;
        // Labels are centred but for the counts and the hidden credits line; buttons always are,
        // panels, frames and pictures never.
        const std::string_view name = want.name;
        const bool label = item.kind == ControlKind::Label, credits = name == "lblAutors";
        const bool menu = std::string_view(want.container) == "frmMenu";  // red buttons
        EXPECT_EQ(
            Show("name", item.name, "in", item.container, "at", item.left, "top", item.top, "width",
                 item.width, "height", item.height, "caption", item.caption, "colour", colour,
                 "menu", menu && item.back == RGB(192, 0, 0), "visible", item.visible, "centred",
                 item.centred),
            Show("name", name, "in", want.container, "at", want.left, "top", want.top, "width",
                 want.width, "height", want.height, "caption", want.caption, "colour", want.colour,
                 "menu", menu, "visible", !credits && name != "lblFirma", "centred",
                 label ? !credits && !name.starts_with("lblCountLines")
                       : !back && item.kind != ControlKind::Frame));
    }
    EXPECT_EQ(bold, "...BBBBBBB..BBBBBBBB..B.BBBB.BBBBBBBBBBB.....");
}

// The main window's logic with a help window that notes each page and is closed ("Закрыть")
// on the page numbered closeOn (0 the first page, -1 never).
struct TourRig : testing::ShellRig {
    struct Window final : HelpWindow {
        explicit Window(TourRig& rig) : rig(rig) {}
        // A page as the player sees it: the controls in the highlight colour, the text, the
        // hall-of-fame list's colour and the sounds so far.
        void Show(std::string_view text) override {
            std::string blue;
            for (const auto& item : FrmMainLayout())
                blue += rig.main.help.BackColor(item.name) == kHelpHighlight ? item.name : "";
            rig.pages.push_back(testing::Show("blue", blue, "list",
                                              rig.main.records.lstTable.BackColor, "sounds",
                                              rig.sound.played.size(), "text", text));
            blnClose = static_cast<int>(rig.pages.size()) - 1 == rig.closeOn;
        }
        TourRig& rig;
    };

    explicit TourRig(int closeOn) : closeOn(closeOn) {
        shell.helpWindow = [this] { return std::make_unique<Window>(*this); };
    }
    // Every control's back colour, in the layout's order.
    std::string Colours() {
        std::string colours;
        for (const auto& item : FrmMainLayout())
            colours += std::to_string(main.help.BackColor(item.name)) + " ";
        return colours;
    }

    int closeOn;
    std::vector<std::string> pages;
};

TEST(HelpTour, WalksTheControlsInOrderUntilClosedAndGivesTheirColoursBack) {
    // The first page marks the list; then one page a control with help, one sound before the
    // first page and one after each; a page's text is known by how it begins.
    std::vector<std::string> tour = {
        Show("blue", "", "list", kHelpTableMark, "sounds", 1, "text", kHelpFirstPage)};
    for (const Design& control : kDesign)
        if (!control.help.empty())
            tour.push_back(Show("blue", control.name, "list", kBlack, "sounds", tour.size()) +
                           "text=" + std::string(control.help));
    for (const int closeOn : {-1, 0, 12}) {  // never, the first page, "Help"
        SCOPED_TRACE(closeOn);
        TourRig rig(closeOn);
        rig.game.cmdLeftRight_MouseDown(0);  // green while held
        rig.game.cmdDown_MouseDown();        // black until the landing
        rig.sound.played.clear();
        const std::string before = rig.Colours();
        rig.main.Set_chkHelp(1);

        const size_t shown = closeOn < 0 ? tour.size() : size_t(closeOn) + 1;
        ASSERT_EQ(rig.pages.size(), shown);
        for (size_t i = 0; i < shown; ++i)
            EXPECT_EQ(rig.pages[i].substr(0, tour[i].size()), tour[i]);
        EXPECT_EQ(rig.Colours(), before);  // the colours the controls had, not the layout's
        EXPECT_EQ(
            Show("list", rig.main.records.lstTable.BackColor, "sounds", rig.sound.played.size(),
                 "help", rig.main.menu.chkHelp.Value, "focus", rig.shell.focusWell),
            Show("list", kBlack, "sounds", shown, "help", 0, "focus", 2));
    }
}

// The pages' sounds by number, from 1 to the last one's; any other number plays nothing.
TEST(HelpTour, PageSoundsByNumber) {
    testing::RecordingSound sound;
    testing::ScriptedRandom rnd;
    rnd.Push({0, 0.99f});
    EXPECT_EQ(Play_Help_Sound(rnd, sound) + Play_Help_Sound(rnd, sound), 1 + kSoundByCode.size());
    for (const size_t code : {size_t{0}, kSoundByCode.size() + 1})
        Play_Event_Sound(sound, static_cast<uint8_t>(code));
    EXPECT_EQ(sound.played, (std::vector<Channel>{kSoundByCode.front(), kSoundByCode.back()}));
}

TEST(HelpWindowRules, OpensLeftOfTheMainWindowAndUnrollsJustPast3030Twips) {
    const WindowPosition at = HelpWindowPlace({5000, 700}, 3600);
    HelpUnroll unroll;
    int ticks = 0;
    for (; unroll.tmrResize.Enabled && ticks < 100; ++ticks)
        unroll.tmrResize_Timer();  // 100 twips a tick
    EXPECT_EQ(Show("left", at.Left, "top", at.Top, "interval", unroll.tmrResize.Interval, "ticks",
                   ticks, "height", unroll.Height),
              Show("left", 1400, "top", 700, "interval", 15, "ticks", 31, "height", 3100));
    // The client area grows once the designed frame is unrolled, up to its designed height.
    for (auto [outer, client] : {std::pair{0, 0}, {500, 100}, {3100, 2700}}) {
        unroll.Height = outer;
        EXPECT_EQ(unroll.ClientHeight(), client) << outer;
    }
}

}  // namespace
}  // namespace vorblin
