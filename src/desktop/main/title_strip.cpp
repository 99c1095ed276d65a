#include "desktop/main/title_strip.h"

#include <QIcon>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "core/rules/frm_main_layout.h"
#include "desktop/toolkit/fonts.h"

namespace vorblin {

TitleStrip::TitleStrip(QWidget* window, const QString& caption)
    : QWidget(window), caption_(caption) {
    setFixedHeight(kTitleStripPixels);
    setFont(MakeFont(FontSpec{FontFace::Tahoma, 8.25, true}));
}

QRect TitleStrip::CloseButton() const {
    return QRect(width() - 24, 5, 18, 16);
}
QRect TitleStrip::MinimizeButton() const {
    return QRect(width() - 44, 5, 18, 16);
}

void TitleStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, QColor(0, 0, 128));
    gradient.setColorAt(1, QColor(16, 132, 208));
    painter.fillRect(rect(), gradient);
    painter.drawPixmap(5, 5, window()->windowIcon().pixmap(16, 16));
    painter.setPen(Qt::white);
    painter.drawText(QRect(27, 0, width() - 80, height()), Qt::AlignVCenter | Qt::AlignLeft,
                     caption_);
    for (const QRect& box : {MinimizeButton(), CloseButton()}) {
        painter.fillRect(box, QColor(192, 192, 192));
        painter.setPen(Qt::white);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(QColor(64, 64, 64));
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    }
    painter.setPen(QPen(Qt::black, 2));
    const QRect m = MinimizeButton().adjusted(5, 4, -5, -4);
    painter.drawLine(m.left(), m.bottom(), m.right(), m.bottom());
    const QRect c = CloseButton().adjusted(5, 4, -5, -4);
    painter.drawLine(c.topLeft(), c.bottomRight());
    painter.drawLine(c.topRight(), c.bottomLeft());
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (CloseButton().contains(at) || MinimizeButton().contains(at))
        return;
    // The window manager (or a compositor) moves the window as it does a framed one; where
    // none will, the strip moves it itself.
    if (QWindow* handle = window()->windowHandle(); handle != nullptr && handle->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void TitleStrip::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        window()->move(event->globalPosition().toPoint() - dragOffset_);
}

void TitleStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (!dragging_) {
        if (CloseButton().contains(at))
            window()->close();
        if (MinimizeButton().contains(at))
            window()->showMinimized();
    }
    dragging_ = false;
}

}  // namespace vorblin
