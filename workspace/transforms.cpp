#include "workspace/transforms.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "workspace/drawing_tools.h"
#include "workspace/grid_view.h"

namespace gk {

namespace {

// The mappings copy raw values, so the source must hold them in the document's format; a
// source in another format (or the document itself) is first copied into `scratch`.
const Surface& SourceFor(const Surface& doc, const Surface& old, Surface& scratch) {
  if (doc.Width() != old.Width() || doc.Height() != old.Height()) {
    throw std::invalid_argument("The copy of the image does not match the image's size.");
  }
  if (&doc == &old) {
    scratch = old;
    return scratch;
  }
  if (old.Format() == doc.Format()) return old;
  scratch = Surface(old.Width(), old.Height(), doc.Format());
  CopyBlock(scratch, 0, 0, old.Width(), old.Height(), old, 0, 0);
  return scratch;
}

std::size_t RowBytes(const Surface& s) {
  return static_cast<std::size_t>(s.Width()) * sizeof(std::uint32_t);
}

// Every row y of doc receives the whole row sourceRow(y) of old.
template <typename SourceRow>
void CopyRows(Surface& doc, const Surface& old, SourceRow sourceRow) {
  if (doc.Width() == 0) return;
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const std::size_t bytes = RowBytes(doc);
  for (int y = 0; y < doc.Height(); ++y) std::memcpy(doc.Row(y), src.Row(sourceRow(y)), bytes);
}

}  // namespace

void ShiftUp(Surface& doc, const Surface& old) {
  const int h = doc.Height();
  CopyRows(doc, old, [h](int y) { return y + 1 < h ? y + 1 : 0; });
}

void ShiftDown(Surface& doc, const Surface& old) {
  const int h = doc.Height();
  CopyRows(doc, old, [h](int y) { return y > 0 ? y - 1 : h - 1; });
}

void MirrorHorizontal(Surface& doc, const Surface& old) {
  const int h = doc.Height();
  CopyRows(doc, old, [h](int y) { return h - 1 - y; });
}

void ShiftRight(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const int w = doc.Width();
  if (w == 0) return;
  const std::size_t bytes = (static_cast<std::size_t>(w) - 1) * sizeof(std::uint32_t);
  for (int y = 0; y < doc.Height(); ++y) {
    std::uint32_t* d = doc.Row(y);
    const std::uint32_t* o = src.Row(y);
    // Copying straight to d + 1 runs several times slower: the loads and stores, four bytes
    // apart modulo the page size, falsely depend on each other. Copy whole, then move in place.
    std::memcpy(d, o, RowBytes(doc));
    std::memmove(d + 1, d, bytes);
    d[0] = o[w - 1];
  }
}

void ShiftLeft(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const int w = doc.Width();
  if (w == 0) return;
  const std::size_t bytes = (static_cast<std::size_t>(w) - 1) * sizeof(std::uint32_t);
  for (int y = 0; y < doc.Height(); ++y) {
    std::uint32_t* d = doc.Row(y);
    const std::uint32_t* o = src.Row(y);
    std::memcpy(d, o + 1, bytes);
    d[w - 1] = o[0];
  }
}

void MirrorVertical(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const int w = doc.Width();
  for (int y = 0; y < doc.Height(); ++y) std::reverse_copy(src.Row(y), src.Row(y) + w, doc.Row(y));
}

void Rotate(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const int w = doc.Width();
  const int h = doc.Height();
  // new(x, y) = old(h - 1 - y, x). The source lies inside only for x < h and h - 1 - y < w;
  // the other pixels keep their values.
  const int xEnd = std::min(w, h);
  const int yBegin = std::max(0, h - w);
  // Reading columns of the source straight away thrashes the cache (the rows lie a power of two
  // apart): each tile's source block is first copied row by row into a small buffer, which is
  // then read by columns.
  constexpr int kTile = 64;
  static thread_local std::uint32_t block[kTile][kTile];
  for (int ty = yBegin; ty < h; ty += kTile) {
    const int tyEnd = std::min(ty + kTile, h);
    // Doc rows ty..tyEnd-1 read the source columns h-tyEnd..h-1-ty.
    const int sxBegin = h - tyEnd;
    const std::size_t spanBytes = static_cast<std::size_t>(tyEnd - ty) * sizeof(std::uint32_t);
    for (int tx = 0; tx < xEnd; tx += kTile) {
      const int txEnd = std::min(tx + kTile, xEnd);
      for (int sy = tx; sy < txEnd; ++sy)
        std::memcpy(block[sy - tx], src.Row(sy) + sxBegin, spanBytes);
      for (int y = ty; y < tyEnd; ++y) {
        std::uint32_t* d = doc.Row(y);
        const int column = h - 1 - y - sxBegin;
        for (int x = tx; x < txEnd; ++x) d[x] = block[x - tx][column];
      }
    }
  }
}

namespace {

// Snapshot, marker, the mapping from the picture as it was, and a full redraw.
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

}  // namespace

void mnShiftUpClick(EditorContext& ctx) {
  RunTransform(ctx, ShiftUp);
}
void mnShiftRightClick(EditorContext& ctx) {
  RunTransform(ctx, ShiftRight);
}
void mnShiftDownClick(EditorContext& ctx) {
  RunTransform(ctx, ShiftDown);
}
void mnShiftLeftClick(EditorContext& ctx) {
  RunTransform(ctx, ShiftLeft);
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
