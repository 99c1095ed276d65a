#include "desktop/toolkit/picture_box.h"

#include <QPaintEvent>
#include <QPainter>

#include "desktop/toolkit/qt_colour.h"

namespace vorblin {

PictureBox::PictureBox(QWidget* parent, QSize pixels, int unitsWide, int unitsHigh, Colour back)
    : QWidget(parent),
      surface_(pixels, unitsWide, unitsHigh, back),
      ownBack_(back),
      shownBack_(back) {
    setFixedSize(pixels);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::ShowDamage() {
    const QRect damage = surface_.TakeDamage();
    if (!damage.isEmpty())
        update(damage);
}

void PictureBox::SetBackColor(Colour back) {
    if (back == shownBack_)
        return;
    shownBack_ = back;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (shownBack_ != ownBack_) {
        painter.fillRect(event->rect(), ToQColor(shownBack_));
        return;
    }
    painter.drawImage(event->rect(), surface_.Image(), event->rect());
}

}  // namespace vorblin
