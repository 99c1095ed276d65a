#include "toolkit/picture_box.h"

#include <QPaintEvent>
#include <QPainter>

namespace vorblin {

PictureBox::PictureBox(QWidget* parent, QSize pixels, int unitsWide, int unitsHigh, Colour back)
    : QWidget(parent), surface_(pixels, unitsWide, unitsHigh, back) {
    setFixedSize(pixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::ShowDamage() {
    const QRect damage = surface_.TakeDamage();
    if (!damage.isEmpty())
        update(damage);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.Image(), event->rect());
}

}  // namespace vorblin
