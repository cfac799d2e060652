#include "image/png_reader.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "image/bmp_codec.h"
#include "image/picture_memory.h"

namespace gk {

namespace {

constexpr std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t ChunkOverhead = 12;  // length, type and CRC
constexpr std::uint32_t MaxChunkLength = 0x7FFFFFFF;
// Deflate packs at most 1032 bytes into one: a 258-byte match coded in two bits.
constexpr std::uint64_t MaxDeflateRatio = 1032;

std::uint32_t Be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

bool IsChunk(const std::uint8_t* type, const char* name) {
  return std::memcmp(type, name, 4) == 0;
}

[[noreturn]] void Fail(const std::string& name, const std::string& reason) {
  throw PngError(name + ": " + reason);
}

int Channels(int colourType) {
  switch (colourType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

bool ValidDepth(int colourType, int bitDepth) {
  switch (colourType) {
    case 0:
      return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3:
      return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2:
    case 4:
    case 6:
      return bitDepth == 8 || bitDepth == 16;
    default:
      return false;
  }
}

// Everything the libpng run needs and gives, kept apart from the functions that hold a setjmp,
// which own no object with a destructor: a longjmp out of libpng then skips nothing.
struct DecodeJob {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t at = 0;
  bool truncated = false;
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colourType = 0;
  png_color palette[256] = {};
  int paletteSize = 0;
  png_byte alpha[256] = {};
  int alphaSize = 0;
  std::size_t rowBytes = 0;
  bool transparentColour = false;  // a tRNS chunk in a grey or colour image
  png_bytep* rows = nullptr;
  char error[256] = {};
};

void ErrorFn(png_structp png, png_const_charp message) {
  auto* job = static_cast<DecodeJob*>(png_get_error_ptr(png));
  std::snprintf(job->error, sizeof job->error, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void WarningFn(png_structp, png_const_charp) {}

void ReadFn(png_structp png, png_bytep data, png_size_t length) {
  auto* job = static_cast<DecodeJob*>(png_get_io_ptr(png));
  if (length > job->size - job->at) {
    job->truncated = true;
    png_error(png, "file is truncated");
  }
  std::memcpy(data, job->data + job->at, length);
  job->at += length;
}

// libpng's read structures for one decode, released however it ends.
class ReadStructs {
 public:
  explicit ReadStructs(DecodeJob& job) : job_(job) {
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, ErrorFn, WarningFn);
    if (job.png) job.info = png_create_info_struct(job.png);
    if (!job.info) {
      Release();
      throw std::bad_alloc();
    }
  }
  ~ReadStructs() { Release(); }
  ReadStructs(const ReadStructs&) = delete;
  ReadStructs& operator=(const ReadStructs&) = delete;

 private:
  void Release() {
    if (job_.png) png_destroy_read_struct(&job_.png, job_.info ? &job_.info : nullptr, nullptr);
    job_.png = nullptr;
    job_.info = nullptr;
  }
  DecodeJob& job_;
};

// Reads the chunks before the image data and sets the transformations: an index a byte; grey,
// colour and alpha as B, G, R, A bytes, the layout of a 24-bit surface's pixel.
bool ReadHeader(DecodeJob* job) {
  png_structp png = job->png;
  png_infop info = job->info;
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, job, ReadFn);
  png_set_user_limits(png, MaxBmpSide, MaxBmpSide);
  // Gamma, colour profiles, text and the like are skipped unread: the editor shows the stored
  // values, as pixel art means them.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  int interlace = 0;
  png_get_IHDR(png, info, &job->width, &job->height, &job->bitDepth, &job->colourType, &interlace,
               nullptr, nullptr);
  if (job->colourType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp palette = nullptr;
    if (png_get_PLTE(png, info, &palette, &job->paletteSize) != 0) {
      job->paletteSize = std::clamp(job->paletteSize, 0, 256);
      std::memcpy(job->palette, palette, sizeof(png_color) * job->paletteSize);
    }
    png_bytep alpha = nullptr;
    if (png_get_tRNS(png, info, &alpha, &job->alphaSize, nullptr) != 0 && alpha) {
      job->alphaSize = std::clamp(job->alphaSize, 0, 256);
      std::memcpy(job->alpha, alpha, job->alphaSize);
    } else {
      job->alphaSize = 0;
    }
    png_set_packing(png);
  } else {
    // Grey below 8 bits to 8, a transparent colour to an alpha channel.
    job->transparentColour = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if ((job->colourType & PNG_COLOR_MASK_ALPHA) == 0 && !job->transparentColour) {
      png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  job->rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadPixels(DecodeJob* job) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_read_image(job->png, job->rows);
  png_read_end(job->png, nullptr);
  return true;
}

[[noreturn]] void FailFromLibpng(const DecodeJob& job, const std::string& name) {
  if (job.truncated) Fail(name, "file is truncated");
  Fail(name, std::string("damaged PNG file: ") + job.error);
}

PixelFormat IndexedFormat(const DecodeJob& job) {
  std::vector<Colour> table;
  const int usable = std::min(job.paletteSize, 1 << job.bitDepth);
  for (int i = 0; i < usable; ++i) {
    const png_color& c = job.palette[i];
    table.push_back(MakeColour(c.red, c.green, c.blue));
  }
  PixelFormat format = PixelFormat::Indexed(
      SurfaceBits({.bitDepth = job.bitDepth, .colourType = job.colourType}), std::move(table));
  if (job.alphaSize > 0) {
    format.alpha = true;
    format.tableAlpha.assign(job.alpha, job.alpha + std::min(job.alphaSize, usable));
  }
  return format;
}

// Grey and colour images: B, G, R and an alpha from the file, else B, G, R and 0xFF.
PixelFormat DirectFormat(const DecodeJob& job) {
  if ((job.colourType & PNG_COLOR_MASK_ALPHA) == 0 && !job.transparentColour) {
    return PixelFormat::Rgb24();
  }
  PixelFormat format = PixelFormat::Rgba32();
  format.greyFile = (job.colourType & PNG_COLOR_MASK_COLOR) == 0;
  format.colourKey = job.transparentColour;
  return format;
}

}  // namespace

bool HasPngSignature(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= sizeof Signature &&
         std::memcmp(bytes.data(), Signature, sizeof Signature) == 0;
}

PngInfo ReadPngHeader(std::span<const std::uint8_t> bytes, const std::string& name) {
  if (!HasPngSignature(bytes)) Fail(name, "not a PNG file");
  const std::uint8_t* b = bytes.data();
  const std::size_t size = bytes.size();
  if (size < PngHeaderBytes) Fail(name, "file is truncated");
  if (Be32(b + 8) != 13 || !IsChunk(b + 12, "IHDR")) Fail(name, "damaged PNG file: no header");
  const std::uint32_t width = Be32(b + 16);
  const std::uint32_t height = Be32(b + 20);
  if (width == 0 || height == 0 || width > MaxChunkLength || height > MaxChunkLength) {
    Fail(name, "bad image size " + std::to_string(width) + " x " + std::to_string(height));
  }
  if (width > MaxBmpSide || height > MaxBmpSide ||
      std::uint64_t{width} * height > static_cast<std::uint64_t>(MaxBmpPixels)) {
    Fail(name, "image too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
  }
  PngInfo info;
  info.width = static_cast<int>(width);
  info.height = static_cast<int>(height);
  info.bitDepth = b[24];
  info.colourType = b[25];
  info.interlaced = b[28] != 0;
  if (!ValidDepth(info.colourType, info.bitDepth)) {
    Fail(name, "unsupported bit depth " + std::to_string(info.bitDepth) + " for colour type " +
                   std::to_string(info.colourType));
  }
  return info;
}

int SurfaceBits(const PngInfo& info) {
  if (info.colourType != PNG_COLOR_TYPE_PALETTE) {
    return (info.colourType & PNG_COLOR_MASK_ALPHA) != 0 ? 32 : 24;
  }
  // The editor's indexed formats are those of BMP files, which have no 2-bit pixels.
  return info.bitDepth == 2 ? 4 : info.bitDepth;
}

PngInfo ReadPngInfo(std::span<const std::uint8_t> bytes, const std::string& name) {
  const PngInfo info = ReadPngHeader(bytes, name);
  const std::uint8_t* b = bytes.data();
  const std::size_t size = bytes.size();
  const auto width = static_cast<std::uint32_t>(info.width);
  const auto height = static_cast<std::uint32_t>(info.height);

  // The chunks up to the end of the image data. An animation's control chunk comes before it.
  std::uint64_t imageData = 0;
  bool cut = true;  // the chunks run into the end of the file
  for (std::size_t at = sizeof Signature; size - at >= 8;) {
    const std::uint32_t length = Be32(b + at);
    const std::uint8_t* type = b + at + 4;
    if (length > MaxChunkLength) {
      cut = false;  // libpng names the fault
      break;
    }
    if (IsChunk(type, "acTL")) Fail(name, "animated PNG files are not supported");
    if (IsChunk(type, "IDAT")) {
      imageData += std::min<std::uint64_t>(length, size - at - 8);
    } else if (imageData > 0 || IsChunk(type, "IEND")) {
      cut = false;
      break;
    }
    if (std::uint64_t{length} + ChunkOverhead > size - at) break;
    at += length + ChunkOverhead;
  }
  // Each row of the image data has at least its pixels' bits; a filter byte comes on top.
  const std::uint64_t leastBytes = std::uint64_t{width} * height * info.bitDepth *
                                   static_cast<std::uint64_t>(Channels(info.colourType)) / 8;
  if ((imageData + 64) * MaxDeflateRatio < leastBytes) {
    if (cut) Fail(name, "file is truncated");
    Fail(name, "image data too short for " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels");
  }
  return info;
}

Surface DecodePng(std::span<const std::uint8_t> bytes, const std::string& name) {
  const PngInfo expected = ReadPngInfo(bytes, name);
  DecodeJob job;
  job.data = bytes.data();
  job.size = bytes.size();
  const ReadStructs structs(job);
  if (!ReadHeader(&job)) FailFromLibpng(job, name);

  const bool indexed = job.colourType == PNG_COLOR_TYPE_PALETTE;
  // libpng read the header checked above; the rows it writes must be the surface's.
  const std::size_t pixelBytes = indexed ? 1 : 4;
  if (static_cast<int>(job.width) != expected.width ||
      static_cast<int>(job.height) != expected.height || job.rowBytes != job.width * pixelBytes) {
    Fail(name, "unsupported PNG layout");
  }
  Surface surface;
  std::vector<png_bytep> rows;
  WithPictureMemory(name, {expected.width, expected.height, SurfaceBits(expected)}, [&] {
    surface = Surface::Unfilled(expected.width, expected.height,
                                indexed ? IndexedFormat(job) : DirectFormat(job));
    rows.resize(job.height);
  });
  for (int y = 0; y < surface.Height(); ++y) rows[y] = surface.Bytes(y);
  job.rows = rows.data();
  if (!ReadPixels(&job)) FailFromLibpng(job, name);
  return surface;
}

}  // namespace gk
