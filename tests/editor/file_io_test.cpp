#include "filesystem/file_io.h"
#include "editor/picture_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return tmp_.Path(name); }

  static void Put(const std::string& path, const std::string& text) {
    ASSERT_TRUE(testing::WriteText(path, text));
  }
  static std::string Get(const std::string& path) { return testing::ReadText(path); }
  // Every name in the tree, so a left-over temporary file shows up.
  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
      names.insert(entry.path().lexically_relative(dir_).string());
    }
    return names;
  }

  testing::TempDir tmp_;
  const fs::path dir_ = tmp_.Root();
};

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// Runs `action`, which must throw, and returns its message.
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

TEST_F(FileIoTest, WrittenBytesReadBackAtEverySize) {
  for (std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{200003}}) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    const std::string path = Path("data.bin");
    WriteFileAtomically(path, bytes);
    EXPECT_EQ(ReadFileBytes(path, size), bytes) << size;
  }
  // Replacing a file leaves only the new content and no temporary file.
  WriteFileAtomically(Path("data.bin"), Bytes("short"));
  EXPECT_EQ(Get(Path("data.bin")), "short");
  EXPECT_EQ(Listing(), std::set<std::string>{"data.bin"});
}

TEST_F(FileIoTest, ReadFailuresNameThePathAndTheReason) {
  Put(Path("ten.bin"), "0123456789");
  fs::create_directory(Path("folder"));
  EXPECT_EQ(ReadFileBytes(Path("ten.bin"), 10).size(), 10u);

  const struct {
    std::string path;
    std::size_t bound;
    std::string reason;
  } cases[] = {
      {Path("missing.bmp"), 100, Path("missing.bmp") + ": cannot open: No such file or directory"},
      {Path("ten.bin"), 9, Path("ten.bin") + ": cannot read: file too large"},
      {Path("ten.bin"), 0, "file too large"},
      {Path("folder"), 100, Path("folder") + ": not a regular file"},
      {Path("nofolder/x.bmp"), 100, "No such file or directory"},
      {Path("ten.bin/x"), 100, Path("ten.bin/x") + ": cannot open: Not a directory"},
  };
  for (const auto& c : cases) {
    const std::string message = ErrorOf([&] { ReadFileBytes(c.path, c.bound); });
    EXPECT_NE(message.find(c.reason), std::string::npos) << c.path << ": " << message;
    EXPECT_NE(message.find(c.path), std::string::npos) << message;
  }
}

// Opening a FIFO for reading waits for a writer, and a device reads without end, so reads
// refuse anything but a regular file before opening it. The reads run in a child that an alarm
// stops: a regression fails the test instead of hanging the suite.
TEST_F(FileIoTest, ReadsRefuseFifosDevicesAndSocketsAtOnce) {
  ASSERT_EQ(mkfifo(Path("fifo.bmp").c_str(), 0644), 0);
  fs::create_symlink(Path("fifo.bmp"), Path("link.bmp"));
  fs::create_symlink("/dev/zero", Path("zero.bmp"));
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  Path("socket.bmp").copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  for (const char* name : {"fifo.bmp", "link.bmp", "zero.bmp", "socket.bmp"}) {
    const std::string path = Path(name);
    const testing::ChildOutcome outcome = testing::RunInChild(
        [&] {
          std::string seen = FileExists(path) ? "exists\n" : "absent\n";
          const std::function<void()> reads[] = {[&] { ReadFileBytes(path, 1 << 20); },
                                                 [&] { ReadFileHead(path, 4096); },
                                                 [&] { LoadBmpFile(path); }};
          for (const auto& read : reads) seen += ErrorOf(read) + "\n";
          return seen;
        },
        5);
    const std::string refusal = path + ": not a regular file\n";
    EXPECT_EQ(outcome.text, "absent\n" + refusal + refusal + refusal) << name;
  }
  close(listener);
  EXPECT_TRUE(fs::is_fifo(Path("fifo.bmp")));
}

TEST_F(FileIoTest, HeadReadsStopAtTheBoundAndGiveTheWholeLength) {
  Put(Path("ten.bin"), "0123456789");
  const FileHead head = ReadFileHead(Path("ten.bin"), 4);
  EXPECT_EQ(std::string(head.bytes.begin(), head.bytes.end()), "0123");
  EXPECT_EQ(head.fileSize, 10u);
  EXPECT_EQ(ReadFileHead(Path("ten.bin"), 100).bytes.size(), 10u);
  EXPECT_EQ(ErrorOf([&] { ReadFileHead(Path("none.bmp"), 4); }),
            Path("none.bmp") + ": cannot open: No such file or directory");
}

