#pragma once
// What the screenshot tests share: the program that gives them a real display, and counting the
// pixels of a colour in a picture.

#include <QColor>
#include <QImage>
#include <QString>

namespace orv::test {

inline const QString kXvfbRun = QStringLiteral("/usr/bin/xvfb-run");

inline int countColour(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

} // namespace orv::test
