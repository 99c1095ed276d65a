#include "desktop/toolkit/desktop_platform.h"

#include <cstdlib>
#include <cstring>

namespace vorblin {

namespace {
bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
}  // namespace

void PreferX11UnderWayland() {
    if (Set("QT_QPA_PLATFORM") || !Set("DISPLAY"))
        return;
    const char* session = std::getenv("XDG_SESSION_TYPE");
    if (Set("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0))
        setenv("QT_QPA_PLATFORM", "xcb", 1);
}

bool WindowSystemAtHand() {
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace vorblin
