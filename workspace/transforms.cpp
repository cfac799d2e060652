#include "workspace/transforms.h"

#include "platform/image_transforms.h"
#include "workspace/drawing_tools.h"
#include "workspace/grid_view.h"

namespace gk {

namespace {

template <typename Mapping>
void RunTransform(EditorContext& ctx, Mapping mapping) {
  TakeUndoSnapshot(ctx);
  MarkModified(ctx);
  Surface& doc = ctx.Document();
  const Surface& undo = ctx.controls.ImgViewB.Canvas();
  if (undo.Width() == doc.Width() && undo.Height() == doc.Height()) {
    mapping(doc, undo);
  } else {
    // The undo copy is kept at the size the file code gave it; should the document differ,
    // map from a private copy rather than from a partial picture.
    const Surface before = doc;
    mapping(doc, before);
  }
  RedrawGrid(ctx);
}

// The shift by (dx, dy) as a mapping.
template <int dx, int dy>
void Shift(Surface& doc, const Surface& old) {
  ShiftImage(doc, old, dx, dy);
}

}  // namespace

void mnShiftUpClick(EditorContext& ctx) {
  RunTransform(ctx, Shift<0, -1>);
}
void mnShiftRightClick(EditorContext& ctx) {
  RunTransform(ctx, Shift<1, 0>);
}
void mnShiftDownClick(EditorContext& ctx) {
  RunTransform(ctx, Shift<0, 1>);
}
void mnShiftLeftClick(EditorContext& ctx) {
  RunTransform(ctx, Shift<-1, 0>);
}
void mnMirrorVClick(EditorContext& ctx) {
  RunTransform(ctx, MirrorVertical);
}
void mnMirrorHClick(EditorContext& ctx) {
  RunTransform(ctx, MirrorHorizontal);
}
void rotate1Click(EditorContext& ctx) {
  RunTransform(ctx, Rotate);
}

}  // namespace gk
