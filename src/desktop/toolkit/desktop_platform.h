#pragma once
// Which window system the game runs on when there is a choice, and whether there is one.

namespace vorblin {

// Where an X server is at hand beside a Wayland compositor (XWayland), the game runs on X11:
// a Wayland client may not place its own windows, and docking, the window places kept from
// one run to the next and the side windows following the main window all need that. A
// platform the player chose (QT_QPA_PLATFORM) is kept. Call before the application object
// exists.
void PreferX11UnderWayland();

// Whether the application object will find a window system: an X display or a Wayland
// compositor named in the environment, or a platform the player chose (QT_QPA_PLATFORM,
// offscreen say). Without one Qt aborts with a core dump instead of a word to the player.
bool WindowSystemAtHand();

}  // namespace vorblin
