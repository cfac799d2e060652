#include "widgets/shown_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/file_contents.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

// U+FFFD as UTF-8: what Qt shows for each byte that is not UTF-8.
const std::string Replacement = "\xEF\xBF\xBD";

class ShownPathTest : public ::testing::Test {
 protected:
  std::string Make(const std::string& relative, bool folder = false) {
    const std::string path = tmp_.Path(relative);
    if (folder) {
      fs::create_directory(path);
    } else {
      EXPECT_TRUE(testing::WriteText(path, relative));
    }
    return path;
  }

  testing::TempDir tmp_;
};

TEST_F(ShownPathTest, NamesQtCannotHoldAreFoundBehindTheirShownText) {
  const std::string root = tmp_.Path("");
  const std::string plain = Make("hero1.bmp");
  const std::string bytes = Make("hero\xFF\xFE.bmp");
  const std::string folder = Make("set\xC3", true);
  const std::string inside = Make("set\xC3/pic\x80.bmp");
  const std::string shownBytes = root + "hero" + Replacement + Replacement + ".bmp";
  const std::string shownFolder = root + "set" + Replacement;

  ASSERT_EQ(ShownName("hero\xFF\xFE.bmp"), "hero" + Replacement + Replacement + ".bmp");
  const struct {
    std::string shown, onDisk;
  } cases[] = {
      {plain, plain},
      {shownBytes, bytes},
      {shownFolder + "/pic" + Replacement + ".bmp", inside},
      // A new name to save under, in a folder that exists only as bytes.
      {shownFolder + "/new.bmp", folder + "/new.bmp"},
      // Nothing to find: kept as given, the rest with it.
      {root + "gone" + Replacement + "/x.bmp", root + "gone" + Replacement + "/x.bmp"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PathOnDisk(c.shown), c.onDisk) << c.shown;

  // Relative to the current folder, as a path without a folder is taken.
  struct CurrentFolder {
    fs::path previous = fs::current_path();
    ~CurrentFolder() { fs::current_path(previous); }
  } restore;
  fs::current_path(root);
  EXPECT_EQ(PathOnDisk("hero" + Replacement + Replacement + ".bmp"), "hero\xFF\xFE.bmp");
  EXPECT_EQ(PathOnDisk("set" + Replacement + "/pic" + Replacement + ".bmp"), "set\xC3/pic\x80.bmp");
}

TEST_F(ShownPathTest, SeveralNamesShownAlikeAreRefusedUnlessOneIsTheTextItself) {
  Make("a\xFF.bmp");
  Make("a\xFE.bmp");
  const std::string shown = tmp_.Path("a" + Replacement + ".bmp");
  try {
    PathOnDisk(shown);
    ADD_FAILURE() << "two files showing alike were told apart";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("2 names"), std::string::npos) << e.what();
  }

  // A name that really is U+FFFD is the one the text names.
  Make("a" + Replacement + ".bmp");
  EXPECT_EQ(PathOnDisk(shown), shown);
}

}  // namespace
}  // namespace gk
