#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "image/surface.h"

namespace gk {

// A picture as the messages about its memory describe it.
struct PictureSize {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 24;
};

inline PictureSize SizeOf(const Surface& surface) {
  return {surface.Width(), surface.Height(), surface.Format().bitsPerPixel};
}

// "hero.bmp: not enough memory for a 16384 x 4096 picture (192 MiB)". The figure is the picture
// being read, copied or written at its own bit depth: width x height x bits per pixel / 8 bytes,
// rounded up to whole MiB (the pixels of its BMP file without row padding). So one picture shows
// one figure whichever of its buffers ran out; an 8-bit copy for a 256-colour save counts 8 bits.
std::string NotEnoughMemoryText(const std::string& name, const PictureSize& picture);

// Runs `work`, which allocates memory that grows with `picture`; std::bad_alloc becomes a
// std::runtime_error with the text above, so running out reads like any other error naming the
// file. Whatever `work` had not finished is dropped as the exception leaves it.
template <typename Work>
decltype(auto) WithPictureMemory(const std::string& name, const PictureSize& picture, Work&& work) {
  try {
    return std::forward<Work>(work)();
  } catch (const std::bad_alloc&) {
    throw std::runtime_error(NotEnoughMemoryText(name, picture));
  }
}

}  // namespace gk
