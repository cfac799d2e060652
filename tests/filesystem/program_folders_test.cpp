#include "filesystem/program_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "support/file_contents.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

// A prefix laid out as `cmake --install` leaves it: prefix/bin/ and prefix/share/gridkiln/, and a
// home of its own.
class ProgramFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Bin());
    fs::create_directories(tmp_.Path("usr/share/gridkiln"));
    fs::create_directories(Home());
  }

  std::string Bin() const { return tmp_.Path("usr/bin/"); }
  std::string Shared() const { return tmp_.Path("usr/share/gridkiln/"); }
  std::string Home() const { return tmp_.Path("home/ann"); }
  UserEnvironment Env(const std::string& xdgConfigHome = "") const {
    return {Home(), xdgConfigHome};
  }
  static void Put(const std::string& path, const std::string& text = "") {
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(testing::WriteText(path, text));
  }

  testing::TempDir tmp_;
};

TEST_F(ProgramFoldersTest, AnInstalledCopyUsesTheUsersFoldersAndItsSharedPalette) {
  const ProgramFolders f = FindProgramFolders(Bin(), Env());
  EXPECT_TRUE(f.installed);
  EXPECT_EQ(f.appDir, Bin());
  EXPECT_EQ(f.iniPath, Home() + "/.config/gridkiln/gridkiln.ini");
  EXPECT_EQ(f.bmpDir, Home() + "/Pictures/gridkiln/");
  EXPECT_EQ(f.palettePath, Shared() + "palette.bmp");
  // Telling the two apart writes nothing.
  EXPECT_TRUE(fs::is_empty(Home()));
  EXPECT_TRUE(fs::is_empty(Bin()));

  // XDG_CONFIG_HOME moves the settings, and the pictures folder follows its user-dirs.dirs.
  const std::string config = tmp_.Path("elsewhere");
  Put(config + "/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  const ProgramFolders moved = FindProgramFolders(Bin(), Env(config));
  EXPECT_EQ(moved.iniPath, config + "/gridkiln/gridkiln.ini");
  EXPECT_EQ(moved.bmpDir, Home() + "/Bilder/gridkiln/");

  // A palette the user put in the config folder replaces the shared one; a folder of that name
  // does not.
  fs::create_directories(config + "/gridkiln/palette.bmp");
  EXPECT_EQ(FindProgramFolders(Bin(), Env(config)).palettePath, Shared() + "palette.bmp");
  fs::remove(config + "/gridkiln/palette.bmp");
  Put(config + "/gridkiln/palette.bmp");
  EXPECT_EQ(FindProgramFolders(Bin(), Env(config)).palettePath, config + "/gridkiln/palette.bmp");
}

TEST_F(ProgramFoldersTest, ACopyBesideItsOwnFilesOrWithoutASharedFolderIsPortable) {
  const ProgramFolders beside = PortableFolders(Bin());
  EXPECT_FALSE(beside.installed);
  EXPECT_EQ(beside.iniPath, Bin() + "gridkiln.ini");
  EXPECT_EQ(beside.bmpDir, Bin() + "bmp/");
  EXPECT_EQ(beside.palettePath, Bin() + "palette.bmp");

  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const Case cases[] = {
      {"a bmp folder, as in the build tree", [&] { fs::create_directory(Bin() + "bmp"); }},
      {"a settings file", [&] { Put(Bin() + "gridkiln.ini"); }},
      {"a settings file that is a folder", [&] { fs::create_directory(Bin() + "gridkiln.ini"); }},
      {"no shared folder above", [&] { fs::remove_all(Shared()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    c.arrange();
    const ProgramFolders f = FindProgramFolders(Bin(), Env());
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.iniPath, beside.iniPath);
    EXPECT_EQ(f.bmpDir, beside.bmpDir);
    EXPECT_EQ(f.palettePath, beside.palettePath);
    fs::remove_all(tmp_.Path("usr"));
  }
  // A file named "bmp" is no folder of automatic names.
  SetUp();
  Put(Bin() + "bmp");
  EXPECT_TRUE(FindProgramFolders(Bin(), Env()).installed);
}

TEST(UserFoldersTest, ConfigHomeTakesAnAbsoluteXdgConfigHomeElseTheHomesConfig) {
  EXPECT_EQ(ConfigHome({"/home/ann", ""}), "/home/ann/.config/");
  EXPECT_EQ(ConfigHome({"/home/ann/", ""}), "/home/ann/.config/");
  EXPECT_EQ(ConfigHome({"/home/ann", "/srv/conf"}), "/srv/conf/");
  EXPECT_EQ(ConfigHome({"/home/ann", "/srv/conf/"}), "/srv/conf/");
  // A relative value is ignored, as the rule says.
  EXPECT_EQ(ConfigHome({"/home/ann", "conf"}), "/home/ann/.config/");
  // Names are bytes: a home that is not UTF-8 stays as it is.
  EXPECT_EQ(ConfigHome({"/home/\xff\xfe", ""}), "/home/\xff\xfe/.config/");
}

TEST(UserFoldersTest, PicturesDirFromUserDirsReadsTheFileAsAShellWould) {
  struct Case {
    const char* what;
    const char* text;
    std::optional<std::string> pictures;
  };
  const Case cases[] = {
      {"the home's folder", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/ann/Bilder"},
      {"an absolute path", "XDG_PICTURES_DIR=\"/srv/art\"\n", "/srv/art"},
      {"among others and comments",
       "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
       "  XDG_PICTURES_DIR=\"$HOME/Pics\"  \r\nXDG_MUSIC_DIR=\"$HOME/Music\"\n",
       "/home/ann/Pics"},
      {"shell escapes", "XDG_PICTURES_DIR=\"$HOME/a \\\"b\\\" \\$c\\\\d\"",
       "/home/ann/a \"b\" $c\\d"},
      {"the last line counts", "XDG_PICTURES_DIR=\"$HOME/one\"\nXDG_PICTURES_DIR=\"$HOME/two\"\n",
       "/home/ann/two"},
      {"commented out", "#XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", std::nullopt},
      {"a relative path", "XDG_PICTURES_DIR=\"Bilder\"\n", std::nullopt},
      {"another variable's name", "XDG_PICTURES_DIR=\"$HOMEPAGE/x\"\n", std::nullopt},
      {"an unclosed quote", "XDG_PICTURES_DIR=\"$HOME/Bilder\n", std::nullopt},
      {"text after the quote", "XDG_PICTURES_DIR=\"$HOME/a\" b\n", std::nullopt},
      {"a trailing backslash", "XDG_PICTURES_DIR=\"/x\\", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PicturesDirFromUserDirs(c.text, "/home/ann"), c.pictures);
  }
}

TEST(UserFoldersTest, PicturesFolderFallsBackToTheHomesPicturesWhenTheFileCannotServe) {
  testing::TempDir tmp;
  const std::string home = tmp.Path("ann");
  const std::string config = home + "/.config/";
  fs::create_directories(config);
  const UserEnvironment env{home, ""};
  EXPECT_EQ(PicturesFolder(env), home + "/Pictures/");

  ASSERT_TRUE(testing::WriteText(config + "user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Art\"\n"));
  EXPECT_EQ(PicturesFolder(env), home + "/Art/");

  // A file too large for what it should hold, a FIFO (refused at once, never waited on) and a
  // folder in its place all count as no file.
  ASSERT_TRUE(testing::WriteText(config + "user-dirs.dirs",
                                 "XDG_PICTURES_DIR=\"$HOME/Art\"\n" + std::string(70000, '#')));
  EXPECT_EQ(PicturesFolder(env), home + "/Pictures/");
  fs::remove(config + "user-dirs.dirs");
  ASSERT_EQ(mkfifo((config + "user-dirs.dirs").c_str(), 0600), 0);
  EXPECT_EQ(PicturesFolder(env), home + "/Pictures/");
  fs::remove(config + "user-dirs.dirs");
  fs::create_directory(config + "user-dirs.dirs");
  EXPECT_EQ(PicturesFolder(env), home + "/Pictures/");
}

}  // namespace
}  // namespace gk
