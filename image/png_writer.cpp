#include "image/png_writer.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

namespace gk {

namespace {

// How rows are filtered before compression. libpng's default tries five filters on every row
// of a colour image, which costs more than the compression; pixel art needs one. Scaled up, it
// repeats most rows, which Up turns into zeros; drawn at its own size it is mostly flat runs,
// which compress best unfiltered. Other colour pictures (a photo) keep libpng's choice, and so
// do index images, which libpng leaves unfiltered.
enum class FilterChoice { Up, None, LibpngDefault };

// Everything the libpng run needs, prepared beforehand so that the function holding the setjmp
// owns no object with a destructor: a longjmp out of libpng then skips nothing.
struct EncodeJob {
  const Surface* surface = nullptr;
  bool indexed = false;
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  png_color palette[256] = {};
  int paletteSize = 0;
  png_byte tableAlpha[256] = {};  // indexed: the alpha of the first `tableAlphaSize` entries
  int tableAlphaSize = 0;
  bool keyed = false;  // grey or colour: the pixels of alpha 0 are those of colour `key`
  png_color_16 key = {};
  int level = -1;  // -1: libpng's default
  FilterChoice filter = FilterChoice::LibpngDefault;
  png_byte* row = nullptr;  // a row converted to R, G, B bytes, where one is needed
  PictureBytes* out = nullptr;
  bool outOfMemory = false;  // the encoded file did not fit in memory
  char error[256] = {};
};

void ErrorFn(png_structp png, png_const_charp message) {
  auto* job = static_cast<EncodeJob*>(png_get_error_ptr(png));
  std::snprintf(job->error, sizeof job->error, "%s", message ? message : "PNG encoder error");
  png_longjmp(png, 1);
}

void WarningFn(png_structp, png_const_charp) {}

void WriteFn(png_structp png, png_bytep data, png_size_t length) {
  auto* job = static_cast<EncodeJob*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    job->out->insert(job->out->end(), data, data + length);
  } catch (...) {
    failed = true;
  }
  // Raised outside the handler, so the longjmp leaves no exception half handled.
  if (failed) {
    job->outOfMemory = true;
    png_error(png, "out of memory");
  }
}

void FlushFn(png_structp) {}

// One row as libpng takes it. Index rows (one byte an index, which libpng packs) and 32-bit
// rows of colour (B, G, R and a fourth byte, which libpng reorders, and drops unless it is the
// alpha) are the surface's own; grey rows are made of the red byte (and the alpha), other rows
// converted to R, G, B bytes first.
const png_byte* RowFor(const EncodeJob& job, int y) noexcept {
  const Surface& s = *job.surface;
  const bool grey = (job.colourType & PNG_COLOR_MASK_COLOR) == 0;
  if (job.indexed || (s.BytesPerPixel() == 4 && !grey)) return s.Bytes(y);
  if (grey) {
    const std::uint32_t* raw = s.Row<std::uint32_t>(y);
    const bool withAlpha = (job.colourType & PNG_COLOR_MASK_ALPHA) != 0;
    png_byte* p = job.row;
    for (int x = 0; x < s.Width(); ++x) {
      *p++ = static_cast<png_byte>(raw[x] >> 16);
      if (withAlpha) *p++ = static_cast<png_byte>(raw[x] >> 24);
    }
    return job.row;
  }
  WithPixelType(s.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    const Pixel* raw = s.Row<Pixel>(y);
    png_byte* p = job.row;
    for (int x = 0; x < s.Width(); ++x) {
      const Colour c = s.Decode(raw[x]);
      *p++ = RedOf(c);
      *p++ = GreenOf(c);
      *p++ = BlueOf(c);
    }
  });
  return job.row;
}

