#pragma once

#include <QRect>
#include <QtGlobal>
#include <cmath>

// Places and sizes are laid out in twips: 15 twips a pixel at 96 dots per inch.
inline int twipsToPixels(int twips, qreal logicalDpi = 96.0) {
    return int(std::lround(twips / 15.0 * logicalDpi / 96.0));
}

inline QRect twipsRect(int left, int top, int width, int height, qreal logicalDpi = 96.0) {
    return QRect(twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi),
                 twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi));
}
