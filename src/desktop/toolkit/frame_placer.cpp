#include "desktop/toolkit/frame_placer.h"

#include <QEvent>

namespace vorblin {

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
        stood_.erase(gone);
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
    // Until the window is mapped again, the frame read may be the one it had before it was
    // withdrawn, and the window manager may still move the bare window after the withdrawal.
    if (!FrameKnown(window) || !window->testAttribute(Qt::WA_Mapped))
        return;
    const auto pending = pending_.find(window);
    if (pending != pending_.end()) {
        const QPoint at = pending->second;
        pending_.erase(pending);
        window->move(at);
    }
    if (pending_.count(window) == 0)
        stood_[window] = window->frameGeometry().topLeft();
    bool& framed = framed_[window];
    if (!framed) {
        framed = true;
        frameArrived_();
    }
}

bool FramePlacer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto* window = static_cast<QWidget*>(watched);
    // Shown again by the program (not restored by the window manager): back where it stood,
    // unless it was moved meanwhile.
    if (type == QEvent::Show && !event->spontaneous() && pending_.count(window) == 0) {
        const auto stood = stood_.find(window);
        if (stood != stood_.end()) {
            pending_[window] = stood->second;
            window->move(stood->second);
        }
    }
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) {
        Check(window);
        if (type == QEvent::Show)
            Look();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorblin
