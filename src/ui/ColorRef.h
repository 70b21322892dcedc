#pragma once
// Stored colours hold red in the lowest byte, then green, then blue (0x00BBGGRR).

#include "displays/CContrast.h"

#include <QColor>

namespace orv {

inline QColor colorFromStored(int stored) {
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

inline int colorToStored(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

// `preferred` as the colour of text on `background`, or black or white where it would be too
// faint there (see CContrast).
inline QColor readableTextOn(const QColor& background, const QColor& preferred) {
    const CRgb text =
        CContrast::readableText({background.red(), background.green(), background.blue()},
                                {preferred.red(), preferred.green(), preferred.blue()});
    return QColor(text.red, text.green, text.blue);
}

} // namespace orv
