#include "desktop/toolkit/press_filter.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace vorblin {

PressFilter::PressFilter(QWidget* widget, std::function<void()> down, std::function<void()> up)
    : QObject(widget), down_(std::move(down)), up_(std::move(up)) {
    widget->installEventFilter(this);
}

bool PressFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The second press of a double click arrives as a double-click event.
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    if (press)
        down_();
    else
        up_();
    // The left button still gives the button its pressed look; the others end here, so
    // that their release comes back to this button too.
    return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
}

}  // namespace vorblin
