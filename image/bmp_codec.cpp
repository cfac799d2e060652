#include "image/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

#include "image/bgr_rows.h"
#include "image/channel_masks.h"
#include "image/picture_memory.h"

namespace gk {

namespace {

constexpr std::int64_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t V2HeaderSize = 52;  // info + the three colour masks
constexpr std::uint32_t V3HeaderSize = 56;  // info + colour and alpha masks
constexpr std::uint32_t V4HeaderSize = 108;
constexpr std::uint32_t V5HeaderSize = 124;
constexpr std::int32_t PixelsPerMetre = 2835;  // 72 dots per inch

std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Pixels are moved as little-endian words, the order of both the file and the surface.
static_assert(std::endian::native == std::endian::little);

std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

std::uint16_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

[[noreturn]] void Fail(const std::string& name, const std::string& reason) {
  throw BmpError(name + ": " + reason);
}

// Bytes of one stored row: bits rounded up to whole 32-bit words.
std::int64_t RowStride(std::int64_t width, int bits) {
  return (width * bits + 31) / 32 * 4;
}

bool IsContiguous(std::uint32_t mask) {
  if (mask == 0) return true;
  const std::uint32_t low = mask >> std::countr_zero(mask);
  return (low & (low + 1)) == 0;
}

constexpr std::uint32_t Red555 = 0x7C00, Green555 = 0x03E0, Blue555 = 0x001F;
constexpr std::uint32_t Red888 = 0xFF0000, Green888 = 0x00FF00, Blue888 = 0x0000FF;

// The masks pixels pass through between a file and a surface: every 16-bit layout, and 32-bit
// ones other than B, G, R bytes, whose pixels are moved as they are.
std::optional<ChannelMasks> ConvertingMasks(int bits, std::uint32_t red, std::uint32_t green,
                                            std::uint32_t blue) {
  const bool plain32 = red == Red888 && green == Green888 && blue == Blue888;
  if (bits == 16 || (bits == 32 && !plain32)) return ChannelMasks(red, green, blue);
  return std::nullopt;
}

// Everything the headers say, checked, with the offsets the decoder needs.
struct Layout {
  BmpInfo info;
  std::uint32_t headerSize = 0;
  std::uint32_t redMask = 0, greenMask = 0, blueMask = 0;
  bool bitfields = false;
  std::int64_t tableOffset = 0;
  int tableEntryBytes = 4;
  std::int64_t pixelOffset = 0;
};

// `bytes` holds at least the headers and masks; `fileSize` is the whole file's length, which
// the pixel data offset may not pass.
Layout ParseLayout(std::span<const std::uint8_t> bytes, std::int64_t fileSize,
                   const std::string& name) {
  const std::int64_t size = static_cast<std::int64_t>(bytes.size());
  const std::uint8_t* b = bytes.data();
  if (size < 2 || b[0] != 'B' || b[1] != 'M') Fail(name, "not a BMP file");
  if (size < FileHeaderSize + 4) Fail(name, "file is truncated");

  Layout l;
  l.headerSize = Le32(b + FileHeaderSize);
  switch (l.headerSize) {
    case CoreHeaderSize:
      l.info.header = BmpHeaderKind::Core;
      break;
    case InfoHeaderSize:
    case V2HeaderSize:
    case V3HeaderSize:
      l.info.header = BmpHeaderKind::Info;
      break;
    case V4HeaderSize:
      l.info.header = BmpHeaderKind::V4;
      break;
    case V5HeaderSize:
      l.info.header = BmpHeaderKind::V5;
      break;
    default:
      Fail(name, "unsupported header size " + std::to_string(l.headerSize));
  }
  if (size < FileHeaderSize + l.headerSize) Fail(name, "file is truncated");
  const std::uint8_t* h = b + FileHeaderSize;
  const std::int64_t pixelOffset = Le32(b + 10);

  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t clrUsed = 0;
  if (l.info.header == BmpHeaderKind::Core) {
    width = Le16(h + 4);
    height = Le16(h + 6);
    l.info.bitsPerPixel = Le16(h + 10);
    l.info.compression = BiRgb;
    l.tableEntryBytes = 3;
  } else {
    width = static_cast<std::int32_t>(Le32(h + 4));
    height = static_cast<std::int32_t>(Le32(h + 8));
    l.info.bitsPerPixel = Le16(h + 14);
    l.info.compression = Le32(h + 16);
    clrUsed = Le32(h + 32);
  }
  // The plane count is not checked: writers disagree on it and it changes nothing here.

  if (width <= 0) Fail(name, "bad image width " + std::to_string(width));
  if (height == 0) Fail(name, "bad image height 0");
  l.info.topDown = height < 0;
  height = height < 0 ? -height : height;

  if (l.info.compression > BiBitfields)
    Fail(name, "unsupported compression " + CompressionName(l.info.compression));
  const int bits = l.info.bitsPerPixel;
  const bool coreBits = bits == 1 || bits == 4 || bits == 8 || bits == 24;
  if (!(coreBits || (l.info.header != BmpHeaderKind::Core && (bits == 16 || bits == 32))))
    Fail(name, "unsupported bit depth " + std::to_string(bits));

  switch (l.info.compression) {
    case BiRgb:
      break;
    case BiRle8:
    case BiRle4: {
      const int needed = l.info.compression == BiRle8 ? 8 : 4;
      if (bits != needed)
        Fail(name, CompressionName(l.info.compression) + " compression needs " +
                       std::to_string(needed) + " bits per pixel, not " + std::to_string(bits));
      if (l.info.topDown) Fail(name, "run-length encoded image stored top-down");
      break;
    }
    case BiBitfields:
      if (bits != 16 && bits != 32)
        Fail(name,
             "BI_BITFIELDS compression needs 16 or 32 bits per pixel, not " + std::to_string(bits));
      break;
  }

  if (width > MaxBmpSide || height > MaxBmpSide || width * height > MaxBmpPixels)
    Fail(name, "image too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
  l.info.width = static_cast<int>(width);
  l.info.height = static_cast<int>(height);

  // Masks lie inside V2 and later headers and right after a 40-byte one.
  std::int64_t afterHeader = FileHeaderSize + l.headerSize;
  if (l.info.compression == BiBitfields) {
    const std::uint8_t* m = h + InfoHeaderSize;
    if (l.headerSize == InfoHeaderSize) {
      if (size < afterHeader + 12) Fail(name, "file is truncated");
      m = b + afterHeader;
      afterHeader += 12;
    }
    l.redMask = Le32(m);
    l.greenMask = Le32(m + 4);
    l.blueMask = Le32(m + 8);
    l.bitfields = true;
    for (std::uint32_t mask : {l.redMask, l.greenMask, l.blueMask}) {
      if (!IsContiguous(mask)) Fail(name, "colour masks are not contiguous");
    }
    if ((l.redMask & l.greenMask) | (l.redMask & l.blueMask) | (l.greenMask & l.blueMask))
      Fail(name, "colour masks overlap");
    if (bits == 16 && ((l.redMask | l.greenMask | l.blueMask) >> 16) != 0)
      Fail(name, "colour masks do not fit in 16 bits");
  } else if (bits == 16) {
    l.redMask = Red555, l.greenMask = Green555, l.blueMask = Blue555;
  } else if (bits == 32) {
    l.redMask = Red888, l.greenMask = Green888, l.blueMask = Blue888;
  }

  l.tableOffset = afterHeader;
  if (pixelOffset > fileSize) Fail(name, "pixel data offset lies past the end of the file");
  if (pixelOffset < afterHeader) Fail(name, "pixel data offset lies inside the headers");
  if (bits <= 8) {
    const std::int64_t full = std::int64_t{1} << bits;
    std::int64_t entries = full;
    if (l.info.header == BmpHeaderKind::Core) {
      // A core header has no count: a shorter table shows only in the pixel offset.
      entries = std::min(full, (pixelOffset - afterHeader) / l.tableEntryBytes);
      if (entries == 0) Fail(name, "colour table is missing");
    } else if (clrUsed != 0) {
      if (clrUsed > full)
        Fail(name, "colour table too long (" + std::to_string(clrUsed) + " entries for " +
                       std::to_string(bits) + " bits per pixel)");
      entries = clrUsed;
    }
    if (afterHeader + entries * l.tableEntryBytes > pixelOffset)
      Fail(name, "colour table overlaps the pixel data");
    l.info.colourTableSize = static_cast<int>(entries);
  }
  l.pixelOffset = pixelOffset;
  return l;
}

PixelFormat FormatOf(const Layout& l, std::span<const std::uint8_t> bytes) {
  const int bits = l.info.bitsPerPixel;
  PixelFormat f;
  if (bits <= 8) {
    std::vector<Colour> table(static_cast<std::size_t>(l.info.colourTableSize));
    const std::uint8_t* t = bytes.data() + l.tableOffset;
    for (Colour& c : table) {
      c = MakeColour(t[2], t[1], t[0]);
      t += l.tableEntryBytes;
    }
    f = PixelFormat::Indexed(bits, std::move(table));
  } else if (bits == 24) {
    f = PixelFormat::Rgb24();
  } else {
    f = bits == 16 ? (l.bitfields ? PixelFormat::Rgb565() : PixelFormat::Rgb555())
                   : PixelFormat::Rgb32();
    f.redMask = l.redMask;
    f.greenMask = l.greenMask;
    f.blueMask = l.blueMask;
    f.bitfields = l.bitfields;
  }
  f.header = l.info.header;
  f.rleCompressed = l.info.compression == BiRle8 || l.info.compression == BiRle4;
  return f;
}

// Raw value for each possible file index: the index itself within the table, 0 beyond it,
// so a surface never holds an index its table lacks.
using IndexTable = std::array<std::uint8_t, 256>;

IndexTable IndexMap(int tableSize) {
  IndexTable map{};
  for (int i = 0; i < 256; ++i) map[i] = static_cast<std::uint8_t>(i < tableSize ? i : 0);
  return map;
}

// 8-bit rows are copied as they are; an index past the table, rare, is then put right.
void Decode8(const std::uint8_t* src, std::uint8_t* dst, int count, const IndexTable& map,
             int tableSize) {
  std::memcpy(dst, src, static_cast<std::size_t>(count));
  if (tableSize >= 256) return;
  std::uint8_t highest = 0;
  for (int x = 0; x < count; ++x) highest = std::max(highest, dst[x]);
  if (highest < tableSize) return;
  for (int x = 0; x < count; ++x) dst[x] = map[dst[x]];
}

// `src` holds the part's first pixel in its high bits.
void Decode1Or4(const std::uint8_t* src, std::uint8_t* dst, int count, int bits,
                const IndexTable& map) {
  if (bits == 1) {
    for (int x = 0; x < count; ++x) dst[x] = map[(src[x >> 3] >> (7 - (x & 7))) & 1];
  } else {
    for (int x = 0; x < count; ++x) dst[x] = map[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
  }
}

// Surface bytes a row part holds. Rows are converted part by part so that, while one part is
// done, the same part of the next surface row is asked for ahead of time: a bottom-up file walks
// the surface upwards, which the processor's own prefetching follows badly. A part's first pixel
// starts a whole byte of the file at every depth.
constexpr int PartBytes = 2048;

template <bool ForWrite>
void Prefetch(const std::uint8_t* p, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; i += 64) __builtin_prefetch(p + i, ForWrite ? 1 : 0, 3);
}

// Calls convert(row, y, x0, count) for every part of every file row, in file order: `row`
// counts the file's rows, `y` is the surface row it holds.
template <bool ForWrite, typename Convert>
void ForEachRowPart(const Surface& surface, bool topDown, Convert convert) {
  const int width = surface.Width();
  const int height = surface.Height();
  const std::size_t pixelBytes = static_cast<std::size_t>(surface.BytesPerPixel());
  const int partPixels = PartBytes / surface.BytesPerPixel();
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    const std::uint8_t* next = !topDown && y > 0 ? surface.Bytes(y - 1) : nullptr;
    for (int x0 = 0; x0 < width; x0 += partPixels) {
      const int count = std::min(partPixels, width - x0);
      if (next) Prefetch<ForWrite>(next + x0 * pixelBytes, count * pixelBytes);
      convert(row, y, x0, count);
    }
  }
}

// How the rows of one file become surface rows.
struct RowDecoder {
  int bits = 0;
  int tableSize = 0;
  IndexTable indices{};
  std::optional<ChannelMasks> masks;  // 16 bits, and 32 bits with other than B, G, R masks
  std::vector<std::uint16_t> wide16;  // 16 bits with a channel wider than 8 bits: each pixel

