// The main window's controls as designed, the help tour over them with its sounds, and
// where the help window opens.
#include "core/help/help_tour.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/rules/frm_main_layout.h"
#include "core/shell/main_shell.h"
#include "support/fakes.h"

namespace vorblin {
namespace {

using testing::Show;

const ControlSpec* Find(std::string_view name) {
    for (const ControlSpec& item : FrmMainLayout())
        if (item.name == name)
            return &item;
    return nullptr;
}

std::string FontText(const FontSpec& font) {
    std::ostringstream text;
    text << (font.face == FontFace::Tahoma          ? "Tahoma"
             : font.face == FontFace::TimesNewRoman ? "Times"
                                                    : "?")
         << (font.bold ? " bold " : " ") << font.points;
    return text.str();
}

// Places are twips in the container; the colour is the caption's, or for panels, bars and
// drawing surfaces the back colour.
TEST(MainWindowLayout, ControlsStandWhereTheDesignPutsThemWithTheirCaptions) {
    constexpr Colour kMenuFore = RGB(192, 255, 255), kSideFore = RGB(0, 255, 255);
    constexpr Colour kPlace = RGB(255, 192, 128), kBonus = RGB(255, 128, 0), kAny = -1;
    const char *kPad = "Times bold 9.75", *kMenu = "Tahoma bold 9.75", *kBold = "Tahoma bold 8.25";
    const struct {
        const char* name;
        const char* container;
        int left, top, width, height;
        const char* caption;
        Colour colour;
        const char* font;  // "": as the window's, or not given
    } design[] = {
        {"fraVorblin", "", 120, 120, 3735, 6855, "", RGB(128, 64, 64), ""},
        {"picVorblin", "fraVorblin", 120, 240, 3495, 6495, "", kBlack, ""},
        {"fraBottom", "", 840, 7200, 2175, 1215, "", kBlack, ""},
        {"fraControl", "fraBottom", 120, 120, 1935, 975, "Control", kRed, "Tahoma bold 9"},
        {"cmdDown", "fraControl", 720, 480, 492, 225, "V", kAny, kPad},
        {"cmdLeftRight(2)", "fraControl", 1200, 480, 615, 195, ">", kAny, kPad},
        {"cmdLeftRight(0)", "fraControl", 120, 480, 615, 195, "<", kAny, kPad},
        {"cmdRotate(0)", "fraControl", 720, 240, 495, 225, "^", kAny, kPad},
        {"cmdSpace", "fraControl", 480, 720, 975, 195, "", kAny, kPad},
        {"lblPause", "fraBottom", 120, 240, 1935, 975, "Pause", kRed, "Tahoma bold 20.25"},
        {"fraBottomRight", "", 3720, 7560, 3135, 1095, "", kBlack, ""},
        {"frmMenu", "fraBottomRight", 120, 120, 2892, 495, "Menu", RGB(255, 255, 0), ""},
        {"chkSet", "frmMenu", 2160, 240, 732, 255, "Set", kMenuFore, kMenu},
        {"chkDemo", "frmMenu", 1440, 240, 732, 255, "Demo", kMenuFore, kMenu},
        {"chkHelp", "frmMenu", 720, 240, 732, 255, "Help", kMenuFore, kMenu},
        {"chkPause", "frmMenu", 0, 240, 732, 255, "Pause", kMenuFore, kMenu},
        {"chkRec", "fraBottomRight", 1560, 720, 735, 255, "Best", kSideFore, kBold},
        {"chkStat", "fraBottomRight", 2280, 720, 735, 255, "Stat", kSideFore, kBold},
        {"chkAuto", "fraBottomRight", 120, 720, 735, 255, "Auto", kSideFore, kBold},
        {"chkFuture", "fraBottomRight", 840, 720, 735, 255, "Future", kSideFore, kBold},
        {"fraLeft", "", 4440, 120, 2415, 6855, "", kBlack, ""},
        {"fraScore", "fraLeft", 240, 1320, 1932, 735, "Score", RGB(255, 255, 0), ""},
        {"lblScore", "fraScore", 120, 240, 1695, 375, "---", RGB(255, 255, 0), "Tahoma bold 14.25"},
        {"fraLines", "fraLeft", 120, 4200, 2175, 1335, "Lines Bonus", RGB(128, 128, 255), ""},
        {"lblCountLines(1)", "fraLines", 120, 240, 1935, 255, "0", RGB(255, 255, 0), kBold},
        {"lblCountLines(2)", "fraLines", 120, 480, 1935, 255, "0", RGB(255, 255, 0), kBold},
        {"lblCountLines(3)", "fraLines", 120, 720, 1935, 255, "0", RGB(255, 255, 0), kBold},
        {"lblCountLines(4)", "fraLines", 120, 960, 1935, 255, "0", RGB(255, 255, 0), kBold},
        {"picNext", "fraLeft", 600, 2520, 1155, 1155, "", kBlack, ""},
        {"lblFirma", "fraLeft", 360, 3720, 1695, 375, " Vorblin - фигурка    Бонус ",
         RGB(0, 255, 255), kBold},
        {"lblSumBonus", "fraLeft", 120, 2160, 2175, 255, "", kRed, kBold},
        {"lblLevel", "fraLeft", 240, 240, 1935, 495, "Level # 0", QBColor(1), "Tahoma bold 18"},
        {"lblPosition", "fraLeft", 120, 5640, 2175, 255, "Position", kPlace, "Tahoma bold 11.25"},
        {"lblRemain", "fraLeft", 120, 840, 2175, 375, "", RGB(255, 128, 128), "Tahoma bold 14.25"},
        {"lblNextPlace", "fraLeft", 120, 5880, 2175, 255, "", kPlace, kBold},
        {"lblHeightBonus", "fraLeft", 360, 6240, 1095, 255, "Time Bonus :", kBonus, kBold},
        {"lblTimeBonus", "fraLeft", 1560, 6240, 735, 255, "", kBonus, kBold},
        {"lblTotal", "fraLeft", 360, 6480, 975, 255, "Total :", kBonus, kBold},
        {"lblTotalScore", "fraLeft", 1560, 6480, 735, 255, "40000", kBonus, kBold},
        {"Label5", "", 4080, 0, 75, 2535, "", kBlack, ""},
        {"Label4", "", 480, 7920, 375, 75, "", kBlack, ""},
        {"Label3", "", 480, 6960, 75, 975, "", kBlack, ""},
        {"Label2", "", 3000, 8160, 735, 75, "", kBlack, ""},
        {"Label1", "", 3840, 2520, 615, 75, "", kBlack, ""},
    };
    for (const auto& want : design) {
        const ControlSpec* item = Find(want.name);
        ASSERT_NE(item, nullptr) << want.name << " is missing";
        const bool back = item->kind == ControlKind::Panel || item->kind == ControlKind::Bar ||
                          item->kind == ControlKind::Picture;
        const Colour colour = want.colour == kAny ? kAny : back ? item->back : item->fore;
        EXPECT_EQ(Show("in", item->container, "at", item->left, "top", item->top, "width",
                       item->width, "height", item->height, "caption", item->caption, "colour",
                       colour, "font", *want.font ? FontText(item->font) : ""),
                  Show("in", want.container, "at", want.left, "top", want.top, "width", want.width,
                       "height", want.height, "caption", want.caption, "colour", want.colour,
                       "font", want.font))
            << want.name;
        const bool label = item->kind == ControlKind::Label;  // left-aligned: the counts
        const bool count = std::string_view(want.name).starts_with("lblCountLines");
        EXPECT_EQ(label && item->centred, label && !count) << want.name;
        EXPECT_EQ(item->visible, want.name != std::string_view("lblFirma")) << want.name;
    }
    // Besides these, only the hidden credits line.
    EXPECT_EQ(FrmMainLayout().size(), std::size(design) + 1);
    ASSERT_NE(Find("lblAutors"), nullptr);
    EXPECT_FALSE(Find("lblAutors")->visible);
    for (const char* name : {"chkPause", "chkHelp", "chkDemo", "chkSet"})
        EXPECT_EQ(Find(name)->back, RGB(192, 0, 0)) << name;
}

// The main window's logic with a help window that records each page and is closed
// ("Закрыть") on the page numbered closeOn (0 the first page, -1 never).
struct TourRig : testing::ShellRig {
    // What the tour had done when one page was shown.
    struct Page {
        std::string text;
        std::vector<std::string> blue;  // controls in the highlight colour
        Colour table;
        int16_t chkHelp;
        size_t sounds, wellOps;
    };
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
        main.Form_Load();
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
    const std::pair<const char*, std::string_view> tour[] = {
        {"picVorblin",
         "Удаляются только полностью заполненные горизонтальные линии. Одной фигуркой можно "
         "удалить от 1 до 4 линий."},
        {"fraControl", "Управление - стрелочными клавишами ( мышкой их тоже можно нажимать )."},
        {"cmdDown", "Бросить фигурку - Стрелка Вниз."},
        {"cmdLeftRight(2)", "Перемещение фигурки вправо - Стрелка Вправо."},
        {"cmdLeftRight(0)", "Перемещение фигурки влево - Стрелка Влево."},
        {"cmdRotate(0)", "Вращение фигурки - Стрелка Вверх."},
        {"cmdSpace",
         "Инверсия - Пробел. Заполненные квадратики становятся пустыми, пустые - заполненными."},
        {"lblPause", "Когда эта надпись видна, игра находится в режиме паузы."},
        {"frmMenu", "Это меню. При продвижении по таблице кнопки в Меню начинают мигать."},
        {"chkSet",
         "Hастройка музыкального сопровождения. Позволяет выбирать файлы которые будут "
         "воспроизводится в процессе игры."},
        {"chkDemo", "Обучающий видеоролик ( пример ужасной игры )."},
        {"chkHelp", "Вызов справки."},
        {"chkPause", "Пауза - Клавиша ESC. При нажатии ESC все окна свернутся."},
        {"chkRec", "Показать/скрыть таблицу рекордов ( окно The Best Of The Vorblin )."},
        {"chkStat", "Показать/скрыть статистику ( окно Statistic )."},
        {"chkAuto",
         "Автоматическая пристыковка окон The Best Of The Vorblin, Future  и Statistic."},
        {"chkFuture", "Показать/скрыть расширенную подсказку ( окно Future )."},
        {"fraScore", "Текущий счет."},
        {"lblScore",
         "Текущий счет. В окне Statistic приведена полная информация о получении этой цифры."},
        {"fraLines", "Чем больше линий одновременно удалено, тем больше бонус."},
        {"lblCountLines(1)", "За одну удаленную линию бонус - 275."},
        {"lblCountLines(2)", "За две одновременно удаленные линии бонус - 800."},
        {"lblCountLines(3)", "За три одновременно удаленные линии бонус - 2225."},
        {"lblCountLines(4)", "За четыре одновременно удаленные линии бонус - 5000."},
        {"picNext", "Здесь обычно изображена следующая фигурка."},
        {"lblFirma",
         "Бонус ( до 5000 ) за показанную Vorblin-фигурку. Есть супер-фигурка :  Vorblin - "
         "выпадает очень редко, а бонус за нее - 25000."},
        {"lblSumBonus", "Суммарный бонус за Vorblin-фигурки."},
        {"lblLevel",
         "Уровень сложности ( Скорость игры ). Инкрементирует ( увеличивается ) после каждых "
         "девяти удаленных линий."},
        {"lblPosition", "Ваше текущее место в таблице."},
        {"lblRemain", "Число линий, которые надо удалить чтобы  перейти на следующий уровень."},
        {"lblNextPlace", "Сколько очков до следующего места в таблице."},
        {"lblAutors", kCreditsText},
        {"lblTimeBonus", "Бонус за время. Чем быстрее Вы бросите фигурку, тем больше будет бонус."},
        {"lblTotalScore", "Суммарный бонус за время."},
    };
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

