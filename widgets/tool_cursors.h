#pragma once

#include <QImage>
#include <QPoint>

#include "editor/tools.h"

namespace gk {

inline constexpr int ToolCursorSide = 24;

struct CursorPicture {
  QImage image;
  // The pixel that acts: the pen's tip, the eraser's edge, where the paint lands, the dropper's
  // tip.
  QPoint hotSpot;
};

// A 24 x 24 picture in the glyphs' sixteen colours on a transparent background, without
// antialiasing; a white rim around the shape keeps it visible over black cells.
CursorPicture DrawToolCursor(ToolCursor cursor);

}  // namespace gk
