#pragma once
// The core's &HBBGGRR colours on Qt's widgets.

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "core/base/colours.h"

namespace vorblin {

inline QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A plain widget's text and background colours; it paints its own background.
inline void SetColours(QWidget* widget, Colour fore, Colour back) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(fore));
    palette.setColor(QPalette::Window, ToQColor(back));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace vorblin
