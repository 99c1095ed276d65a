#pragma once
// Window places on the screen. OnScreenPlaces: the places as the settings file sets them;
// a position that would leave a window off every screen (a screen taken away since, a
// hand-edited file) is moved back onto the nearest screen first. FramePlacer: moves by the
// frame's corner under a window manager that tells the frame late.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>

#include "core/shell/side_windows.h"

namespace vorblin {

// Where a window with this frame goes so that a usable part of it lies on a screen: where
// it is, when that is so already; otherwise moved the shortest way onto the nearest screen.
QPoint PlaceOnScreens(const QRect& frame, const QList<QRect>& screens);

class OnScreenPlaces final : public WindowPlaces {
  public:
    explicit OnScreenPlaces(SideWindowHost& host) : host_(host) {}

    WindowPosition MainPosition() const override { return host_.MainPosition(); }
    void MoveMain(WindowPosition position) override;
    bool SideVisible(SideWindow window) override { return host_.SideVisible(window); }
    void SetSideVisible(SideWindow window, bool visible) override {
        host_.SetSideVisible(window, visible);
    }
    WindowPosition SidePosition(SideWindow window) override { return host_.SidePosition(window); }
    void MoveSide(SideWindow window, WindowPosition position) override;

  private:
    SideWindowHost& host_;
};

// Moves top-level windows by their frames. Under a window manager the frame of a window just
// shown arrives later, in the event loop, and until then a move puts the client area on the
// point. Such a move is made once more when the frame has come (the first move or resize
// after showing), and meanwhile the window reads as standing where it was asked to: saving
// right after loading writes back the same numbers, and a window manager that never tells a
// frame changes nothing.
class FramePlacer final : public QObject {
  public:
    // frameArrived runs each time a watched window's frame has become known.
    explicit FramePlacer(std::function<void()> frameArrived);

    void Watch(QWidget* window);
    void Move(QWidget* window, QPoint frameTopLeft);
    QPoint Position(const QWidget* window) const;
    // Whether the window system has told the window's frame (a shown window under a window
    // manager); without one the frame stays the client area.
    static bool FrameKnown(const QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr int kPollMs = 10;
    static constexpr int kPolls = 300;  // three seconds

    void Check(QWidget* window);
    void Look();

    QTimer poll_;
    int pollsLeft_ = 0;
    std::map<const QObject*, QPoint> pending_;
    std::map<const QObject*, bool> framed_;
    std::function<void()> frameArrived_;
};

}  // namespace vorblin
