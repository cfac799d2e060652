#include "filesystem/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/picture_files.h"
#include "editor/png_library.h"
#include "filesystem/file_io.h"
#include "image/bmp_codec.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/scratch_mount.h"
#include "support/temp_dir.h"
#include "support/throwaway_user.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

struct stat StatusOf(const std::string& path) {
  struct stat s {};
  EXPECT_EQ(lstat(path.c_str(), &s), 0) << path;
  return s;
}

std::string WriteError(const std::string& path, const std::string& text) {
  try {
    ReplaceFile(path, Bytes(text));
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "written";
}

class FileReplaceTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return tmp_.Path(name); }
  static void Put(const std::string& path, const std::string& text) {
    ASSERT_TRUE(testing::WriteText(path, text));
  }
  static std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  testing::TempDir tmp_;
};

TEST_F(FileReplaceTest, HardLinksModeOwnerAndGroupAreKept) {
  Put(Path("a.bmp"), "old");
  ASSERT_EQ(link(Path("a.bmp").c_str(), Path("b.bmp").c_str()), 0);
  ReplaceFile(Path("a.bmp"), Bytes("new content"));
  EXPECT_EQ(ReadText(Path("b.bmp")), "new content");
  EXPECT_EQ(StatusOf(Path("a.bmp")).st_ino, StatusOf(Path("b.bmp")).st_ino);

  // Root may give any owner and group, so the atomic way keeps them: a new inode, same ids.
  Put(Path("c.bmp"), "old");
  ASSERT_EQ(chmod(Path("c.bmp").c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(Path("c.bmp").c_str(), 54321, 54322), 0);
  }
  const struct stat before = StatusOf(Path("c.bmp"));
  ReplaceFile(Path("c.bmp"), Bytes("new"));
  const struct stat after = StatusOf(Path("c.bmp"));
  EXPECT_EQ(ReadText(Path("c.bmp")), "new");
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_NE(after.st_ino, before.st_ino) << "not replaced through a temporary file";
  EXPECT_EQ(Listing(tmp_.Root()), (std::set<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
}

TEST_F(FileReplaceTest, SymbolicLinksStayLinksAndTheirTargetIsWritten) {
  fs::create_directory(Path("sub"));
  Put(Path("sub/real.bmp"), "old");
  fs::create_symlink("sub/real.bmp", Path("one.bmp"));
  fs::create_symlink("one.bmp", Path("two.bmp"));
  ReplaceFile(Path("two.bmp"), Bytes("new"));
  EXPECT_TRUE(fs::is_symlink(Path("two.bmp")));
  EXPECT_TRUE(fs::is_symlink(Path("one.bmp")));
  EXPECT_EQ(ReadText(Path("sub/real.bmp")), "new");

  // A link that leads nowhere yet makes its target, as the shell's ">" does.
  fs::create_symlink("sub/later.bmp", Path("later.bmp"));
  ReplaceFile(Path("later.bmp"), Bytes("made"));
  EXPECT_TRUE(fs::is_symlink(Path("later.bmp")));
  EXPECT_EQ(ReadText(Path("sub/later.bmp")), "made");

  fs::create_symlink("loop2.bmp", Path("loop1.bmp"));
  fs::create_symlink("loop1.bmp", Path("loop2.bmp"));
  EXPECT_EQ(WriteError(Path("loop1.bmp"), "x"),
            Path("loop1.bmp") + ": cannot write: Too many levels of symbolic links");
}

// In a sticky folder anyone may write, root's write follows only the links the kernel trusts
// there with fs.protected_symlinks=1, whatever the system's setting.
TEST_F(FileReplaceTest, LinksInASharedFolderAreFollowedOnlyWhereTheKernelWould) {
  testing::ThrowawayUser user;
  if (!user.Made()) GTEST_SKIP() << user.Refusal();
  const uid_t them = user.Ids().uid;
  struct Case {
    const char* what;
    mode_t folderMode;
    uid_t folderOwner, linkOwner;
    bool followed;
  };
  const Case cases[] = {
      {"planted by another user", 01777, 0, them, false},
      {"owned by the folder's owner", 01777, them, them, true},
      {"owned by the writer", 01777, them, 0, true},
      {"in a folder that is not sticky", 0777, 0, them, true},
  };
  const std::string secret = Path("secret");
  Put(secret, "");
  ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put(secret, "root's own");
    const std::string folder = Path(c.what);
    fs::create_directory(folder);
    ASSERT_EQ(chown(folder.c_str(), c.folderOwner, 0), 0);
    ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);
    const std::string link = folder + "/pic.bmp";
    fs::create_symlink(secret, link);
    ASSERT_EQ(lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);

    EXPECT_EQ(WriteError(link, "new"),
              c.followed
                  ? "written"
                  : link + ": not following a link owned by another user in a shared folder");
    EXPECT_EQ(ReadText(secret), c.followed ? "new" : "root's own");
    EXPECT_TRUE(fs::is_symlink(link));
  }
}

