#include "filesystem/path_text.h"

#include <gtest/gtest.h>

namespace gk {
namespace {

TEST(PathText, SplitsAtTheLastSlashOnly) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"/home/ann/bmp/hero1.bmp", "/home/ann/bmp/", "hero1.bmp"},
      {"hero1.bmp", "", "hero1.bmp"},
      {"/hero.bmp", "/", "hero.bmp"},
      {"/home/ann/", "/home/ann/", ""},
      {"", "", ""},
      {"c:foo\\bar.bmp", "", "c:foo\\bar.bmp"},
      {"a:b/c:d.bmp", "a:b/", "c:d.bmp"},
      {"dir//x", "dir//", "x"},
      {"/tmp/\xe7\x94\xbb\xe5\x83\x8f.bmp", "/tmp/", "\xe7\x94\xbb\xe5\x83\x8f.bmp"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
  }
}

}  // namespace
}  // namespace gk
