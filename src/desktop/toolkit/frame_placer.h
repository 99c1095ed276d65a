#pragma once
// Top-level windows placed by their frames, whatever the window manager and whenever it tells
// the frame.

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>

namespace vorblin {

// Moves top-level windows by their frames. Under a window manager the frame of a window just
// shown arrives later, in the event loop, and until then a move puts the client area on the
// point. Such a move is made once more when the frame has come (the first move or resize
// after showing), and meanwhile the window reads as standing where it was asked to: saving
// right after loading writes back the same numbers, and a window manager that never tells a
// frame changes nothing.
//
// A watched window hidden and shown again comes back where its frame last stood. Window
// managers differ in where they leave a withdrawn window: mutter puts the bare client where
// its frame began, so that the next show would stand it a title bar higher each time.
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
    // Where each watched window's frame stood when last seen shown with its frame.
    std::map<const QObject*, QPoint> stood_;
    std::function<void()> frameArrived_;
};

}  // namespace vorblin
