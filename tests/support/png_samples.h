// The PNG files of tests/data, made by ImageMagick (make_samples.sh), and the pixels the reader
// must give for each, worked out from the text pictures they were made from.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "image/surface.h"

namespace gk::testing {

struct PngSample {
  const char* file;
  const char* colours;  // the .ppm or .pgm the file was made from
  const char* alpha;    // the .pgm of its alpha, or nullptr when opaque
  int bits;             // of the document: 1, 4, 8 (indexed), 24, or 32 with alpha
  // The one colour the file gives every fully transparent pixel (ImageMagick merges them into
  // one table entry), or NoColour when each keeps its own.
  Colour hidden = NoColour;
};

inline const PngSample PngSamples[] = {
    {"mono_indexed1.png", "mono.ppm", nullptr, 1},
    {"mono_indexed1_interlaced.png", "mono.ppm", nullptr, 1},
    {"quad_indexed2.png", "quad.ppm", nullptr, 4},
    {"primaries_indexed4.png", "primaries.ppm", nullptr, 4},
    {"picture_indexed8.png", "picture.ppm", nullptr, 8},
    {"tints_fade_indexed8.png", "tints.ppm", "fade.pgm", 8, Black},
    {"tints_cut_indexed8.png", "tints.ppm", "cut.pgm", 8, White},
    {"levels_grey2.png", "levels.pgm", nullptr, 24},
    {"levels_grey8.png", "levels.pgm", nullptr, 24},
    {"levels_grey16.png", "levels.pgm", nullptr, 24},
    {"levels_fade_grey_alpha8.png", "levels.pgm", "fade.pgm", 32},
    {"picture_rgb8.png", "picture.ppm", nullptr, 24},
    {"picture_rgb8_interlaced.png", "picture.ppm", nullptr, 24},
    {"picture_rgb8_chunks.png", "picture.ppm", nullptr, 24},
    {"tints_rgb16.png", "tints.ppm", nullptr, 24},
    {"tints_fade_rgba8.png", "tints.ppm", "fade.pgm", 32},
    {"tints_fade_rgba16.png", "tints.ppm", "fade.pgm", 32},
};

inline std::string SamplePath(const std::string& name) {
  return GK_TEST_DATA_DIR "/" + name;
}

// A plain (text) PPM or PGM; grey levels are given as three equal channels.
struct Netpbm {
  int width = 0;
  int height = 0;
  std::vector<std::array<int, 3>> values;
};

inline Netpbm ReadNetpbm(const std::string& name) {
  std::ifstream in(SamplePath(name));
  std::string magic;
  int maxValue = 0;
  Netpbm p;
  in >> magic >> p.width >> p.height >> maxValue;
  const int channels = magic == "P3" ? 3 : 1;
  EXPECT_TRUE((magic == "P3" || magic == "P2") && maxValue == 255) << name;
  for (int i = 0; i < p.width * p.height; ++i) {
    std::array<int, 3> v{};
    for (int c = 0; c < channels; ++c) in >> v[c];
    if (channels == 1) v[1] = v[2] = v[0];
    p.values.push_back(v);
  }
  EXPECT_TRUE(in) << name << " ends early";
  return p;
}

// The sample's pixels row by row, as Pixels gives them: the colour, and the transparency
// (255 - alpha) in the top byte.
inline std::vector<Colour> ExpectedPixels(const PngSample& sample) {
  const Netpbm colours = ReadNetpbm(sample.colours);
  Netpbm alpha;
  if (sample.alpha) alpha = ReadNetpbm(sample.alpha);
  std::vector<Colour> out;
  for (std::size_t i = 0; i < colours.values.size(); ++i) {
    const std::array<int, 3> c = colours.values[i];
    const int a = sample.alpha ? alpha.values.at(i)[0] : 255;
    Colour colour = MakeColour(static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                               static_cast<std::uint8_t>(c[2]));
    if (a == 0 && sample.hidden != NoColour) colour = sample.hidden;
    out.push_back(colour | std::uint32_t(255 - a) << 24);
  }
  return out;
}

}  // namespace gk::testing
