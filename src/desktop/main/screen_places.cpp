#include "desktop/main/screen_places.h"
#include "desktop/toolkit/qt_convert.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vorblin {

namespace {

// Enough of a window to take hold of it: a piece of its title strip.
constexpr int kGripWidth = 60;
constexpr int kGripHeight = 20;

bool Usable(const QRect& frame, const QRect& screen) {
    const QRect common = frame.intersected(screen);
    return common.width() >= std::min(kGripWidth, frame.width()) &&
           common.height() >= std::min(kGripHeight, frame.height());
}

int Within(int start, int length, int areaStart, int areaLength) {
    // A window larger than the screen keeps its top-left corner on it.
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

int Pixels(int32_t twips) {
    const int64_t clamped = std::clamp<int64_t>(twips, -(int64_t{1} << 30), int64_t{1} << 30);
    return TwipsToPixels(static_cast<int>(clamped));
}

}  // namespace

QPoint PlaceOnScreens(const QRect& frame, const QList<QRect>& screens) {
    const QRect* nearest = nullptr;
    double best = std::numeric_limits<double>::max();
    for (const QRect& screen : screens) {
        if (Usable(frame, screen))
            return frame.topLeft();
        const QPoint d = frame.center() - screen.center();
        const double distance = std::hypot(d.x(), d.y());
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    if (nearest == nullptr)
        return frame.topLeft();
    return QPoint(Within(frame.left(), frame.width(), nearest->left(), nearest->width()),
                  Within(frame.top(), frame.height(), nearest->top(), nearest->height()));
}

namespace {

// The position in twips, moved onto a screen for a window of that size.
WindowPosition OnScreen(WindowPosition position, WindowSize size) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect frame(Pixels(position.Left), Pixels(position.Top), Pixels(size.Width),
                      Pixels(size.Height));
    const QPoint placed = PlaceOnScreens(frame, screens);
    if (placed == frame.topLeft())
        return position;  // exactly as given, so that saving writes back the same numbers
    return ToTwips(placed);
}

}  // namespace

void OnScreenPlaces::MoveMain(WindowPosition position) {
    host_.MoveMain(OnScreen(position, host_.MainSize()));
}

void OnScreenPlaces::MoveSide(SideWindow window, WindowPosition position) {
    host_.MoveSide(window, OnScreen(position, host_.SideSize(window)));
}

}  // namespace vorblin
