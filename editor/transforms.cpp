#include "editor/transforms.h"

#include <optional>

#include "editor/drawing_tools.h"
#include "editor/grid_view.h"
#include "image/image_transforms.h"
#include "image/picture_memory.h"

namespace gk {

namespace {

template <typename Mapping>
void RunTransform(EditorContext& ctx, Mapping mapping) {
  Surface& doc = ctx.Document();
  const ImageControl& undoControl = ctx.controls.ImgViewB;
  // The undo copy is kept at the size the file code gave it; should the document differ, map
  // from a private copy rather than from a partial picture. It is made first, so that running
  // out of memory changes nothing.
  std::optional<Surface> before;
  const auto keepBefore = [&](int undoWidth, int undoHeight) {
    if (before || (undoWidth == doc.Width() && undoHeight == doc.Height())) return;
    before.emplace(WithPictureMemory(ctx.DocumentName(), SizeOf(doc), [&] { return doc; }));
  };
  keepBefore(undoControl.Width, undoControl.Height);
  TakeUndoSnapshot(ctx);
  MarkModified(ctx);
  const Surface& undo = *undoControl.SurfaceIfAny();
  keepBefore(undo.Width(), undo.Height());
  // Every pixel is rewritten from the picture as it was, which the undo copy then holds whole
  // (taking the document's pixels over rather than copying them).
  mapping(doc, before ? *before : SaveUndoBeforeRewrite(ctx));
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