  // Pixels x0 .. x0 + count - 1 of the file row `row` into surface row y.
  void operator()(const std::uint8_t* row, Surface& surface, int y, int x0, int count) const {
    const std::uint8_t* src = row + static_cast<std::size_t>(x0) * bits / 8;
    switch (bits) {
      case 1:
      case 4:
        Decode1Or4(src, surface.Row<std::uint8_t>(y) + x0, count, bits, indices);
        break;
      case 8:
        Decode8(src, surface.Row<std::uint8_t>(y) + x0, count, indices, tableSize);
        break;
      case 16: {
        // Only the colour bits are kept, so equal colours are equal pixels.
        std::uint16_t* dst = surface.Row<std::uint16_t>(y) + x0;
        if (wide16.empty()) {
          const auto keep = static_cast<std::uint16_t>(masks->ColourBits());
          for (int x = 0; x < count; ++x) dst[x] = Load16(src + 2 * x) & keep;
        } else {
          for (int x = 0; x < count; ++x) dst[x] = wide16[Load16(src + 2 * x)];
        }
        break;
      }
      case 24:
        BgrToWords(src, surface.Row<std::uint32_t>(y) + x0, count);
        break;
      case 32: {
        std::uint32_t* dst = surface.Row<std::uint32_t>(y) + x0;
        if (!masks) {
          for (int x = 0; x < count; ++x) dst[x] = Load32(src + 4 * x) | 0xFF000000u;
        } else {
          for (int x = 0; x < count; ++x) dst[x] = Rgb32Word(masks->ToColour(Load32(src + 4 * x)));
        }
        break;
      }
    }
  }
};

RowDecoder MakeRowDecoder(const Layout& l) {
  RowDecoder d;
  d.bits = l.info.bitsPerPixel;
  d.tableSize = l.info.colourTableSize;
  d.indices = IndexMap(d.tableSize);
  d.masks = ConvertingMasks(d.bits, l.redMask, l.greenMask, l.blueMask);
  if (d.bits == 16 && !d.masks->Narrow8()) {
    // A channel of more than 8 bits holds more than a colour can: each pixel becomes the one
    // its colour gives, as a write of that colour would store.
    d.wide16.resize(65536);
    for (std::uint32_t v = 0; v < 65536; ++v) {
      d.wide16[v] = static_cast<std::uint16_t>(d.masks->ToPixel(d.masks->ToColour(v)));
    }
  }
  return d;
}

// Checked before the surface is made, so a short file never costs a large allocation.
void CheckPixelBytes(const Layout& l, std::span<const std::uint8_t> bytes,
                     const std::string& name) {
  const std::int64_t width = l.info.width;
  const int bits = l.info.bitsPerPixel;
  // The last row's padding may be missing; its pixels may not.
  const std::int64_t needed = RowStride(width, bits) * (l.info.height - 1) + (width * bits + 7) / 8;
  if (static_cast<std::int64_t>(bytes.size()) - l.pixelOffset < needed)
    Fail(name, "file is truncated");
}

void DecodeUncompressed(const Layout& l, std::span<const std::uint8_t> bytes, Surface& surface) {
  const std::int64_t stride = RowStride(l.info.width, l.info.bitsPerPixel);
  const RowDecoder decode = MakeRowDecoder(l);
  const std::uint8_t* data = bytes.data() + l.pixelOffset;
  ForEachRowPart<true>(surface, l.info.topDown, [&](int row, int y, int x0, int count) {
    decode(data + stride * row, surface, y, x0, count);
  });
}

// Run-length data, 8 or 4 bits a pixel. Rows run bottom-up; pixels the data skips keep index 0.
void DecodeRle(const Layout& l, std::span<const std::uint8_t> bytes, const std::string& name,
               Surface& surface) {
  const bool four = l.info.compression == BiRle4;
  const std::int64_t width = l.info.width;
  const std::int64_t height = l.info.height;
  const IndexTable indices = IndexMap(l.info.colourTableSize);
  for (int y = 0; y < height; ++y) std::fill_n(surface.Row<std::uint8_t>(y), width, 0);

  const std::uint8_t* p = bytes.data() + l.pixelOffset;
  const std::uint8_t* end = bytes.data() + bytes.size();
  std::int64_t x = 0;
  std::int64_t row = 0;  // counted from the bottom
  auto need = [&](std::int64_t n) {
    if (end - p < n) Fail(name, "file is truncated");
  };
  // Where a run of `count` pixels goes and how many of them fit: writers pad rows with runs
  // that reach past the row end (into the padding), so the part beyond the row is dropped.
  struct Run {
    std::uint8_t* dst;
    int fits;
  };
  auto place = [&](int count) -> Run {
    if (row >= height) Fail(name, "RLE data runs past the end of the image");
    const std::int64_t start = std::min(x, width);
    x += count;
    return {surface.Row<std::uint8_t>(static_cast<int>(height - 1 - row)) + start,
            static_cast<int>(std::min(x, width) - start)};
  };

  for (;;) {
    if (p == end) {
      // Data that stops right after the last row is complete without an end-of-bitmap mark.
      if (row >= height) return;
      Fail(name, "file is truncated");
    }
    need(2);
    const int count = p[0];
    const int value = p[1];
    p += 2;
    if (count > 0) {
      const Run run = place(count);
      if (four) {
        const std::uint8_t hi = indices[value >> 4];
        const std::uint8_t lo = indices[value & 15];
        for (int i = 0; i < run.fits; ++i) run.dst[i] = (i & 1) ? lo : hi;
      } else {
        std::fill_n(run.dst, run.fits, indices[value]);
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++row;
        break;
      case 1:  // end of bitmap
        return;
      case 2: {  // delta: move right and up
        need(2);
        const int dx = p[0];
        const int dy = p[1];
        p += 2;
        if (row + dy > height) Fail(name, "RLE data runs past the end of the image");
        x += dx;
        row += dy;
        break;
      }
      default: {  // absolute run of `value` pixels, padded to 16 bits
        const std::int64_t dataBytes = four ? (value + 1) / 2 : value;
        const std::int64_t padded = (dataBytes + 1) & ~std::int64_t{1};
        need(padded);
        const Run run = place(value);
        if (four) {
          Decode1Or4(p, run.dst, run.fits, 4, indices);
        } else {
          for (int i = 0; i < run.fits; ++i) run.dst[i] = indices[p[i]];
        }
        p += padded;
        break;
      }
    }
  }
}

void Put16(std::uint8_t*& p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p += 2;
}

void Put32(std::uint8_t*& p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
  p += 4;
}

// How surface rows become the rows of a file: each writes its pixels' bytes, not the padding.
struct RowEncoder {
  int bits = 0;
  bool sameMasks = false;             // 16 bits: the file's masks are the surface's
  std::optional<ChannelMasks> masks;  // 16 bits, and 32 bits with other than B, G, R masks

  // Pixels x0 .. x0 + count - 1 of surface row y into the file row `row`.
  void operator()(const Surface& surface, int y, std::uint8_t* row, int x0, int count) const {
    std::uint8_t* dst = row + static_cast<std::size_t>(x0) * bits / 8;
    switch (bits) {
      case 1:
      case 4: {
        const std::uint8_t* src = surface.Row<std::uint8_t>(y) + x0;
        const int perByte = 8 / bits;
        const unsigned valueMask = (1u << bits) - 1;
        for (int x = 0; x < count; x += perByte) {
          unsigned byte = 0;
          for (int i = 0; i < perByte; ++i) {
            const unsigned v = x + i < count ? src[x + i] & valueMask : 0;
            byte = (byte << bits) | v;
          }
          dst[x / perByte] = static_cast<std::uint8_t>(byte);
        }
        break;
      }
      case 8:
        std::memcpy(dst, surface.Row<std::uint8_t>(y) + x0, static_cast<std::size_t>(count));
        break;
      case 16: {
        const std::uint16_t* src = surface.Row<std::uint16_t>(y) + x0;
        if (sameMasks) {
          std::memcpy(dst, src, 2 * static_cast<std::size_t>(count));
        } else {
          for (int x = 0; x < count; ++x) Put16(dst, masks->ToPixel(surface.Decode(src[x])));
        }
        break;
      }
      case 24:
        WordsToBgr(surface.Row<std::uint32_t>(y) + x0, dst, count);
        break;
      case 32: {
        const std::uint32_t* src = surface.Row<std::uint32_t>(y) + x0;
        if (!masks) {
          for (int x = 0; x < count; ++x) {
            const std::uint32_t v = src[x] & 0x00FFFFFFu;
            std::memcpy(dst + 4 * x, &v, 4);
          }
        } else {
          for (int x = 0; x < count; ++x) Put32(dst, masks->ToPixel(surface.Decode(src[x])));
        }
        break;
      }
    }
  }
};

}  // namespace

BmpInfo ReadBmpInfo(std::span<const std::uint8_t> bytes, const std::string& name) {
  return ParseLayout(bytes, static_cast<std::int64_t>(bytes.size()), name).info;
}

BmpInfo ReadBmpInfo(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                    const std::string& name) {
  const std::uint64_t size = std::max<std::uint64_t>(fileSize, head.size());
  return ParseLayout(head, static_cast<std::int64_t>(std::min<std::uint64_t>(size, INT64_MAX)),
                     name)
      .info;
}

Surface DecodeBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
  const Layout l = ParseLayout(bytes, static_cast<std::int64_t>(bytes.size()), name);
  const bool rle = l.info.compression == BiRle8 || l.info.compression == BiRle4;
  if (!rle) CheckPixelBytes(l, bytes, name);
  // Every pixel is written below: by the rows, or by the run-length decoder's first clearing.
  Surface surface = WithPictureMemory(
      name, {l.info.width, l.info.height, l.info.bitsPerPixel},
      [&] { return Surface::Unfilled(l.info.width, l.info.height, FormatOf(l, bytes)); });
  if (rle) {
    DecodeRle(l, bytes, name, surface);
  } else {
    DecodeUncompressed(l, bytes, surface);
  }
  return surface;
}

BmpBytes EncodeBmp(const Surface& surface) {
  const PixelFormat& f = surface.Format();
  const int bits = f.bitsPerPixel;
  const std::int64_t width = surface.Width();
  const std::int64_t height = surface.Height();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    throw BmpError("cannot write a BMP file of " + std::to_string(bits) + " bits per pixel");
  if (width <= 0 || height <= 0 || width > MaxBmpSide || height > MaxBmpSide ||
      width * height > MaxBmpPixels)
    throw BmpError("cannot write a BMP file of " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels");

  const bool core = f.header == BmpHeaderKind::Core && bits != 16 && bits != 32;
  const bool bitfields = f.bitfields && (bits == 16 || bits == 32);

  // At most 2^bits entries fit; an empty table gets one black entry so the file still has one.
  std::vector<Colour> table;
  if (bits <= 8) {
    const std::size_t full = std::size_t{1} << bits;
    table.assign(f.colourTable.begin(),
                 f.colourTable.begin() + std::min(full, f.colourTable.size()));
    if (table.empty()) table.push_back(Black);
  }
  // Explicit masks are written back; without them (or with none set) the BI_RGB layout holds.
  std::array<std::uint32_t, 3> maskValues{bits == 16 ? Red555 : Red888,
                                          bits == 16 ? Green555 : Green888,
                                          bits == 16 ? Blue555 : Blue888};
  if (bitfields && (f.redMask | f.greenMask | f.blueMask) != 0)
    maskValues = {f.redMask, f.greenMask, f.blueMask};
  RowEncoder encode;
  encode.bits = bits;
  encode.masks = ConvertingMasks(bits, maskValues[0], maskValues[1], maskValues[2]);
  encode.sameMasks = bits == 16 && maskValues[0] == (f.redMask & 0xFFFF) &&
                     maskValues[1] == (f.greenMask & 0xFFFF) &&
                     maskValues[2] == (f.blueMask & 0xFFFF);

  const std::int64_t headerSize = core ? CoreHeaderSize : InfoHeaderSize;
  const std::int64_t maskBytes = bitfields ? 12 : 0;
  const std::int64_t tableBytes = static_cast<std::int64_t>(table.size()) * (core ? 3 : 4);
  const std::int64_t offset = FileHeaderSize + headerSize + maskBytes + tableBytes;
  const std::int64_t stride = RowStride(width, bits);
  const std::int64_t imageBytes = stride * height;
  BmpBytes out(static_cast<std::size_t>(offset + imageBytes));

  std::uint8_t* p = out.data();
  *p++ = 'B';
  *p++ = 'M';
  Put32(p, static_cast<std::uint32_t>(out.size()));
  Put32(p, 0);
  Put32(p, static_cast<std::uint32_t>(offset));
  Put32(p, static_cast<std::uint32_t>(headerSize));
  if (core) {
    Put16(p, static_cast<std::uint32_t>(width));
    Put16(p, static_cast<std::uint32_t>(height));
    Put16(p, 1);
    Put16(p, static_cast<std::uint32_t>(bits));
  } else {
    Put32(p, static_cast<std::uint32_t>(width));
    Put32(p, static_cast<std::uint32_t>(height));
    Put16(p, 1);
    Put16(p, static_cast<std::uint32_t>(bits));
    Put32(p, bitfields ? BiBitfields : BiRgb);
    Put32(p, static_cast<std::uint32_t>(imageBytes));
    Put32(p, PixelsPerMetre);
    Put32(p, PixelsPerMetre);
    const bool shortTable = bits <= 8 && table.size() < (std::size_t{1} << bits);
    Put32(p, shortTable ? static_cast<std::uint32_t>(table.size()) : 0);
    Put32(p, 0);
    if (bitfields) {
      for (std::uint32_t mask : maskValues) Put32(p, mask);
    }
  }
  for (Colour c : table) {
    *p++ = BlueOf(c);
    *p++ = GreenOf(c);
    *p++ = RedOf(c);
    if (!core) *p++ = 0;
  }

  std::uint8_t* data = out.data() + offset;
  const std::int64_t pixelBytes = (width * bits + 7) / 8;
  ForEachRowPart<false>(surface, false, [&](int row, int y, int x0, int count) {
    std::uint8_t* dst = data + stride * row;
    encode(surface, y, dst, x0, count);
    if (x0 + count == width) std::fill(dst + pixelBytes, dst + stride, std::uint8_t{0});
  });
  return out;
}

std::string HeaderKindName(BmpHeaderKind kind) {
  switch (kind) {
    case BmpHeaderKind::Core:
      return "core";
    case BmpHeaderKind::Info:
      return "info";
    case BmpHeaderKind::V4:
      return "v4";
    case BmpHeaderKind::V5:
      return "v5";
  }
  return "unknown";
}

std::string CompressionName(std::uint32_t code) {
  switch (code) {
    case BiRgb:
      return "BI_RGB";
    case BiRle8:
      return "BI_RLE8";
    case BiRle4:
      return "BI_RLE4";
    case BiBitfields:
      return "BI_BITFIELDS";
    case 4:
      return "BI_JPEG";
    case 5:
      return "BI_PNG";
    case 6:
      return "BI_ALPHABITFIELDS";
  }
  return "code " + std::to_string(code);
}

}  // namespace gk
