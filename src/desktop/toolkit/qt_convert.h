#pragma once
// From the core's units to Qt's and back: texts (the core's are UTF-8) and places and sizes
// (the core's are twips, 15 to a pixel).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <string_view>

#include "core/base/twips.h"
#include "core/base/window_places.h"

namespace vorblin {

inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A rectangle given in twips, each edge to the nearest pixel.
inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}
inline QSize TwipsSize(int width, int height) {
    return QSize(TwipsToPixels(width), TwipsToPixels(height));
}
inline QRect TwipsRect(const QRect& twips) {
    return TwipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

inline QPoint ToPixels(WindowPosition twips) {
    return {TwipsToPixels(twips.Left), TwipsToPixels(twips.Top)};
}
inline WindowPosition ToTwips(QPoint pixels) {
    return {pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel};
}
inline WindowSize ToTwips(QSize pixels) {
    return {pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel};
}

}  // namespace vorblin
