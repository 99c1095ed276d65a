#pragma once

#include <QColor>

#include "core/base/colours.h"

namespace vorblin {

inline QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace vorblin