TEST_F(FileIoTest, FailedWritesKeepThePreviousFileAndLeaveNoTemporaryFile) {
  Put(Path("hero.bmp"), "old hero");
  Put(Path("locked.bmp"), "old locked");
  fs::permissions(Path("locked.bmp"), fs::perms::owner_read | fs::perms::group_read);
  Put(Path("plain"), "a file, not a folder");
  fs::create_directory(Path("taken.bmp"));
  const std::set<std::string> before = Listing();

  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {Path("nofolder/1.bmp"), ""},  // the folder for automatic names is missing
      {Path("taken.bmp"), ""},       // a folder stands where the file should go
      {Path("plain/1.bmp"), ""},     // a file stands where the folder should be
      {Path("locked.bmp"), "write-protected"},
      {"", ""},
  };
  for (const auto& c : cases) {
    const std::string message = ErrorOf([&] { WriteFileAtomically(c.path, Bytes("new")); });
    EXPECT_NE(message.find(c.path), std::string::npos) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_GT(message.size(), c.path.size() + 8) << "no reason given: " << message;
  }
  EXPECT_EQ(Listing(), before);
  EXPECT_EQ(Get(Path("locked.bmp")), "old locked");
  EXPECT_TRUE(fs::is_directory(Path("taken.bmp")));
  EXPECT_TRUE(fs::is_empty(Path("taken.bmp")));
}

// A write that fails part-way, as on a full disk: the file-size limit makes the system refuse
// bytes beyond the first kilobyte, for root as well.
TEST_F(FileIoTest, WriteFailingPartWayKeepsThePreviousFile) {
  Put(Path("hero.bmp"), "old hero");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1024;
  auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    WriteFileAtomically(Path("hero.bmp"), std::vector<std::uint8_t>(100000, 0x55));
  } catch (const std::runtime_error& e) {
    message = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(message, Path("hero.bmp") + ": cannot write: File too large");
  EXPECT_EQ(Get(Path("hero.bmp")), "old hero");
  EXPECT_EQ(Listing(), std::set<std::string>{"hero.bmp"});
}

TEST_F(FileIoTest, OnlyRegularFilesExist) {
  Put(Path("1.bmp"), "x");
  fs::create_directory(Path("2.bmp"));
  fs::create_symlink(Path("1.bmp"), Path("link.bmp"));
  fs::create_symlink(Path("gone.bmp"), Path("dangling.bmp"));
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {Path("1.bmp"), true},
      {Path("2.bmp"), false},
      {Path("3.bmp"), false},
      {Path("link.bmp"), true},
      {Path("dangling.bmp"), false},
      {Path("1.bmp/x"), false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
}

TEST_F(FileIoTest, BmpFilesRoundTripAndBadOnesNameTheFile) {
  Surface image(5, 3, PixelFormat::Indexed(4, {Black, White, Red, 0x00FF00u}), Black);
  image.WritePixel(0, 0, Red);
  image.WritePixel(4, 2, White);
  image.WritePixel(2, 1, 0x00FF00u);
  SaveBmpFile(Path("tile.bmp"), image);
  const Surface back = LoadBmpFile(Path("tile.bmp"));
  ASSERT_EQ(back.Width(), 5);
  ASSERT_EQ(back.Height(), 3);
  EXPECT_EQ(back.Format().bitsPerPixel, 4);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.ReadPixel(x, y), image.ReadPixel(x, y));
  }

  Put(Path("text.bmp"), "this is not a picture");
  for (const std::string& bad : {Path("text.bmp"), Path("missing.bmp")}) {
    const std::string message = ErrorOf([&] { LoadBmpFile(bad); });
    EXPECT_NE(message.find(bad), std::string::npos) << message;
  }
  // A failed save leaves the earlier file as it was.
  fs::permissions(Path("tile.bmp"), fs::perms::owner_read);
  const std::string saved = Get(Path("tile.bmp"));
  EXPECT_THROW(SaveBmpFile(Path("tile.bmp"), Surface(2, 2)), std::runtime_error);
  EXPECT_EQ(Get(Path("tile.bmp")), saved);
}

}  // namespace
}  // namespace gk
