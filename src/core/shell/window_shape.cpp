#include "core/shell/window_shape.h"

#include <array>

namespace vorblin {

namespace {
constexpr std::array<std::string_view, 9> kShapingControls = {
    "fraLeft", "fraBottomRight", "fraBottom", "fraVorblin", "Label1",
    "Label2",  "Label3",         "Label4",    "Label5"};

bool Shapes(std::string_view name) {
    for (std::string_view shaping : kShapingControls)
        if (shaping == name)
            return true;
    return false;
}
}  // namespace

std::vector<ShapeRect> RebuildWindowRgn(int outerWidth, std::span<const PlacedControl> controls) {
    std::vector<ShapeRect> outline{{0, 0, outerWidth, kTitleStripPixels}};
    for (const PlacedControl& c : controls) {
        if (!Shapes(c.name))
            continue;
        const int left = c.left + 2, top = c.top + kTitleStripPixels;
        if (c.kind == ControlKind::Bar || c.kind == ControlKind::Label)
            outline.push_back({left, top, c.left + c.width, c.top + c.height + kTitleStripPixels});
        else
            outline.push_back({left, top, c.left + c.width + 6, c.top + c.height + 35});
    }
    return outline;
}

}  // namespace vorblin
