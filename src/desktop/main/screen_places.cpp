#include "desktop/main/screen_places.h"
#include "desktop/toolkit/qt_convert.h"

#include <QEvent>
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

bool FramePlacer::FrameKnown(const QWidget* window) {
    return window->isVisible() && window->frameGeometry() != window->geometry();
}

FramePlacer::FramePlacer(std::function<void()> frameArrived)
    : frameArrived_(std::move(frameArrived)) {
    // The frame's arrival comes with no event of its own (the client area need not move): look
    // for it a while after each show or move, until every shown window has its frame.
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] {
        bool waiting = false;
        for (auto& [object, framed] : framed_) {
            auto* window = static_cast<QWidget*>(const_cast<QObject*>(object));
            Check(window);
            waiting = waiting || (window->isVisible() && !framed);
        }
        if ((!waiting && pending_.empty()) || --pollsLeft_ <= 0)
            poll_.stop();
    });
}

void FramePlacer::Watch(QWidget* window) {
    window->installEventFilter(this);
    framed_[window] = FrameKnown(window);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        pending_.erase(gone);
        framed_.erase(gone);
    });
}

void FramePlacer::Look() {
    pollsLeft_ = kPolls;
    if (!poll_.isActive())
        poll_.start();
}

void FramePlacer::Move(QWidget* window, QPoint frameTopLeft) {
    window->move(frameTopLeft);
    if (FrameKnown(window)) {
        pending_.erase(window);
    } else {
        pending_[window] = frameTopLeft;
        Look();
    }
}

QPoint FramePlacer::Position(const QWidget* window) const {
    const auto it = pending_.find(window);
    return it != pending_.end() ? it->second : window->frameGeometry().topLeft();
}

void FramePlacer::Check(QWidget* window) {
    if (!FrameKnown(window))
        return;
    const auto pending = pending_.find(window);
    if (pending != pending_.end()) {
        const QPoint at = pending->second;
        pending_.erase(pending);
        window->move(at);
    }
    bool& framed = framed_[window];
    if (!framed) {
        framed = true;
        frameArrived_();
    }
}

bool FramePlacer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) {
        Check(static_cast<QWidget*>(watched));
        if (type == QEvent::Show)
            Look();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorblin
