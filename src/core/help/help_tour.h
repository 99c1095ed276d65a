#pragma once
// The guided help tour over the main window: a first page about the hall of fame, then
// every control in the window's control order, painted blue while its help text is shown.
// Also the help window's own rules: where it opens and how it unrolls.

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "core/base/control_state.h"
#include "core/base/random_clock.h"
#include "core/base/translation.h"
#include "core/base/window_places.h"
#include "core/help/help_link.h"
#include "core/rules/drawing.h"
#include "core/rules/sound_board.h"
#include "core/session/game.h"
#include "core/session/main_menu.h"

namespace vorblin {

constexpr Colour kHelpHighlight = RGB(0, 0, 255);
// The hall-of-fame list while the first page is shown.
constexpr Colour kHelpTableMark = RGB(255, 0, 0);

inline constexpr std::string_view kHelpFirstPage =
    N_("Лучшие игроки. Чтобы эта таблица стала общей для нескольких компьютеров в сети, создайте "
       "ярлыки, ссылающиеся на один и тот же Vorblin Cascade.exe. Чтобы очистить таблицу надо "
       "удалить файл VorblinFathers.txt ( он в папке с Vorblin'ом ).");

// One page after the first: a control of the main window and its help text (its Tag).
struct HelpPage {
    std::string_view control;
    std::string_view text;
};

// The tour's controls in the window's control order, without the ones it leaves out.
std::vector<HelpPage> HelpTourPages();

// Back colours of the main window's controls that keep no colour state of their own in
// the rules (frames, drawing surfaces, labels, panels): only the tour changes them. They
// start as the layout gives them; the window shows them. Buttons keep theirs in their state.
class ControlBackColours {
  public:
    ControlBackColours();
    // The colour of a control listed here (throws std::out_of_range for any other name).
    Colour& operator[](std::string_view name) { return colours_.at(name); }
    const std::map<std::string_view, Colour>& All() const { return colours_; }

  private:
    std::map<std::string_view, Colour> colours_;
};

// The page sound: n = Rnd × 6 + 1 rounded to the nearest whole number, halves to even
// (1 to 7 = kSoundByCode's size, the ends half as likely), played as an event sound.
// Returns n.
uint8_t Play_Help_Sound(RandomSource& rnd, SoundBoard& sound);

class HelpTour {
  public:
    HelpTour(RandomSource& rnd, SoundBoard& sound, DrawingSurface& picVorblin, Game& game,
             MainMenu& menu, ListBox& lstTable);

    // The tour with a new window object, up to its unloading: the first page with the
    // hall-of-fame list marked, then the walk over the controls until the window is closed.
    void Run(HelpWindow& frmHelp);
    // Where the back colour of a control on the tour is kept.
    Colour& BackColor(std::string_view control);
    // The tour's window was closed from outside (the game ended): the control painted for the
    // page shown gets its own colour back, and the hall-of-fame list its black, at once.
    void GiveColoursBack();

    ControlBackColours backColours;

  private:
    RandomSource& rnd_;
    SoundBoard& sound_;
    DrawingSurface& picVorblin_;
    Game& game_;
    MainMenu& menu_;
    ListBox& lstTable_;
    // The control painted for the page shown, and its own colour.
    Colour* painted_ = nullptr;
    Colour own_ = kBlack;
};

// frmHelp's own rules. It opens with its right edge on the main window's left edge and
// its top level with the main window's top, closed (height 0); tmrResize then unrolls it.
constexpr int32_t kHelpUnrollStep = 100;       // twips a tick
constexpr int32_t kHelpUnrolledHeight = 3030;  // twips; the unrolling stops above it
// The outer height, frame included, the unrolling ends at: the first step above the stop
// (3100 twips).
constexpr int32_t kHelpUnrolledOuterHeight =
    (kHelpUnrolledHeight / kHelpUnrollStep + 1) * kHelpUnrollStep;

// The client area as designed (twips). The frame a window manager draws comes on top of it:
// window managers' title bars differ by up to a quarter of this height, and a fixed outer
// height left the buttons at the bottom cut under the taller ones.
constexpr int32_t kHelpClientHeight = 2700;

WindowPosition HelpWindowPlace(WindowPosition main, int32_t ownWidth);

struct HelpUnroll {
    int32_t Height = 0;  // the window's outer height, twips
    Timer tmrResize{true, 15};

    void tmrResize_Timer();
    // The client area's height for the outer height, less the frame the window was designed
    // with, so that the unrolling ends at the designed client area whatever frame it gets.
    int32_t ClientHeight() const;
};

}  // namespace vorblin
