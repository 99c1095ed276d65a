#pragma once
// The main window's controls, in the window's control order: containers, positions
// (twips, relative to the container), captions, colours, fonts and help texts.

#include <span>
#include <string_view>

#include "core/base/colours.h"
#include "core/base/translation.h"

namespace vorblin {

enum class ControlKind {
    Panel,  // borderless container that shapes the window
    Frame,  // container with a caption and a border
    Bar,    // label without text that shapes the window
    Label,
    Picture,      // drawing surface
    Button,       // command button
    CheckButton,  // push-style check button
};

enum class FontFace { Tahoma, TimesNewRoman, CourierNew, MsSansSerif };

struct FontSpec {
    FontFace face = FontFace::Tahoma;
    double points = 8.25;
    bool bold = false;
};

struct ControlSpec {
    std::string_view name;       // e.g. "cmdLeftRight(2)"
    std::string_view container;  // "" for the window itself
    ControlKind kind;
    int left, top, width, height;  // twips
    std::string_view caption;
    Colour fore;
    Colour back;
    FontSpec font;
    bool centred;
    bool visible;
    std::string_view tag;  // help text
};

// Window geometry (twips).
constexpr int kMainClientWidth = 7005;
constexpr int kMainClientHeight = 8805;
constexpr int kMainOuterWidth = 7125;
constexpr int kMainOuterHeight = 9210;
constexpr int kTitleStripPixels = 27;

std::span<const ControlSpec> FrmMainLayout();

// The controls the help tour leaves out (beside the timers, which are not in the list).
bool LeftOutOfHelpTour(std::string_view name);

inline constexpr std::string_view kCreditsText =
    N_("Vorblin Cascade — игра сделана с любовью к падающим фигуркам.");

}  // namespace vorblin
