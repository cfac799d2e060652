#include "image/image_transforms.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "image/pixel_runs.h"
#include "image/row_bands.h"

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

// v mod n in [0, n), for any v.
int Wrap(std::int64_t v, int n) {
  const std::int64_t r = v % n;
  return static_cast<int>(r < 0 ? r + n : r);
}

// The bytes of the whole picture, which decide whether a mapping is split across processors.
std::size_t PictureBytes(const Surface& s) {
  return s.RowBytes() * static_cast<std::size_t>(s.Height());
}

template <typename Pixel>
void ShiftRows(Surface& doc, const Surface& src, int dx, int dy, int top, int bottom) {
  const int w = doc.Width();
  const int h = doc.Height();
  const int from = Wrap(-std::int64_t{dx}, w);                    // d[x] = o[(x + from) mod w]
  int sourceRow = Wrap(std::int64_t{top} - std::int64_t{dy}, h);  // the row that lands in `top`
  for (int y = top; y < bottom; ++y) {
    Pixel* d = doc.Row<Pixel>(y);
    const Pixel* o = src.Row<Pixel>(sourceRow);
    StreamRun(d, o + from, w - from);
    StreamRun(d + w - from, o, from);
    if (++sourceRow == h) sourceRow = 0;
  }
}

template <typename Pixel>
void ReverseRows(Surface& doc, const Surface& src, int top, int bottom) {
  for (int y = top; y < bottom; ++y) {
    StreamRunReversed(doc.Row<Pixel>(y), src.Row<Pixel>(y), doc.Width());
  }
}

// The top-left m x m square of `src` turned a quarter counter-clockwise into rows top to
// top + m - 1 of `doc`: new(x, top + y) = old(m - 1 - y, x).
//
// Reading a column of the source walks across the cache and the memory's pages, so the turn
// goes tile by tile, in the order of the source's rows: a tile is turned straight out of the
// picture into a buffer that stays in the cache, and its turned rows are streamed out. Small
// tiles (rows of up to 128 bytes) keep the few source rows a tile reads in the cache and the
// page walks few; the picture's 2 MiB pages (PixelBuffer) do the rest.
//
// The bands of source rows [first, last) tiles high are turned; each writes columns of its own.
template <typename Pixel>
void TurnSquare(Surface& doc, const Surface& src, int m, int top, int first, int last) {
  constexpr int Tile = TurnTile<Pixel>;
  const std::size_t srcStride = src.RowBytes() / sizeof(Pixel);
  const std::size_t docStride = doc.RowBytes() / sizeof(Pixel);
  for (int r0 = first * Tile; r0 < std::min(last * Tile, m); r0 += Tile) {
    const int rows = std::min(Tile, m - r0);  // source rows, which become columns
    for (int c0 = 0; c0 < m; c0 += Tile) {
      const int columns = std::min(Tile, m - c0);  // source columns, which become rows
      StreamTurnedBlock(src.Row<Pixel>(r0) + c0, srcStride, columns, rows,
                        doc.Row<Pixel>(top + m - c0 - columns) + r0, docStride);
    }
  }
}

template <typename Pixel>
void RotateQuarter(Surface& doc, const Surface& src) {
  const int w = doc.Width();
  const int h = doc.Height();
  // new(x, y) = old(h - 1 - y, x). The source lies inside only for x < h and h - 1 - y < w: a
  // square of side m at the bottom left. The other pixels keep their values: they are taken
  // from the source too, so that the whole picture is written.
  const int m = std::min(w, h);
  if (m == 0) return;
  const int top = h - m;
  constexpr int Tile = TurnTile<Pixel>;
  const int bands = (m + Tile - 1) / Tile;
  ForEachBand(bands, PictureBytes(doc),
              [&](int first, int last) { TurnSquare<Pixel>(doc, src, m, top, first, last); });
  const std::size_t rest = (std::size_t{1} * w * h - std::size_t{1} * m * m) * sizeof(Pixel);
  if (rest == 0) return;
  ForEachBand(h, rest, [&](int first, int last) {
    for (int y = first; y < last; ++y) {
      const int from = y < top ? 0 : m;
      StreamRun(doc.Row<Pixel>(y) + from, src.Row<Pixel>(y) + from, w - from);
    }
  });
}

}  // namespace

void ShiftImage(Surface& doc, const Surface& old, int dx, int dy) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  if (doc.Width() == 0 || doc.Height() == 0) return;
  WithPixelType(doc.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    ForEachBand(doc.Height(), PictureBytes(doc),
                [&](int top, int bottom) { ShiftRows<Pixel>(doc, src, dx, dy, top, bottom); });
  });
  doc.MarkAllChanged();
}

void MirrorHorizontal(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  const int h = doc.Height();
  const auto bytes = static_cast<int>(doc.RowBytes());
  if (bytes == 0) return;
  ForEachBand(h, PictureBytes(doc), [&](int top, int bottom) {
    for (int y = top; y < bottom; ++y) StreamRun(doc.Bytes(y), src.Bytes(h - 1 - y), bytes);
  });
  doc.MarkAllChanged();
}

void MirrorVertical(Surface& doc, const Surface& old) {
  Surface scratch;
  const Surface& src = SourceFor(doc, old, scratch);
  WithPixelType(doc.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    ForEachBand(doc.Height(), PictureBytes(doc),
                [&](int top, int bottom) { ReverseRows<Pixel>(doc, src, top, bottom); });
  });
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
