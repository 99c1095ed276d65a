#pragma once

#include <QColor>

#include "toolkit/colours.h"

namespace vorblin {

inline QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace vorblin
