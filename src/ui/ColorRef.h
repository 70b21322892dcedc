#pragma once
// Stored colours hold red in the lowest byte, then green, then blue (0x00BBGGRR).

#include <QColor>

namespace orv {

inline QColor colorFromStored(int stored) {
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

inline int colorToStored(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace orv
