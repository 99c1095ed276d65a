#pragma once
// The main window's outline: its title strip, its four panels and the five bars
// that join them. Everything between them is cut away.

#include <span>
#include <string_view>
#include <vector>

#include "core/rules/frm_main_layout.h"

namespace vorblin {

// A rectangle in pixels from the window's top-left corner; it holds its left and top
// edges but not its right and bottom edges.
struct ShapeRect {
    int left, top, right, bottom;
    bool operator==(const ShapeRect&) const = default;
};

// A control of the main window as the window reports it, in pixels of the client area.
struct PlacedControl {
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
};

// The rectangles whose union is the outline, title strip first, then the shaping
// controls in the order given. outerWidth is the window's outer width as the toolkit
// reports it (in twips, used as a pixel count: wider than the window, so the strip
// always spans it).
std::vector<ShapeRect> RebuildWindowRgn(int outerWidth, std::span<const PlacedControl> controls);

}  // namespace vorblin
