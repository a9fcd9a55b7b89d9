#pragma once

#include <QFont>

// The look both windows share: their fonts, and the screen resolution their twips are laid out
// for.

// Tahoma, or the narrow sans that stands in where it is missing, so captions keep their places.
QFont tahoma(qreal points, bool bold = false);
// The lists' fixed-pitch font: a games-list line's tail starts at column 64, out of sight.
QFont courier();
// The primary screen's logical dots per inch; 96 when there is no screen.
qreal screenDpi();
