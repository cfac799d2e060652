#include "editor/png_path.h"

#include <gtest/gtest.h>

#include <string>

namespace gk {
namespace {

TEST(PngPathFor, ReplacesOrAppendsTheExtensionOfTheFileNameOnly) {
  const struct {
    std::string bmp, png;
  } cases[] = {
      {"/home/u/sprites/hero.bmp", "/home/u/sprites/hero.png"},
      {"hero.bmp", "hero.png"},
      {"tile.blue.bmp", "tile.blue.png"},
      {"/x/tile.blue.bmp", "/x/tile.blue.png"},
      {"/x/HERO.BMP", "/x/HERO.png"},
      {"/x/hero.dib", "/x/hero.png"},
      {"/a.b/tile", "/a.b/tile.png"},
      {"/a.b/c.d/tile", "/a.b/c.d/tile.png"},
      {"tile", "tile.png"},
      {"/x/tile.", "/x/tile.png"},
      {"/x/.hidden", "/x/.png"},
      {"/x/キャラ.bmp", "/x/キャラ.png"},
      {"/x.y/キャラ", "/x.y/キャラ.png"},
      {"C:hero.bmp", "C:hero.png"},  // ":" is an ordinary character here
      {"", ".png"},
  };
  for (const auto& c : cases) EXPECT_EQ(PngPathFor(c.bmp), c.png) << c.bmp;
}

}  // namespace
}  // namespace gk
