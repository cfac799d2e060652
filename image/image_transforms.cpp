#include "image/image_transforms.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

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
  scratch = Surface::Unfilled(old.Width(), old.Height(), doc.Format());
  CopyBlock(scratch, 0, 0, old.Width(), old.Height(), old, 0, 0);
  return scratch;
}

template <typename Pixel>
std::size_t PixelBytes(std::int64_t pixels) {
  return static_cast<std::size_t>(pixels) * sizeof(Pixel);
}

// v mod n in [0, n), for any v.
int Wrap(std::int64_t v, int n) {
  const std::int64_t r = v % n;
  return static_cast<int>(r < 0 ? r + n : r);
}

// d[x] = o[(x + from) mod w] for one row, 0 < from < w.
template <typename Pixel>
void RotateRow(Pixel* d, const Pixel* o, int w, int from) {
  const int tail = w - from;  // o[from..w-1] lands at the start of d
  if (tail < from) {
    // The longer part moves right by a little. Copying it straight there runs several times
    // slower: the loads and stores, a few bytes apart modulo the page size, falsely depend on
    // each other. Copy the row whole, then move that part in place.
    std::memcpy(d, o, PixelBytes<Pixel>(w));
    std::memmove(d + tail, d, PixelBytes<Pixel>(from));
    std::copy(o + from, o + w, d);
    return;
  }
  std::memcpy(d, o + from, PixelBytes<Pixel>(tail));
  std::memcpy(d + tail, o, PixelBytes<Pixel>(from));
}

template <typename Pixel>
void ShiftRows(Surface& doc, const Surface& src, int dx, int dy) {
  const int w = doc.Width();
  const int h = doc.Height();
  const int from = Wrap(-std::int64_t{dx}, w);
  int sourceRow = Wrap(-std::int64_t{dy}, h);  // the row that lands in row 0
  for (int y = 0; y < h; ++y) {
    Pixel* d = doc.Row<Pixel>(y);
    const Pixel* o = src.Row<Pixel>(sourceRow);
    if (from == 0) {
      std::memcpy(d, o, PixelBytes<Pixel>(w));
    } else {
      RotateRow(d, o, w, from);
    }
    if (++sourceRow == h) sourceRow = 0;
  }
}

template <typename Pixel>
void ReverseRows(Surface& doc, const Surface& src) {
  const int w = doc.Width();
  for (int y = 0; y < doc.Height(); ++y) {
    std::reverse_copy(src.Row<Pixel>(y), src.Row<Pixel>(y) + w, doc.Row<Pixel>(y));
  }
}

template <typename Pixel>
void RotateQuarter(Surface& doc, const Surface& src) {
  const int w = doc.Width();
  const int h = doc.Height();
  // new(x, y) = old(h - 1 - y, x). The source lies inside only for x < h and h - 1 - y < w;
  // the other pixels keep their values.
  const int xEnd = std::min(w, h);
  const int yBegin = std::max(0, h - w);
  // Reading columns of the source straight away thrashes the cache (the rows lie a power of two
  // apart): each tile's source block is first copied row by row into a small buffer, which is
  // then read by columns.
  constexpr int Tile = 64;
  static thread_local Pixel block[Tile][Tile];
  for (int ty = yBegin; ty < h; ty += Tile) {
    const int tyEnd = std::min(ty + Tile, h);
    // Doc rows ty..tyEnd-1 read the source columns h-tyEnd..h-1-ty.
    const int sxBegin = h - tyEnd;
    const std::size_t spanBytes = PixelBytes<Pixel>(tyEnd - ty);
    for (int tx = 0; tx < xEnd; tx += Tile) {
      const int txEnd = std::min(tx + Tile, xEnd);
      for (int sy = tx; sy < txEnd; ++sy)
        std::memcpy(block[sy - tx], src.Row<Pixel>(sy) + sxBegin, spanBytes);
      for (int y = ty; y < tyEnd; ++y) {
        Pixel* d = doc.Row<Pixel>(y);
        const int column = h - 1 - y - sxBegin;
        for (int x = tx; x < txEnd; ++x) d[x] = block[x - tx][column];
      }
    }
  }
}

}  // namespace

void ShiftImage(Surface& doc, const Surface& old, int dx, int dy) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  if (doc.Width() == 0 || doc.Height() == 0) return;
  WithPixelType(doc.BytesPerPixel(),
                [&]<typename Pixel>(Pixel*) { ShiftRows<Pixel>(doc, src, dx, dy); });
  doc.MarkAllChanged();
}

void MirrorHorizontal(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const int h = doc.Height();
  const std::size_t bytes = doc.RowBytes();
  if (bytes == 0) return;
  for (int y = 0; y < h; ++y) std::memcpy(doc.Bytes(y), src.Bytes(h - 1 - y), bytes);
  doc.MarkAllChanged();
}

void MirrorVertical(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  WithPixelType(doc.BytesPerPixel(), [&]<typename Pixel>(Pixel*) { ReverseRows<Pixel>(doc, src); });
  doc.MarkAllChanged();
}

void Rotate(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  WithPixelType(doc.BytesPerPixel(),
                [&]<typename Pixel>(Pixel*) { RotateQuarter<Pixel>(doc, src); });
  doc.MarkAllChanged();
}

}  // namespace gk
