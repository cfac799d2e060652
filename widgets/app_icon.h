#pragma once

#include <array>

#include <QImage>

namespace gk {

// The sizes of the program's icon in the desktop's icon theme.
inline constexpr std::array<int, 6> AppIconSides = {16, 32, 48, 64, 128, 256};

// The program's icon, `side` x `side`: the stacked sheets of a series with the shapes glyph in
// front, each drawn at its own size in the sixteen glyph colours.
QImage DrawAppIcon(int side);

}  // namespace gk
