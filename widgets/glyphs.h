#pragma once

#include <array>

#include <QColor>
#include <QImage>

class QPainter;

namespace gk {

// The pictures of the ten tool buttons.
enum class Glyph {
  BlankPage,
  OpenFolder,
  FloppyDisk,
  Shapes,
  Eyedropper,
  ArrowLeft,
  ArrowUp,
  ArrowDown,
  ArrowRight,
  StackedSheets,
};

inline constexpr int GlyphSide = 32;
inline constexpr std::array<Glyph, 10> AllGlyphs = {
    Glyph::BlankPage,  Glyph::OpenFolder,   Glyph::FloppyDisk, Glyph::Shapes,
    Glyph::Eyedropper, Glyph::ArrowLeft,    Glyph::ArrowUp,    Glyph::ArrowDown,
    Glyph::ArrowRight, Glyph::StackedSheets};

// The sixteen classic colours, the only ones a glyph uses (besides transparency).
const std::array<QRgb, 16>& ClassicColours();

// The entries of ClassicColours by name.
enum class ClassicColour {
  Black,
  Maroon,
  Green,
  Olive,
  Navy,
  Purple,
  Teal,
  Silver,
  Grey,
  Red,
  Lime,
  Yellow,
  Blue,
  Fuchsia,
  Aqua,
  White,
};
QColor ColourOf(ClassicColour colour);

// Outline and fill for the next shapes, in two classic colours: without antialiasing no other
// colour appears. The outline stays one screen pixel wide when drawn below a scale of 1.
void SetShapeColours(QPainter& p, ClassicColour outline, ClassicColour fill);

// A glyph on a transparent background, drawn without antialiasing: `side` x `side` pixels,
// the 32 x 32 drawing redrawn at that scale (not a scaled bitmap), so it stays crisp.
QImage DrawGlyph(Glyph glyph, int side = GlyphSide);

}  // namespace gk
