#pragma once

#include "editor/editor_context.h"

namespace gk {

// Stores the current colour and repaints the swatch.
void SetCurColor(EditorContext& ctx, Colour colour);
// A press of any button on the palette at (x, y) picks that pixel.
void ImgPalleteMouseDown(EditorContext& ctx, int x, int y);
// A press on the swatch opens the colour dialog; OK sets its colour.
void ImgColorMouseDown(EditorContext& ctx);

// What the colour dialog computes from its three track bars.
struct TrackBarPositions {
  int r = 0, g = 0, b = 0;
};
// The positions loaded from a colour, in the order B, G, R, each clamped to 0..255.
TrackBarPositions TrackBarsFromColour(Colour colour);
// R + 256 G + 65536 B.
Colour ColourFromTrackBars(const TrackBarPositions& positions);

}  // namespace gk
