#pragma once

#include <Qt>

// Check boxes count 0 unchecked, 1 checked, 2 grey in the settings and for the launch; Qt's own
// states put grey in the middle.
inline int checkValue(Qt::CheckState state) {
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

inline Qt::CheckState checkStateOf(int value) {
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}
