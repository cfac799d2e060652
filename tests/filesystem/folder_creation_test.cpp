#include "filesystem/folder_creation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "support/throwaway_user.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

std::string FailureOf(const std::string& folder, mode_t mode = 0777) {
  try {
    MakeFolders(folder, mode);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "made";
}

TEST(FolderCreationTest, MakesTheFolderAndItsMissingParentsWithTheMode) {
  testing::TempDir tmp;
  const mode_t umaskWas = umask(022);
  MakeFolders(tmp.Path("a/b/c/"), 0700);
  umask(umaskWas);
  EXPECT_TRUE(fs::is_directory(tmp.Path("a/b/c")));
  for (const char* made : {"a", "a/b", "a/b/c"}) EXPECT_EQ(ModeOf(tmp.Path(made)), 0700u) << made;

  // What exists stays as it is, contents and mode.
  ASSERT_EQ(chmod(tmp.Path("a").c_str(), 0755), 0);
  ASSERT_TRUE(testing::WriteText(tmp.Path("a/b/c/keep"), "x"));
  MakeFolders(tmp.Path("a/b/c"), 0700);
  MakeFolders(tmp.Path("a/b/d"), 0750);
  EXPECT_EQ(ModeOf(tmp.Path("a")), 0755u);
  EXPECT_EQ(testing::ReadText(tmp.Path("a/b/c/keep")), "x");
  EXPECT_EQ(ModeOf(tmp.Path("a/b/d")), 0750u);
  EXPECT_NO_THROW(MakeFolders("", 0700));
}

TEST(FolderCreationTest, AFileInTheWayIsAnErrorNamingTheFolder) {
  testing::TempDir tmp;
  ASSERT_TRUE(testing::WriteText(tmp.Path("Pictures"), "not a folder"));
  const std::string inTheWay =
      ": cannot create the folder: " + tmp.Path("Pictures") + " is not a folder";
  EXPECT_EQ(FailureOf(tmp.Path("Pictures/gridkiln/")), tmp.Path("Pictures/gridkiln") + inTheWay);
  EXPECT_EQ(FailureOf(tmp.Path("Pictures")), tmp.Path("Pictures") + inTheWay);
  // The system would cut a name at a zero byte and make another folder.
  EXPECT_NE(FailureOf(tmp.Path("a") + std::string(1, '\0') + "b"), "made");
  EXPECT_FALSE(fs::exists(tmp.Path("a")));
}

// Permissions do not stop root: an ordinary user meets the refusal for real.
TEST(FolderCreationTest, AFolderTheUserMayNotWriteIsAnErrorNamingTheFolder) {
  testing::ThrowawayUser user;
  if (!user.Made()) GTEST_SKIP() << user.Refusal();
  testing::TempDir tmp;
  ASSERT_EQ(chmod(tmp.Root().c_str(), 0755), 0);
  const std::string folder = tmp.Path("home/.config/gridkiln");
  fs::create_directory(tmp.Path("home"));
  const testing::ChildOutcome outcome = testing::RunInChild(
      [&] {
        MakeFolders(folder, 0700);
        return std::string("made");
      },
      10, user.Ids());
  EXPECT_TRUE(outcome.threw);
  EXPECT_EQ(outcome.text, folder + ": cannot create the folder: Permission denied");
  EXPECT_FALSE(fs::exists(tmp.Path("home/.config")));
}

}  // namespace
}  // namespace gk
