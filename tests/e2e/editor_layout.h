#pragma once

#include <QPoint>
#include <QRect>

#include "image/colour.h"

namespace gk::e2e {

// Where the main window puts its controls with the initial sizes (no settings file, or one
// without sizes): buttons of 48 x 40, a grid of 16 x 16 dots of 37 at top 40. The palette's
// size comes from palette.bmp; the swatch and the view stand to its right.
struct EditorLayout {
  static constexpr int ButtonW = 48;
  static constexpr int ButtonH = 40;
  static constexpr int DotSize = 37;
  static constexpr int Cells = 16;
  static constexpr int GridSide = DotSize * Cells;
  static constexpr int BelowGrid = ButtonH + GridSide;
  static constexpr int PaletteTop = BelowGrid + 1;

  enum Button { New, Open, Save, Paint, Spoit, Left, Up, Down, Right, Next };

  int palW = 0;
  int palH = 0;

  static constexpr int ButtonLeft(Button b) {
    constexpr int lefts[] = {0, 48, 96, 152, 200, 256, 304, 352, 400, 456};
    return lefts[b];
  }
  static constexpr QPoint ButtonCentre(Button b) {
    return {ButtonLeft(b) + ButtonW / 2, ButtonH / 2};
  }
  static constexpr QRect Grid() { return {0, ButtonH, GridSide, GridSide}; }
  static constexpr QPoint CellCentre(int column, int row) {
    return {column * DotSize + DotSize / 2, ButtonH + row * DotSize + DotSize / 2};
  }
  static constexpr QRect Cell(int column, int row) {
    return {column * DotSize, ButtonH + row * DotSize, DotSize, DotSize};
  }

  QRect Swatch() const { return {palW + 1, PaletteTop, DotSize, DotSize}; }
  // The swatch less its bottom-left corner, where the column marker lies over it at origin 0.
  QRect SwatchAboveMarker() const { return {palW + 1, PaletteTop, DotSize, DotSize - 3}; }
  int ViewLeft() const { return palW + 1; }
  int ViewTop() const { return PaletteTop + DotSize + 1; }
  // Document pixel (x, y) as the view shows it: a 2 x 2 block.
  QRect ViewPixel(int x, int y) const { return {ViewLeft() + 2 * x, ViewTop() + 2 * y, 2, 2}; }
  QRect View(int width, int height) const { return {ViewLeft(), ViewTop(), 2 * width, 2 * height}; }
  // The markers for an edit window at (originX, originY).
  QRect MarkerV(int originX) const { return {ViewLeft() + 2 * originX, ViewTop() - 4, 2, 4}; }
  QRect MarkerH(int originY) const { return {ViewLeft() - 4, ViewTop() + 2 * originY, 4, 2}; }
  QPoint PaletteAt(int x, int y) const { return {x, PaletteTop + y}; }
};

// A colour (0x00BBGGRR) as the screen and Qt give it, 0xRRGGBB.
constexpr unsigned OnScreen(Colour c) {
  return (static_cast<unsigned>(RedOf(c)) << 16) | (static_cast<unsigned>(GreenOf(c)) << 8) |
         BlueOf(c);
}

}  // namespace gk::e2e