bool RunLibpng(EncodeJob* job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, ErrorFn, WarningFn);
  if (!png) {
    std::snprintf(job->error, sizeof job->error, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(job->error, sizeof job->error, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, job, WriteFn, FlushFn);
  const Surface& s = *job->surface;
  png_set_IHDR(png, info, static_cast<png_uint_32>(s.Width()), static_cast<png_uint_32>(s.Height()),
               job->bitDepth, job->colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (job->indexed) png_set_PLTE(png, info, job->palette, job->paletteSize);
  if (job->tableAlphaSize > 0) {
    png_set_tRNS(png, info, job->tableAlpha, job->tableAlphaSize, nullptr);
  } else if (job->keyed) {
    png_set_tRNS(png, info, nullptr, 0, &job->key);
  }
  if (job->filter != FilterChoice::LibpngDefault) {
    png_set_filter(png, PNG_FILTER_TYPE_BASE,
                   job->filter == FilterChoice::Up ? PNG_FILTER_UP : PNG_FILTER_NONE);
  }
  if (job->level >= 0) png_set_compression_level(png, job->level);
  png_write_info(png, info);
  if (job->indexed && job->bitDepth < 8) png_set_packing(png);
  if ((job->colourType & PNG_COLOR_MASK_COLOR) != 0 && !job->indexed && s.BytesPerPixel() == 4) {
    png_set_bgr(png);
    if ((job->colourType & PNG_COLOR_MASK_ALPHA) == 0) png_set_filler(png, 0, PNG_FILLER_AFTER);
  }
  for (int y = 0; y < s.Height(); ++y) png_write_row(png, RowFor(*job, y));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// A 32-bit surface with alpha: whether every pixel is grey, whether any is not opaque, and the
// one colour of its pixels of alpha 0 when they are the only ones not opaque and no opaque pixel
// has that colour.
struct AlphaPicture {
  bool grey = true;
  bool transparent = false;
  bool keyable = true;
  std::uint32_t key = 0;  // 0x00RRGGBB
};

AlphaPicture LookAtAlpha(const Surface& s) {
  AlphaPicture p;
  for (int y = 0; y < s.Height(); ++y) {
    const std::uint32_t* row = s.Row<std::uint32_t>(y);
    for (int x = 0; x < s.Width(); ++x) {
      const std::uint32_t raw = row[x];
      const std::uint32_t red = (raw >> 16) & 0xFF;
      if (red != ((raw >> 8) & 0xFF) || red != (raw & 0xFF)) p.grey = false;
      const std::uint32_t alpha = raw >> 24;
      if (alpha == 255) continue;
      if (alpha != 0 || (p.transparent && (raw & 0xFFFFFF) != p.key)) p.keyable = false;
      p.key = raw & 0xFFFFFF;
      p.transparent = true;
    }
  }
  if (!p.transparent || !p.keyable) return p;
  const std::uint32_t opaqueKey = p.key | 0xFF000000u;
  for (int y = 0; y < s.Height() && p.keyable; ++y) {
    const std::uint32_t* row = s.Row<std::uint32_t>(y);
    p.keyable = std::find(row, row + s.Width(), opaqueKey) == row + s.Width();
  }
  return p;
}

// A 32-bit surface with alpha is written in the kind its file had, as far as that kind holds its
// pixels: grey only while every pixel is grey; one transparent colour only while that colour
// alone marks the pixels that are not opaque (none at all when every pixel is opaque); else with
// an alpha channel.
void ChooseAlphaKind(const Surface& s, EncodeJob& job) {
  const PixelFormat& f = s.Format();
  const AlphaPicture picture = LookAtAlpha(s);
  const bool grey = f.greyFile && picture.grey;
  const bool channel = !f.colourKey || (picture.transparent && !picture.keyable);
  job.keyed = f.colourKey && picture.transparent && picture.keyable;
  job.colourType =
      (grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB) | (channel ? PNG_COLOR_MASK_ALPHA : 0);
  if (job.keyed) {
    job.key.red = static_cast<png_uint_16>(picture.key >> 16);
    job.key.green = static_cast<png_uint_16>((picture.key >> 8) & 0xFF);
    job.key.blue = static_cast<png_uint_16>(picture.key & 0xFF);
    job.key.gray = job.key.red;
  }
}

// Decides how the surface is written. Indexed surfaces stay indexed at their own depth with
// their own (possibly short) table and its alpha; an index beyond the table gets the colour the
// surface shows for it, so the PNG always matches what the BMP shows.
void ChooseFormat(const Surface& s, EncodeJob& job) {
  const PixelFormat& f = s.Format();
  job.indexed = false;
  job.colourType = PNG_COLOR_TYPE_RGB;
  job.bitDepth = 8;
  if (f.alpha && s.BytesPerPixel() == 4) {
    ChooseAlphaKind(s, job);
    return;
  }
  if (!f.IsIndexed() || (f.bitsPerPixel != 1 && f.bitsPerPixel != 4 && f.bitsPerPixel != 8)) {
    return;
  }
  const std::uint32_t limit = 1u << f.bitsPerPixel;
  std::uint8_t highest = 0;
  for (int y = 0; y < s.Height(); ++y) {
    const std::uint8_t* raw = s.Row<std::uint8_t>(y);
    for (int x = 0; x < s.Width(); ++x) highest = std::max(highest, raw[x]);
  }
  if (highest >= limit) return;  // not a valid index image: fall back to RGB, still exact
  const std::uint32_t tableSize =
      std::min<std::uint32_t>(static_cast<std::uint32_t>(f.colourTable.size()), limit);
  job.paletteSize = static_cast<int>(
      std::min<std::uint32_t>(std::max<std::uint32_t>(tableSize, highest + 1u), 256));
  for (std::size_t i = 0; i < std::size(job.tableAlpha) && i < std::size_t(job.paletteSize); ++i) {
    const auto raw = static_cast<std::uint32_t>(i);
    const Colour c = s.Decode(raw);
    job.palette[i] = png_color{RedOf(c), GreenOf(c), BlueOf(c)};
    job.tableAlpha[i] = s.AlphaOf(raw);
    // The chunk ends at its last entry that is not opaque.
    if (job.tableAlpha[i] != 255) job.tableAlphaSize = static_cast<int>(i + 1);
  }
  job.indexed = true;
  job.colourType = PNG_COLOR_TYPE_PALETTE;
  job.bitDepth = f.bitsPerPixel;
}

FilterChoice ChooseFilter(const Surface& s) {
  if (s.Format().IsIndexed() || s.Height() < 2) return FilterChoice::LibpngDefault;
  int repeatedRows = 0;
  for (int y = 1; y < s.Height(); ++y) {
    repeatedRows += std::memcmp(s.Bytes(y), s.Bytes(y - 1), s.RowBytes()) == 0;
  }
  if (2 * repeatedRows >= s.Height() - 1) return FilterChoice::Up;
  std::int64_t runPixels = 0;
  WithPixelType(s.BytesPerPixel(), [&]<typename Pixel>(Pixel*) {
    for (int y = 0; y < s.Height(); ++y) {
      const Pixel* row = s.Row<Pixel>(y);
      for (int x = 1; x < s.Width(); ++x) runPixels += row[x] == row[x - 1];
    }
  });
  const std::int64_t pairs = std::int64_t{s.Width() - 1} * s.Height();
  return 2 * runPixels >= pairs ? FilterChoice::None : FilterChoice::LibpngDefault;
}

}  // namespace

PictureBytes EncodePng(const Surface& s, int level, const std::string& name) {
  EncodeJob job;
  job.surface = &s;
  job.level = level;
  job.filter = ChooseFilter(s);
  ChooseFormat(s, job);
  std::vector<png_byte> row;
  if (!job.indexed && (s.BytesPerPixel() != 4 || (job.colourType & PNG_COLOR_MASK_COLOR) == 0)) {
    row.resize(static_cast<std::size_t>(s.Width()) * 3);
  }
  PictureBytes encoded;
  job.row = row.data();
  job.out = &encoded;
  if (!RunLibpng(&job)) {
    if (job.outOfMemory) throw std::bad_alloc();
    throw std::runtime_error(name + ": cannot write: " + job.error);
  }
  return encoded;
}

}  // namespace gk