// A FIFO, a device node or a link to one is refused and stays what it was. The writes run in a
// child that an alarm stops, since opening a FIFO for writing waits for a reader.
TEST_F(FileReplaceTest, WhatIsNotARegularFileIsRefusedAndLeftAlone) {
  ASSERT_EQ(mkfifo(Path("fifo.bmp").c_str(), 0644), 0);
  fs::create_symlink("/dev/null", Path("null.png"));
  std::vector<std::string> targets = {"fifo.bmp", "null.png"};
  if (mknod(Path("device.bmp").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    targets.push_back("device.bmp");
  }
  const struct stat null = StatusOf("/dev/null");
  for (const std::string& name : targets) {
    const std::string path = Path(name);
    const auto outcome = testing::RunInChild([&] { return WriteError(path, "new"); }, 5);
    EXPECT_EQ(outcome.text, path + ": cannot write: not a regular file");
  }
  EXPECT_TRUE(fs::is_fifo(Path("fifo.bmp")));
  EXPECT_TRUE(fs::is_symlink(Path("null.png")));
  const struct stat nullAfter = StatusOf("/dev/null");
  EXPECT_TRUE(S_ISCHR(nullAfter.st_mode));
  EXPECT_EQ(nullAfter.st_rdev, null.st_rdev);
  if (targets.size() == 3) {
    EXPECT_TRUE(fs::is_character_file(Path("device.bmp")));
  }
  EXPECT_EQ(Listing(tmp_.Root()).size(), targets.size());
}

TEST_F(FileReplaceTest, NamesAreBytesAsGiven) {
  const std::string odd = Path("\xFF\xFE.bmp");
  const Surface image(3, 2, PixelFormat::Rgb24(), Red);
  SaveBmpFile(odd, image);
  EXPECT_TRUE(FileExists(odd));
  EXPECT_EQ(LoadBmpFile(odd).ReadPixel(2, 1), Red);
  EXPECT_EQ(Listing(tmp_.Root()), std::set<std::string>{"\xFF\xFE.bmp"});

  // The system would stop at the zero byte and write "cut".
  const std::string withZero = Path(std::string("cut\0.bmp", 8));
  EXPECT_NE(WriteError(withZero, "x"), "written");
  EXPECT_FALSE(fs::exists(Path("cut")));
}

// A disk that really fills up: a 64 KiB tmpfs.
class FullDiskTest : public FileReplaceTest {
 protected:
  void SetUp() override {
    if (!disk_.Mounted()) GTEST_SKIP() << disk_.Refusal();
  }
  std::string Full(const std::string& name) const { return disk_.Path(name); }
  void ExpectUnchanged(const std::string& path, const std::vector<std::uint8_t>& before,
                       const std::set<std::string>& names) {
    EXPECT_EQ(testing::ReadBytes(path), before);
    EXPECT_EQ(Listing(Full("")), names);
  }

  testing::ScratchMount disk_{tmp_.Path("disk")};
};

TEST_F(FullDiskTest, BmpAndPngWritesFailAndKeepTheOldFiles) {
  const Surface image(40, 30, PixelFormat::Rgb24(), Red);
  SaveBmpFile(Full("hero.bmp"), Surface(2, 2, PixelFormat::Rgb24(), White));
  Put(Full("hero.png"), "old png");
  const auto oldBmp = testing::ReadBytes(Full("hero.bmp"));
  const auto oldPng = testing::ReadBytes(Full("hero.png"));
  ASSERT_TRUE(disk_.Fill());
  const std::set<std::string> names = {"filler", "hero.bmp", "hero.png"};

  try {
    SaveBmpFile(Full("hero.bmp"), image);
    ADD_FAILURE() << "saved onto a full disk";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), Full("hero.bmp") + ": cannot write: No space left on device");
  }
  ExpectUnchanged(Full("hero.bmp"), oldBmp, names);

  SaveBmpFile(Path("src.bmp"), image);
  png::ImageHandle handle = png::LoadBmp(Path("src.bmp"));
  ASSERT_NE(handle, nullptr);
  png::PngOptions options{};
  EXPECT_NE(png::WritePng(Full("hero.png"), handle, &options), 0);
  png::Release(handle);
  EXPECT_EQ(png::LastError(), Full("hero.png") + ": cannot write: No space left on device");
  ExpectUnchanged(Full("hero.png"), oldPng, names);

  // A new file fails the same way and leaves nothing behind.
  EXPECT_EQ(WriteError(Full("new.bmp"), std::string(5000, 'x')),
            Full("new.bmp") + ": cannot write: No space left on device");
  EXPECT_EQ(Listing(Full("")), names);
}

