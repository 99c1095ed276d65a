#include "core/rules/frm_main_layout.h"

#include <array>

#include "core/base/translation.h"

namespace vorblin {

namespace {

using K = ControlKind;
using F = FontFace;

constexpr FontSpec kWindowFont{F::Tahoma, 8.25, false};
constexpr FontSpec kBold{F::Tahoma, 8.25, true};
constexpr FontSpec kPadFont{F::TimesNewRoman, 9.75, true};
constexpr FontSpec kMenuFont{F::Tahoma, 9.75, true};

constexpr Colour kOrange = RGB(255, 128, 0);
constexpr Colour kPlaceColour = RGB(255, 192, 128);
constexpr Colour kMenuBack = RGB(192, 0, 0);
constexpr Colour kMenuFore = RGB(192, 255, 255);
constexpr Colour kSideFore = RGB(0, 255, 255);

constexpr std::array kLayout = {
    ControlSpec{"fraVorblin", "", K::Panel, 120, 120, 3735, 6855, "", kBlack, RGB(128, 64, 64),
                kWindowFont, false, true, ""},
    ControlSpec{"picVorblin", "fraVorblin", K::Picture, 120, 240, 3495, 6495, "", kBlack, kBlack,
                kWindowFont, false, true,
                N_("Удаляются только полностью заполненные горизонтальные линии. Одной фигуркой "
                   "можно удалить от 1 до 4 линий.")},
    ControlSpec{"fraBottom", "", K::Panel, 840, 7200, 2175, 1215, "", kBlack, kBlack, kWindowFont,
                false, true, ""},
    ControlSpec{"fraControl", "fraBottom", K::Frame, 120, 120, 1935, 975, N_("Control"), kRed,
                kBlack, FontSpec{F::Tahoma, 9, true}, false, true,
                N_("Управление - стрелочными клавишами ( мышкой их тоже можно нажимать ).")},
    ControlSpec{"cmdDown", "fraControl", K::Button, 720, 480, 492, 225, "V", kBlack, kBlack,
                kPadFont, true, true, N_("Бросить фигурку - Стрелка Вниз.")},
    ControlSpec{"cmdLeftRight(2)", "fraControl", K::Button, 1200, 480, 615, 195, ">", kBlack,
                kBlack, kPadFont, true, true, N_("Перемещение фигурки вправо - Стрелка Вправо.")},
    ControlSpec{"cmdLeftRight(0)", "fraControl", K::Button, 120, 480, 615, 195, "<", kBlack, kBlack,
                kPadFont, true, true, N_("Перемещение фигурки влево - Стрелка Влево.")},
    ControlSpec{"cmdRotate(0)", "fraControl", K::Button, 720, 240, 495, 225, "^", kBlack, kBlack,
                kPadFont, true, true, N_("Вращение фигурки - Стрелка Вверх.")},
    ControlSpec{"cmdSpace", "fraControl", K::Button, 480, 720, 975, 195, "", kBlack, kBlack,
                kPadFont, true, true,
                N_("Инверсия - Пробел. Заполненные квадратики становятся пустыми, пустые - "
                   "заполненными.")},
    ControlSpec{"lblPause", "fraBottom", K::Label, 120, 240, 1935, 975, N_("Pause"), kRed, kBlack,
                FontSpec{F::Tahoma, 20.25, true}, true, true,
                N_("Когда эта надпись видна, игра находится в режиме паузы.")},
    ControlSpec{"fraBottomRight", "", K::Panel, 3720, 7560, 3135, 1095, "", kBlack, kBlack,
                kWindowFont, false, true, ""},
    ControlSpec{"frmMenu", "fraBottomRight", K::Frame, 120, 120, 2892, 495, N_("Menu"),
                RGB(255, 255, 0), kBlack, kWindowFont, false, true,
                N_("Это меню. При продвижении по таблице кнопки в Меню начинают мигать.")},
    ControlSpec{"chkSet", "frmMenu", K::CheckButton, 2160, 240, 732, 255, N_("Set"), kMenuFore,
                kMenuBack, kMenuFont, true, true,
                N_("Hастройка музыкального сопровождения. Позволяет выбирать файлы которые будут "
                   "воспроизводится в процессе игры.")},
    ControlSpec{"chkDemo", "frmMenu", K::CheckButton, 1440, 240, 732, 255, N_("Demo"), kMenuFore,
                kMenuBack, kMenuFont, true, true,
                N_("Обучающий видеоролик ( пример ужасной игры ).")},
    ControlSpec{"chkHelp", "frmMenu", K::CheckButton, 720, 240, 732, 255, N_("Help"), kMenuFore,
                kMenuBack, kMenuFont, true, true, N_("Вызов справки.")},
    ControlSpec{"chkPause", "frmMenu", K::CheckButton, 0, 240, 732, 255, N_("Pause"), kMenuFore,
                kMenuBack, kMenuFont, true, true,
                N_("Пауза - Клавиша ESC. При нажатии ESC все окна свернутся.")},
    ControlSpec{"chkRec", "fraBottomRight", K::CheckButton, 1560, 720, 735, 255, N_("Best"),
                kSideFore, kBlack, kBold, true, true,
                N_("Показать/скрыть таблицу рекордов ( окно The Best Of The Vorblin ).")},
    ControlSpec{"chkStat", "fraBottomRight", K::CheckButton, 2280, 720, 735, 255, N_("Stat"),
                kSideFore, kBlack, kBold, true, true,
                N_("Показать/скрыть статистику ( окно Statistic ).")},
    ControlSpec{
        "chkAuto", "fraBottomRight", K::CheckButton, 120, 720, 735, 255, N_("Auto"),
        kSideFore, kBlack, kBold, true, true,
        N_("Автоматическая пристыковка окон The Best Of The Vorblin, Future  и Statistic.")},
    ControlSpec{"chkFuture", "fraBottomRight", K::CheckButton, 840, 720, 735, 255, N_("Future"),
                kSideFore, kBlack, kBold, true, true,
                N_("Показать/скрыть расширенную подсказку ( окно Future ).")},
    ControlSpec{"fraLeft", "", K::Panel, 4440, 120, 2415, 6855, "", kBlack, kBlack, kWindowFont,
                false, true, ""},
    ControlSpec{"fraScore", "fraLeft", K::Frame, 240, 1320, 1932, 735, N_("Score"),
                RGB(255, 255, 0), kBlack, kWindowFont, false, true, N_("Текущий счет.")},
    ControlSpec{"lblScore", "fraScore", K::Label, 120, 240, 1695, 375, "---", RGB(255, 255, 0),
                kBlack, FontSpec{F::Tahoma, 14.25, true}, true, true,
                N_("Текущий счет. В окне Statistic приведена полная информация о получении этой "
                   "цифры.")},
    ControlSpec{"fraLines", "fraLeft", K::Frame, 120, 4200, 2175, 1335, N_("Lines Bonus"),
                RGB(128, 128, 255), kBlack, kWindowFont, false, true,
                N_("Чем больше линий одновременно удалено, тем больше бонус.")},
    ControlSpec{"lblCountLines(1)", "fraLines", K::Label, 120, 240, 1935, 255, "0",
                RGB(255, 255, 0), kBlack, kBold, false, true,
                N_("За одну удаленную линию бонус - 275.")},
    ControlSpec{"lblCountLines(2)", "fraLines", K::Label, 120, 480, 1935, 255, "0",
                RGB(255, 255, 0), kBlack, kBold, false, true,
                N_("За две одновременно удаленные линии бонус - 800.")},
    ControlSpec{"lblCountLines(3)", "fraLines", K::Label, 120, 720, 1935, 255, "0",
                RGB(255, 255, 0), kBlack, kBold, false, true,
                N_("За три одновременно удаленные линии бонус - 2225.")},
    ControlSpec{"lblCountLines(4)", "fraLines", K::Label, 120, 960, 1935, 255, "0",
                RGB(255, 255, 0), kBlack, kBold, false, true,
                N_("За четыре одновременно удаленные линии бонус - 5000.")},
    ControlSpec{"picNext", "fraLeft", K::Picture, 600, 2520, 1155, 1155, "", kBlack, kBlack,
                kWindowFont, false, true, N_("Здесь обычно изображена следующая фигурка.")},
    ControlSpec{
        "lblFirma", "fraLeft", K::Label, 360, 3720, 1695, 375, N_(" Vorblin - фигурка    Бонус "),
        RGB(0, 255, 255), kBlack, kBold, true, false,
        N_("Бонус ( до 5000 ) за показанную Vorblin-фигурку. Есть супер-фигурка :  Vorblin - "
           "выпадает очень редко, а бонус за нее - 25000.")},
    ControlSpec{"lblSumBonus", "fraLeft", K::Label, 120, 2160, 2175, 255, "", kRed, kBlack, kBold,
                true, true, N_("Суммарный бонус за Vorblin-фигурки.")},
    ControlSpec{"lblLevel", "fraLeft", K::Label, 240, 240, 1935, 495, "Level # 0",
                0x800000 /* QBColor(1) */, kBlack, FontSpec{F::Tahoma, 18, true}, true, true,
                N_("Уровень сложности ( Скорость игры ). Инкрементирует ( увеличивается ) после "
                   "каждых девяти удаленных линий.")},
    ControlSpec{"lblPosition", "fraLeft", K::Label, 120, 5640, 2175, 255, "Position", kPlaceColour,
                kBlack, FontSpec{F::Tahoma, 11.25, true}, true, true,
                N_("Ваше текущее место в таблице.")},
    ControlSpec{"lblRemain", "fraLeft", K::Label, 120, 840, 2175, 375, "", RGB(255, 128, 128),
                kBlack, FontSpec{F::Tahoma, 14.25, true}, true, true,
                N_("Число линий, которые надо удалить чтобы  перейти на следующий уровень.")},
    ControlSpec{"lblNextPlace", "fraLeft", K::Label, 120, 5880, 2175, 255, "", kPlaceColour, kBlack,
                kBold, true, true, N_("Сколько очков до следующего места в таблице.")},
    ControlSpec{"lblAutors", "fraLeft", K::Label, 120, 6735, 2175, 120, kCreditsText,
                RGB(128, 128, 128), kBlack, kBold, false, false, kCreditsText},
    ControlSpec{"lblHeightBonus", "fraLeft", K::Label, 360, 6240, 1095, 255, N_("Time Bonus :"),
                kOrange, kBlack, kBold, true, true, N_("Этот бонус зависит от времени.")},
    ControlSpec{"lblTimeBonus", "fraLeft", K::Label, 1560, 6240, 735, 255, "", kOrange, kBlack,
                kBold, true, true,
                N_("Бонус за время. Чем быстрее Вы бросите фигурку, тем больше будет бонус.")},
    ControlSpec{"lblTotal", "fraLeft", K::Label, 360, 6480, 975, 255, N_("Total :"), kOrange,
                kBlack, kBold, true, true, N_("Суммарный бонус за время.")},
    ControlSpec{"lblTotalScore", "fraLeft", K::Label, 1560, 6480, 735, 255, "40000", kOrange,
                kBlack, kBold, true, true, N_("Суммарный бонус за время.")},
    ControlSpec{"Label5", "", K::Bar, 4080, 0, 75, 2535, "", kBlack, kBlack, kWindowFont, false,
                true, ""},
    ControlSpec{"Label4", "", K::Bar, 480, 7920, 375, 75, "", kBlack, kBlack, kWindowFont, false,
                true, ""},
    ControlSpec{"Label3", "", K::Bar, 480, 6960, 75, 975, "", kBlack, kBlack, kWindowFont, false,
                true, ""},
    ControlSpec{"Label2", "", K::Bar, 3000, 8160, 735, 75, "", kBlack, kBlack, kWindowFont, false,
                true, ""},
    ControlSpec{"Label1", "", K::Bar, 3840, 2520, 615, 75, "", kBlack, kBlack, kWindowFont, false,
                true, ""},
};

constexpr std::array<std::string_view, 11> kLeftOut = {
    "lblTotal", "lblHeightBonus", "fraLeft", "fraBottomRight", "fraBottom", "fraVorblin",
    "Label1",   "Label2",         "Label3",  "Label4",         "Label5"};

}  // namespace

std::span<const ControlSpec> FrmMainLayout() {
    return kLayout;
}

bool LeftOutOfHelpTour(std::string_view name) {
    for (std::string_view leftOut : kLeftOut)
        if (leftOut == name)
            return true;
    return false;
}

}  // namespace vorblin
