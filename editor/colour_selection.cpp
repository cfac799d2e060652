#include "editor/colour_selection.h"

#include <algorithm>
#include <cstdint>

namespace gk {

void SetCurColor(EditorContext& ctx, Colour colour) {
  EditorState& s = ctx.state;
  s.CurColor = colour;
  ctx.controls.ImgColor.Canvas().FillRectangle(0, 0, s.DotSize, s.DotSize, s.CurColor);
  ctx.ui.RefreshControl(ControlId::ImgColor);
}

void ImgPalleteMouseDown(EditorContext& ctx, int x, int y) {
  const Colour picked = ctx.controls.ImgPallete.Canvas().ReadPixel(x, y);
  // Outside the palette there is no colour to take.
  if (picked == NoColour) return;
  SetCurColor(ctx, picked);
}

void ImgColorMouseDown(EditorContext& ctx) {
  const std::optional<Colour> mixed = ctx.ui.RunColourDialog(ctx.state.CurColor);
  if (mixed && *mixed != NoColour) SetCurColor(ctx, *mixed);
}

TrackBarPositions TrackBarsFromColour(Colour colour) {
  // Signed divisions as on the colour's 32-bit value; blue is clamped by the track bar's range
  // rather than masked.
  const std::int32_t value = static_cast<std::int32_t>(colour);
  TrackBarPositions p;
  p.b = std::clamp(value / 65536, 0, 255);
  p.g = (value / 256) & 0xFF;
  p.r = value & 0xFF;
  return p;
}

Colour ColourFromTrackBars(const TrackBarPositions& positions) {
  // Track bar positions never leave 0..255; clamping keeps any other input a valid colour.
  const auto channel = [](int v) { return static_cast<Colour>(std::clamp(v, 0, 255)); };
  return channel(positions.r) + 256 * channel(positions.g) + 65536 * channel(positions.b);
}

}  // namespace gk
