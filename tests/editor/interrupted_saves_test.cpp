#include "filesystem/interrupted_saves.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "editor/picture_files.h"
#include "editor/start_up.h"
#include "support/child_process.h"
#include "support/fake_editor_ui.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using namespace std::chrono_literals;

std::set<std::string> Listing(const std::string& folder) {
  std::set<std::string> names;
  std::error_code absent;
  for (const auto& e : fs::directory_iterator(folder, absent)) names.insert(e.path().filename());
  return names;
}

enum class Content { Old, New, Torn };

// Each write fault ends in the old content, or in a message that says what the file holds and
// names the copy of its old content, which the editor's next start names once more. A kill leaves
// no temporary file, and a save beside never takes one a running save holds.
TEST(SaveFaultsTest, EveryFailureLeavesTheOldContentOrSaysWhereItIs) {
  // `error` follows "gridkiln-bmp: OUT: " ("" for none); with `copyKept` the message names the
  // copy, which stays with its record; `killed` at the fault "stop", with saves beside.
  struct Case {
    const char* what;
    bool inPlace;
    const char* faults;
    std::string error;
    Content content;
    bool copyKept = false, killed = false;
  };
  const std::string eio = "cannot write: Input/output error";
  const char* stopped = "pwrite@1=short,pwrite@2=stop";
  const Case cases[] = {
      {"a later write", false, "pwrite@1=short,pwrite@2=EIO", eio, Content::Old},
      {"fsync", false, "fsync@1=EIO", eio, Content::Old},
      {"close", false, "close@1=EIO", eio, Content::Old},
      {"naming the temporary file", false, "linkat@1=EIO", eio, Content::Old},
      {"rename", false, "renameat@1=EIO", eio, Content::Old},
      {"a named temporary file on a full disk", false, "tmpfile@1=EOPNOTSUPP,pwrite@1=ENOSPC",
       "cannot write: No space left on device", Content::Old},
      {"killed", false, stopped, "", Content::Old, false, true},
      {"killed with a named temporary file", false,
       "tmpfile@1=EOPNOTSUPP,pwrite@1=short,pwrite@2=stop", "", Content::Old, false, true},
      {"in place: a short write, then an error", true, "pwrite@1=short,pwrite@2=ENOSPC",
       "cannot write: No space left on device", Content::Old},
      {"in place: fsync", true, "fsync@1=EIO", eio, Content::Old},
      {"in place: close", true, "close@1=EIO", eio, Content::Old},
      {"in place: no copy beside, one in the state folder", true, "linkat@1=EIO", "", Content::New},
      {"in place: fsync, and no way back", true, "fsync@1=EIO,pwrite@2=EIO",
       "written, but the disk did not confirm it: Input/output error", Content::New, true},
      {"in place: a write, and no way back", true, "pwrite@1=short,pwrite@2=EIO,pwrite@3=EIO", eio,
       Content::Torn, true},
      {"in place: killed", true, stopped, "", Content::Torn, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // `gridkiln-bmp copy` of a new picture over an old one, alone or with a second hard link.
    const testing::TempDir tmp;
    const auto at = [&](const std::string& name) { return tmp.Path(name); };
    const std::string target = at("out/hero.bmp"), copy = at("out/hero.bmp.gridkiln-old");
    fs::create_directory(at("out"));
    SaveBmpFile(at("in.bmp"), Surface(256, 256, PixelFormat::Rgb24(), Red));
    SaveBmpFile(target, Surface(256, 256, PixelFormat::Rgb24(), White));
    ASSERT_TRUE(!c.inPlace || link(target.c_str(), at("out/link.bmp").c_str()) == 0);
    const std::vector<std::uint8_t> oldBytes = ReadBytes(target),
                                    newBytes = ReadBytes(at("in.bmp"));
    const auto runCopy = [&](const std::string& out, const std::string& faults) {
      return testing::ToolProcess(
          {GK_BMP_TOOL, "copy", at("in.bmp"), out},
          {"LD_PRELOAD=" GK_FAULT_LIBRARY, "GK_FAULTS=" + faults,
           std::string("GK_FAULT_FILES=") + (c.inPlace ? "*/out/hero.bmp" : "*/out/*"),
           "GK_FAULT_STOPPED=" + at("stopped"), "XDG_STATE_HOME=" + at("state"),
           "ASAN_OPTIONS=verify_asan_link_order=0"},
          at("stderr"));
    };

    testing::ToolProcess writer = runCopy(target, c.faults);
    std::set<std::string> names = {"hero.bmp"};
    if (c.inPlace) names.insert("link.bmp");
    if (c.copyKept) names.insert("hero.bmp.gridkiln-old");
    if (c.killed) {
      for (int i = 0; i < 2000 && !fs::exists(at("stopped")); ++i)
        std::this_thread::sleep_for(10ms);
      ASSERT_TRUE(fs::exists(at("stopped"))) << "the writer never reached its fault";
      names.insert("other.bmp");
      EXPECT_EQ(runCopy(at("out/other.bmp"), "").Wait(), 0);
      // A named temporary file is held, and left, while its save runs.
      EXPECT_EQ(Listing(at("out")).size(),
                names.size() + std::string(c.faults).starts_with("tmpfile"));
      EXPECT_EQ(writer.Wait(SIGKILL), 128 + SIGKILL);
      EXPECT_EQ(runCopy(at("out/other.bmp"), "").Wait(), 0);
    } else {
      EXPECT_EQ(writer.Wait(), c.error.empty() ? 0 : 1);
      std::string error = c.error.empty() ? "" : "gridkiln-bmp: " + target + ": " + c.error;
      if (c.copyKept) error += "; its previous content is in " + fs::canonical(copy).string();
      EXPECT_EQ(testing::ReadText(at("stderr")), error.empty() ? "" : error + "\n");
    }

    const std::vector<std::uint8_t> now = ReadBytes(target);
    EXPECT_EQ(now == oldBytes, c.content == Content::Old);
    EXPECT_EQ(now == newBytes, c.content == Content::New);
    EXPECT_EQ(Listing(at("out")), names);
    // Nothing but the record of a kept copy is left in the state folder.
    EXPECT_EQ(Listing(at("state/gridkiln")).size(), c.copyKept ? 1u : 0u);
    if (!c.copyKept) continue;
    // Two starts of the editor: the first names the copy, which stays; the second shows nothing.
    fs::create_directories(at("app"));
    fs::copy_file(GK_ASSETS_DIR "/palette.bmp", at("app/palette.bmp"));
    setenv("XDG_STATE_HOME", at("state").c_str(), 1);
    testing::FakeEditorUi ui;
    for (int start = 0; start < 2; ++start) {
      EditorContext ctx{ui};
      StartEditor(ctx, at("app/"));
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    const testing::FakeEditorUi::Message& box = ui.messages[0];
    EXPECT_EQ(std::tie(box.text, box.caption, box.buttons, box.icon),
              std::make_tuple("A save of " + fs::canonical(target).string() +
                                  " was interrupted; its previous content is in " +
                                  fs::canonical(copy).string(),
                              std::string("gridkiln"), MessageButtons::Ok, MessageIcon::None));
    EXPECT_EQ(ReadBytes(copy), oldBytes);
  }
}

// A completed save has its new content on disk before it commits to it: the file written is
// synced after its last write and before it is renamed over the old one, or, updated in place,
// before the copy of its old content is removed.
TEST(SaveFaultsTest, ACompletedSaveSyncsTheFileBeforeItCommits) {
  struct Case {
    const char* what;
    bool inPlace;
    const char* faults;
    std::string commit;  // the line of the call after which the old content is gone
  };
  const Case cases[] = {
      {"a temporary file", false, "", "renameat hero.bmp"},
      {"a named temporary file", false, "tmpfile@1=EOPNOTSUPP", "renameat hero.bmp"},
      {"in place", true, "", "unlinkat hero.bmp.gridkiln-old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const testing::TempDir tmp;
    const auto at = [&](const std::string& name) { return tmp.Path(name); };
    const std::string target = at("out/hero.bmp");
    fs::create_directory(at("out"));
    SaveBmpFile(at("in.bmp"), Surface(64, 64, PixelFormat::Rgb24(), Red));
    SaveBmpFile(target, Surface(64, 64, PixelFormat::Rgb24(), White));
    ASSERT_TRUE(!c.inPlace || link(target.c_str(), at("out/link.bmp").c_str()) == 0);
    testing::ToolProcess writer(
        {GK_BMP_TOOL, "copy", at("in.bmp"), target},
        {"LD_PRELOAD=" GK_FAULT_LIBRARY, std::string("GK_FAULTS=") + c.faults,
         "GK_FAULT_LOG=" + at("calls"), "XDG_STATE_HOME=" + at("state"),
         "ASAN_OPTIONS=verify_asan_link_order=0"},
        at("stderr"));
    ASSERT_EQ(writer.Wait(), 0) << testing::ReadText(at("stderr"));
    ASSERT_EQ(ReadBytes(target), ReadBytes(at("in.bmp")));

    struct stat written;
    ASSERT_EQ(stat(target.c_str(), &written), 0);
    const std::string file =
        " " + std::to_string(written.st_dev) + ":" + std::to_string(written.st_ino);
    std::vector<std::string> calls;
    std::istringstream log(testing::ReadText(at("calls")));
    for (std::string line; std::getline(log, line);) calls.push_back(line);
    const auto commit = std::find(calls.begin(), calls.end(), c.commit);
    ASSERT_NE(commit, calls.end()) << "no " << c.commit;
    const auto lastWrite =
        std::find(std::make_reverse_iterator(commit), calls.rend(), "pwrite" + file);
    ASSERT_NE(lastWrite, calls.rend()) << "the file was not written before " << c.commit;
    EXPECT_NE(std::find(lastWrite.base(), commit, "fsync" + file), commit)
        << "the file was not synced between its last write and " << c.commit;
  }
}

}  // namespace
}  // namespace gk
