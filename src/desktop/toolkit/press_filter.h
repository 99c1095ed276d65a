#pragma once
// Mouse-down and mouse-up as the player makes them: once per physical press of any mouse
// button, and once per release. A push button's own pressed/released signals fire again
// each time a held pointer crosses its edge, and only for the left button.

#include <QObject>
#include <functional>

class QWidget;

namespace vorblin {

class PressFilter final : public QObject {
  public:
    // Watches `widget` (and is owned by it): down runs on each press, up on each release.
    PressFilter(QWidget* widget, std::function<void()> down, std::function<void()> up);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> down_;
    std::function<void()> up_;
};

}  // namespace vorblin
