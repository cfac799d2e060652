#include "editor/png_library.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>

#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "image/picture_memory.h"
#include "image/png_writer.h"
#include "image/surface.h"

namespace gk::png {

struct Image {
  Surface surface;
};

namespace {

thread_local std::string lastError;

constexpr int MaxLevel = 6;

int Fail(std::string reason) {
  lastError = std::move(reason);
  return 1;
}

}  // namespace

ImageHandle LoadBmp(const std::string& bmpPath) {
  try {
    auto image = std::make_unique<Image>();
    image->surface = LoadBmpFile(bmpPath);
    return image.release();
  } catch (const std::bad_alloc&) {
    lastError = bmpPath + ": cannot load: out of memory";
  } catch (const std::exception& e) {
    lastError = e.what();
  }
  return nullptr;
}

int WritePng(const std::string& pngPath, ImageHandle image, const PngOptions* options) {
  if (!image) return Fail(pngPath + ": cannot write: no image");
  const Surface& s = image->surface;
  if (pngPath.empty()) return Fail("cannot write a PNG without a file name");
  if (s.Width() <= 0 || s.Height() <= 0) return Fail(pngPath + ": cannot write: empty image");
  try {
    // Only the fields the caller sets are read. Levels above 6 compress as 6: on pixel art
    // zlib's slower levels took up to nine times as long for files a fifth smaller at best.
    const int level =
        options && (options->flags & 1u) ? std::min<int>(options->level, MaxLevel) : -1;
    WriteFileAtomically(pngPath, EncodePng(s, level, pngPath));
  } catch (const std::bad_alloc&) {
    return Fail(NotEnoughMemoryText(pngPath, SizeOf(s)));
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return 0;
}

void Release(ImageHandle image) {
  delete image;
}

std::string LastError() {
  return lastError;
}

}  // namespace gk::png