// A hard-linked file is updated in place; the room for the new content is reserved before any
// old byte is overwritten.
TEST_F(FullDiskTest, InPlaceUpdateFailsBeforeTouchingTheOldBytes) {
  Put(Full("a.bmp"), "old picture");
  ASSERT_EQ(link(Full("a.bmp").c_str(), Full("b.bmp").c_str()), 0);
  const auto old = testing::ReadBytes(Full("a.bmp"));
  ASSERT_TRUE(disk_.Fill());

  EXPECT_EQ(WriteError(Full("a.bmp"), std::string(3 * 4096, 'n')),
            Full("a.bmp") + ": cannot write: No space left on device");
  ExpectUnchanged(Full("b.bmp"), old, {"a.bmp", "b.bmp", "filler"});
  EXPECT_EQ(StatusOf(Full("a.bmp")).st_nlink, 2u);

  // Content that fits in the blocks the file has needs no new room.
  ReplaceFile(Full("a.bmp"), Bytes("new"));
  EXPECT_EQ(ReadText(Full("b.bmp")), "new");
  disk_.Free();
  ReplaceFile(Full("a.bmp"), Bytes(std::string(3 * 4096, 'n')));
  EXPECT_EQ(ReadText(Full("b.bmp")), std::string(3 * 4096, 'n'));
}

// ramfs cannot reserve room (no fallocate), so the in-place update writes the part past the old
// end first; the content must come out the same whether it grows or shrinks.
TEST_F(FileReplaceTest, InPlaceUpdateWithoutReservationWritesEverything) {
  testing::ScratchMount ram(Path("ram"), "ramfs", "mode=0755");
  if (!ram.Mounted()) GTEST_SKIP() << ram.Refusal();
  Put(ram.Path("a.bmp"), "old picture");
  ASSERT_EQ(link(ram.Path("a.bmp").c_str(), ram.Path("b.bmp").c_str()), 0);
  for (const std::string& text : {std::string(10000, 'g') + "end", std::string("short")}) {
    ReplaceFile(ram.Path("a.bmp"), Bytes(text));
    EXPECT_EQ(ReadText(ram.Path("b.bmp")), text);
  }
  EXPECT_EQ(Listing(ram.Path("")), (std::set<std::string>{"a.bmp", "b.bmp"}));
}

}  // namespace
}  // namespace gk
