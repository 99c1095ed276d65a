#include "desktop/toolkit/caption_frame.h"

#include <QFontMetrics>
#include <QPainter>

#include "desktop/toolkit/qt_colour.h"

namespace vorblin {

CaptionFrame::CaptionFrame(QWidget* parent, const QString& caption, Colour captionColour,
                           Colour back)
    : QFrame(parent), caption_(caption), captionColour_(captionColour), back_(back) {}

void CaptionFrame::SetBackColor(Colour back) {
    if (back == back_)
        return;
    back_ = back;
    update();
}

void CaptionFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(back_));
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    // An etched border: a dark line with a light one inside it.
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, lineY, width() - 2, height() - lineY - 2);
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(1, lineY + 1, width() - 2, height() - lineY - 2);
    if (caption_.isEmpty())
        return;
    const int textWidth = metrics.horizontalAdvance(caption_);
    const QRect textRect(7, 0, textWidth + 4, metrics.height());
    painter.fillRect(textRect, ToQColor(back_));
    painter.setPen(ToQColor(captionColour_));
    painter.drawText(textRect, Qt::AlignCenter, caption_);
}

}  // namespace vorblin
