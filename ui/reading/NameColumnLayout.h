#pragma once

#include <cstdint>

#include "analysis/reading/NameRecord.h"

namespace soten::ui {

// Rows of the vertical name column in the name pane: an optional "①" row, the
// surname, the given name and an optional lower "①" row, spread over a fixed
// height. Pixel values of the pane.
struct NameColumnLayout {
    static constexpr int X = 74;

    int surnameLength = 0;  // s
    int givenLength = 0;    // g
    int upperMarker = 0;    // f1
    int lowerMarker = 0;    // f2
    int rowCount = 0;       // R
    int top = 0;            // Y0
    int height = 0;         // H
    int pitch = 0;          // P

    static NameColumnLayout For(int surnameLength, int givenLength);

    int RowY(int row) const { return top + row * pitch; }
    int LastSurnameY() const { return RowY(upperMarker + surnameLength - 1); }  // Ys
    int FirstGivenY() const { return LastSurnameY() + pitch; }                  // Yg
    int LastRowY() const { return RowY(rowCount - 1); }                         // Yl
    bool IsTall() const { return rowCount > 7; }
};

}  // namespace soten::ui
