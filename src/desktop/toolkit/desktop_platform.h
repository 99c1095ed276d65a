#pragma once
// Which window system the game runs on when there is a choice.

namespace vorblin {

// Where an X server is at hand beside a Wayland compositor (XWayland), the game runs on X11:
// a Wayland client may not place its own windows, and docking, the window places kept from
// one run to the next and the side windows following the main window all need that. A
// platform the player chose (QT_QPA_PLATFORM) is kept. Call before the application object
// exists.
void PreferX11UnderWayland();

}  // namespace vorblin
