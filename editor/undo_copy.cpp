#include "editor/undo_copy.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#include "editor/editor_context.h"
#include "image/picture_memory.h"
#include "image/pixel_runs.h"

namespace gk {

namespace {

// The copy can stand in for the document row by row: same size and format, and the snapshot's
// Width x Height block covers the whole document.
bool RowsMatch(const EditorContext& ctx, const Surface& copy, const Surface& doc) {
  return copy.Format() == doc.Format() && copy.Width() == doc.Width() &&
         copy.Height() == doc.Height() && ctx.state.Width >= doc.Width() &&
         ctx.state.Height >= doc.Height();
}

// The undo copy, created white with the document's format, so that it holds exactly the
// document's raw pixels.
Surface& UndoCopy(EditorContext& ctx) {
  ImageControl& undo = ctx.controls.ImgViewB;
  if (!undo.HasSurface()) {
    const Surface& doc = ctx.Document();
    undo.NewSurfaceFormat = doc.Format();
    WithPictureMemory(ctx.DocumentName(), SizeOf(doc), [&] { undo.Canvas(); });
    ctx.undoRows.ClearPending();
  }
  return undo.Canvas();
}

}  // namespace

void UndoRows::MarkAllPending(int rows) {
  pending_.assign(static_cast<std::size_t>(std::max(rows, 0)), 1);
  pendingCount_ = static_cast<int>(pending_.size());
}

void UndoRows::ClearPending() {
  pending_.clear();
  pendingCount_ = 0;
}

void UndoRows::Save(Surface& copy, const Surface& doc, int top, int bottom) {
  if (pendingCount_ == 0) return;
  assert(copy.Format() == doc.Format() && copy.Width() == doc.Width() &&
         static_cast<std::size_t>(copy.Height()) == pending_.size());
  top = std::max(top, 0);
  bottom = static_cast<int>(std::min<std::int64_t>(bottom, std::ssize(pending_)));
  const auto rowBytes = static_cast<int>(doc.RowBytes());
  bool saved = false;
  for (int y = top; y < bottom; ++y) {
    if (!pending_[y]) continue;
    // Written past the caches: the copy is read again only by an Undo.
    if (rowBytes != 0) StreamRun(copy.Bytes(y), doc.Bytes(y), rowBytes);
    pending_[y] = 0;
    --pendingCount_;
    saved = true;
  }
  if (saved) EndStreaming();
}

void TakeUndoSnapshot(EditorContext& ctx) {
  ImageControl& control = ctx.controls.ImgViewB;
  const Surface& doc = ctx.Document();
  const std::int32_t width = ctx.state.Width;
  const std::int32_t height = ctx.state.Height;
  if (control.HasSurface() && control.SurfaceIfAny()->Format() == doc.Format()) {
    Surface& copy = control.Canvas();
    if (RowsMatch(ctx, copy, doc)) {
      ctx.undoRows.MarkAllPending(doc.Height());
      return;
    }
    // Pending rows exist only in a copy of the document's size, so this one holds all of its own.
    CopyBlock(copy, 0, 0, width, height, doc, 0, 0);
    ctx.undoRows.ClearPending();
    return;
  }
  // A copy left in another format would convert, and so lose, colours; it is made anew in the
  // document's format. The old copy goes only once the new one is made: running out of memory
  // leaves both as they were.
  const bool lazy = control.Width == doc.Width() && control.Height == doc.Height() &&
                    width >= doc.Width() && height >= doc.Height();
  Surface copy = WithPictureMemory(ctx.DocumentName(), SizeOf(doc), [&] {
    // Its rows are taken from the document as they are written: memory nothing writes to is
    // never touched.
    if (lazy) return Surface::Unfilled(doc.Width(), doc.Height(), doc.Format());
    Surface white(control.Width, control.Height, doc.Format(), White);
    CopyBlock(white, 0, 0, width, height, doc, 0, 0);
    return white;
  });
  control.NewSurfaceFormat = doc.Format();
  control.SetSurface(std::move(copy));
  if (lazy) {
    ctx.undoRows.MarkAllPending(doc.Height());
  } else {
    ctx.undoRows.ClearPending();
  }
}

void SaveUndoRows(EditorContext& ctx, int top, int bottom) {
  if (ctx.undoRows.PendingCount() == 0) return;
  ctx.undoRows.Save(ctx.controls.ImgViewB.Canvas(), ctx.Document(), top, bottom);
}

const Surface& SaveUndoBeforeRewrite(EditorContext& ctx) {
  ImageControl& control = ctx.controls.ImgViewB;
  if (ctx.undoRows.AllPending()) {
    // The copy holds nothing of its own: exchanging the pixels costs nothing, copying them a
    // pass over the whole picture.
    control.SwapSurface(ctx.controls.ImgView);
    ctx.undoRows.ClearPending();
  } else {
    SaveUndoRows(ctx, 0, ctx.Document().Height());
  }
  return control.Canvas();
}

void RestoreUndoCopy(EditorContext& ctx) {
  Surface& copy = UndoCopy(ctx);
  Surface& doc = ctx.Document();
  UndoRows& rows = ctx.undoRows;
  const bool match = RowsMatch(ctx, copy, doc);
  if (match && rows.PendingCount() == 0) {
    // The copy replaces every pixel: exchange the pixels, after which the copy equals the
    // document again.
    ctx.controls.ImgViewB.SwapSurface(ctx.controls.ImgView);
    rows.MarkAllPending(doc.Height());
    return;
  }
  // Pending rows equal the document already; the runs of rows the copy holds go back.
  const int limit = copy.Height();
  for (int top = 0; top < limit;) {
    if (rows.IsPending(top)) {
      ++top;
      continue;
    }
    int bottom = top + 1;
    while (bottom < limit && !rows.IsPending(bottom)) ++bottom;
    CopyBlock(doc, 0, top, ctx.state.Width, std::min(bottom, ctx.state.Height) - top, copy, 0, top);
    top = bottom;
  }
  if (match) rows.MarkAllPending(doc.Height());
}

void DiscardUndoCopy(EditorContext& ctx, int width, int height, const PixelFormat& format) {
  ImageControl& undo = ctx.controls.ImgViewB;
  undo.DiscardSurface();
  undo.NewSurfaceFormat = format;
  undo.Width = width;
  undo.Height = height;
  ctx.undoRows.ClearPending();
}

}  // namespace gk