    ASSERT_EQ(rig.pages.size(), std::size(tour) + 1);
    EXPECT_EQ(rig.pages[0].text, kHelpFirstPage);
    EXPECT_EQ(rig.pages[0].blue, std::vector<std::string>{});
    EXPECT_EQ(rig.pages[0].table, kHelpTableMark);
    for (size_t i = 1; i < rig.pages.size(); ++i) {  // one sound before the first page and
        const TourRig::Page& page = rig.pages[i];    // one after each; the list black again
        EXPECT_EQ(Show("blue", page.blue.size() == 1 ? page.blue[0] : "?", "text", page.text,
                       "list", page.table, "help", page.chkHelp, "sounds", page.sounds),
                  Show("blue", tour[i - 1].first, "text", tour[i - 1].second, "list", kBlack,
                       "help", 1, "sounds", i));
    }
    EXPECT_EQ(rig.Colours(), before);  // the colours the controls had, not the layout's
    EXPECT_EQ(rig.main.records.lstTable.BackColor, kBlack);
    EXPECT_EQ(rig.sound.played.size(), rig.pages.size());
    EXPECT_EQ(rig.main.menu.chkHelp.Value, 0);
    EXPECT_EQ(rig.windows, 1);
    EXPECT_EQ(rig.shell.focusWell, 2);

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
        EXPECT_EQ(
            Show("last", lastBlue.empty() ? "" : lastBlue[0], "pages", rig.pages.size(), "sounds",
                 rig.sound.played.size(), "list", rig.main.records.lstTable.BackColor, "help",
                 rig.main.menu.chkHelp.Value, "focus", rig.shell.focusWell),
            Show("last", control, "pages", closeOn + 1, "sounds", closeOn + 1, "list", kBlack,
                 "help", 0, "focus", 2));
        EXPECT_EQ(rig.Colours(), before) << closeOn;
    }
}

// A game ending on a page: the painted control has its colour back before the new game
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
        EXPECT_EQ(rig.Blue(), std::vector<std::string>{});
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
    EXPECT_EQ(at.Left, 1400);
    EXPECT_EQ(at.Top, 700);
    HelpUnroll unroll;
    EXPECT_EQ(unroll.tmrResize.Interval, 15);
    int ticks = 0;
    while (unroll.tmrResize.Enabled && ticks < 100) {
        unroll.tmrResize_Timer();
        EXPECT_EQ(unroll.Height, 100 * ++ticks);
    }
    EXPECT_EQ(unroll.Height, 3100);
    // The client area grows once the designed frame is unrolled, up to its designed height.
    const std::pair<int, int> clients[] = {
        {0, 0}, {400, 0}, {500, 100}, {3000, 2600}, {3100, 2700}};
    for (auto [outer, client] : clients) {
        unroll.Height = outer;
        EXPECT_EQ(unroll.ClientHeight(), client) << outer;
    }
}

}  // namespace
}  // namespace vorblin
