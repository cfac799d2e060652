// The PNG that libpng writes for a surface when given only the format and the rows: the
// reference our export is held against, for size in the tests and for time in the benchmarks.
#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

#include "image/surface.h"

namespace gk::testing {

// The libpng run, apart so that the function holding the setjmp owns nothing with a destructor.
inline bool WriteWithLibpngDefaults(const Surface& s, const png_color* palette, int paletteSize,
                                    png_byte* row, std::vector<std::uint8_t>* out) {
  const bool indexed = s.Format().IsIndexed();
  const bool direct = row == nullptr;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(
      png, out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, s.Width(), s.Height(), 8,
               indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (indexed) png_set_PLTE(png, info, palette, paletteSize);
  png_write_info(png, info);
  if (!indexed && direct) {
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
  }
  for (int y = 0; y < s.Height(); ++y) {
    if (direct) {
      png_write_row(png, s.Bytes(y));
      continue;
    }
    for (int x = 0; x < s.Width(); ++x) {
      const Colour c = s.ReadPixel(x, y);
      row[3 * x] = RedOf(c);
      row[3 * x + 1] = GreenOf(c);
      row[3 * x + 2] = BlueOf(c);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Indexed surfaces and 4-byte colour surfaces are fed as they lie in memory, as our library
// feeds them; any other format row by row through its colours. Empty on a libpng error.
inline std::vector<std::uint8_t> EncodeWithLibpngDefaults(const Surface& s) {
  const bool direct = s.Format().IsIndexed() || s.BytesPerPixel() == 4;
  std::vector<png_color> palette;
  for (Colour c : s.Format().colourTable) palette.push_back({RedOf(c), GreenOf(c), BlueOf(c)});
  std::vector<png_byte> row(direct ? 0 : static_cast<std::size_t>(s.Width()) * 3);
  std::vector<std::uint8_t> out;
  if (!WriteWithLibpngDefaults(s, palette.data(), static_cast<int>(palette.size()),
                               direct ? nullptr : row.data(), &out)) {
    return {};
  }
  return out;
}

}  // namespace gk::testing
