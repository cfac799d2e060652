#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "filesystem/file_io.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"
#include "support/throwaway_user.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;

// Permissions do not stop root, so these run as a throw-away user. The user may pass through
// the test folder but owns only what a test gives it.
class OrdinaryUserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!user_.Made()) GTEST_SKIP() << user_.Refusal();
    ASSERT_EQ(chmod(tmp_.Root().c_str(), 0755), 0);
    fs::create_directory(Path("state"));
    ASSERT_EQ(chown(Path("state").c_str(), user_.Ids().uid, user_.Ids().gid), 0);
  }

  std::string Path(const std::string& name) const { return tmp_.Path(name); }
  void Put(const std::string& path, const std::string& text, mode_t mode, bool userOwns,
           gid_t group) {
    ASSERT_TRUE(testing::WriteText(path, text));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    ASSERT_EQ(chown(path.c_str(), userOwns ? user_.Ids().uid : 0, group), 0);
  }
  // Writes `text` as the user, with a state folder of the user's own: "written" or the error.
  std::string WriteAsUser(const std::string& path, const std::string& text) {
    const testing::ChildOutcome outcome = testing::RunInChild(
        [&] {
          setenv("XDG_STATE_HOME", Path("state").c_str(), 1);
          WriteFileAtomically(path, std::vector<std::uint8_t>(text.begin(), text.end()));
          return std::string("written");
        },
        10, user_.Ids());
    return outcome.text;
  }
  static ino_t Inode(const std::string& path) {
    struct stat s {};
    EXPECT_EQ(stat(path.c_str(), &s), 0);
    return s.st_ino;
  }
  static std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  testing::ThrowawayUser user_;
  testing::TempDir tmp_;
};

// `cat >` can write such a file, so a save must too: in place, since no temporary file can be
// made beside it; the copy of the old content goes to the user's state folder meanwhile.
TEST_F(OrdinaryUserTest, WritableFileInAFolderTheUserMayNotWriteIsUpdatedInPlace) {
  fs::create_directory(Path("ro"));
  ASSERT_EQ(chmod(Path("ro").c_str(), 0755), 0);
  Put(Path("ro/hero.bmp"), "old hero", 0644, true, user_.Ids().gid);
  Put(Path("ro/shared.bmp"), "old shared", 0666, false, 0);
  Put(Path("ro/theirs.bmp"), "old theirs", 0644, false, 0);
  const ino_t inode = Inode(Path("ro/hero.bmp"));

  EXPECT_EQ(WriteAsUser(Path("ro/hero.bmp"), "new"), "written");
  EXPECT_EQ(ReadText(Path("ro/hero.bmp")), "new");
  EXPECT_EQ(Inode(Path("ro/hero.bmp")), inode);
  EXPECT_EQ(WriteAsUser(Path("ro/shared.bmp"), "new shared"), "written");
  EXPECT_EQ(ReadText(Path("ro/shared.bmp")), "new shared");

  EXPECT_EQ(WriteAsUser(Path("ro/theirs.bmp"), "new"),
            Path("ro/theirs.bmp") + ": cannot write: Permission denied");
  EXPECT_EQ(ReadText(Path("ro/theirs.bmp")), "old theirs");
  EXPECT_EQ(WriteAsUser(Path("ro/new.bmp"), "new"),
            Path("ro/new.bmp") + ": cannot write: Permission denied");
  EXPECT_EQ(Listing(Path("ro")), (std::set<std::string>{"hero.bmp", "shared.bmp", "theirs.bmp"}));
  EXPECT_EQ(Listing(Path("state/gridkiln")), std::set<std::string>{});
}

// The user may not give the file root's group, so the file keeps it by being updated in place.
TEST_F(OrdinaryUserTest, GroupTheUserCannotGiveIsKept) {
  fs::create_directory(Path("mine"));
  ASSERT_EQ(chown(Path("mine").c_str(), user_.Ids().uid, user_.Ids().gid), 0);
  Put(Path("mine/hero.bmp"), "old", 0664, true, 0);
  EXPECT_EQ(WriteAsUser(Path("mine/hero.bmp"), "new"), "written");
  struct stat s {};
  ASSERT_EQ(stat(Path("mine/hero.bmp").c_str(), &s), 0);
  EXPECT_EQ(s.st_gid, 0u);
  EXPECT_EQ(s.st_mode & 07777, 0664u);
  EXPECT_EQ(ReadText(Path("mine/hero.bmp")), "new");
  EXPECT_EQ(Listing(Path("mine")), std::set<std::string>{"hero.bmp"});

  // Its own group it may give: the atomic way, a new inode.
  Put(Path("mine/own.bmp"), "old", 0640, true, user_.Ids().gid);
  const ino_t inode = Inode(Path("mine/own.bmp"));
  EXPECT_EQ(WriteAsUser(Path("mine/own.bmp"), "new"), "written");
  EXPECT_NE(Inode(Path("mine/own.bmp")), inode);
}

}  // namespace
}  // namespace gk
