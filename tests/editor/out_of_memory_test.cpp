// Running out of memory for a picture, for real: each case runs in a forked child whose address
// space is limited as `ulimit -v` does, then opens, converts, draws on or saves a picture too
// large for that limit. The message must name the file and the picture, the tool must blame the
// file it was reading or writing, and the editor must keep what it had. AddressSanitizer reserves
// terabytes of address space for itself, so the sanitizer build skips this test.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "editor/document_files.h"
#include "editor/drawing_tools.h"
#include "editor/handler_guard.h"
#include "editor/transforms.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"

// GCC tells of AddressSanitizer with a macro, clang with a feature.
#if defined(__SANITIZE_ADDRESS__)
#define GK_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GK_UNDER_ASAN
#endif
#endif

namespace gk {
namespace {

constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
const std::string BigPicture = "16384 x 4096 picture (192 MiB)";
const std::string HeroPicture = "4096 x 4096 picture (48 MiB)";

std::uint64_t AddressSpaceInUse() {
  std::uint64_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

// What an editor case must leave as it was.
std::string Fingerprint(EditorContext& ctx, const testing::FakeEditorUi& ui) {
  const Surface& doc = ctx.Document();
  const Surface* undo = ctx.controls.ImgViewB.SurfaceIfAny();
  std::string print = std::to_string(doc.Width()) + "x" + std::to_string(doc.Height());
  for (int x : {0, 1, 2, doc.Width() - 1}) print += " " + std::to_string(doc.ReadPixel(x, 0));
  print += undo ? " undo " + std::to_string(undo->Width()) : " no undo";
  return print + " " + ctx.documentPath + " " + ui.title + " " + ui.marker +
         (ctx.state.Modified ? " modified" : "");
}

void NewSize4096(EditorContext& ctx) {
  static_cast<testing::FakeEditorUi&>(ctx.ui).newSizeAnswers.push_back(std::pair{"4096", "4096"});
  BtnNewClick(ctx, NewSizeTag);
}

using OutOfMemoryTest = testing::EditorFixture;

TEST_F(OutOfMemoryTest, PicturesTooLargeForMemoryAreNamedAndChangeNothing) {
#ifdef GK_UNDER_ASAN
  GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#endif
  // 16384 x 4096 pictures: a BMP whose pixels are a hole in a sparse file, an 8 KiB PNG.
  const std::string dir = tmp_.Path("");
  std::filesystem::copy_file(GK_TEST_DATA_DIR "/huge_rgb24_head.bmp", dir + "big.bmp");
  std::filesystem::resize_file(dir + "big.bmp", 54 + 16384 * 3 * 4096);
  std::filesystem::copy_file(GK_TEST_DATA_DIR "/huge_grey1.png", dir + "big.png");

  // The tool, under `ulimit -v`: 150 MiB stop the reading of the file or its pixels; 350 MiB let
  // the PNG's 256 MiB of pixels in but not the 192 MiB of the BMP written from them.
  struct ToolCase {
    std::string args;
    int limitMiB;
    std::string blamed;
  };
  const ToolCase toolCases[] = {
      {"copy big.bmp out.bmp", 150, "big.bmp"},   {"copy big.bmp out.bmp", 350, "big.bmp"},
      {"png -o out.png big.bmp", 350, "big.bmp"}, {"bmp -o out.bmp big.png", 150, "big.png"},
      {"bmp -o out.bmp big.png", 350, "out.bmp"},
  };
  for (const ToolCase& c : toolCases) {
    const std::string command = "ulimit -v " + std::to_string(c.limitMiB * 1024) + " && cd '" +
                                dir + "' && " GK_BMP_TOOL " " + c.args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string shown;
    for (int ch; (ch = fgetc(pipe)) != EOF;) shown += static_cast<char>(ch);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 1) << c.args;
    EXPECT_EQ(shown, "gridkiln-bmp: " + c.blamed + ": not enough memory for a " + BigPicture + "\n")
        << c.args << " under " << c.limitMiB << " MiB";
    EXPECT_FALSE(std::filesystem::exists(dir + "out.bmp") ||
                 std::filesystem::exists(dir + "out.png"))
        << c.args;
  }

  // The editor, in a child whose address space is limited to what it uses plus some headroom;
  // the handler runs as the window runs it, its error shown in a box. A 4096 x 4096 document
  // takes 64 MiB, as does its undo copy; its BMP takes 48 MiB, its 8-bit copy 16 MiB.
  struct EditorCase {
    const char* what;
    bool heroDocument;  // a 4096 x 4096 document, hero.bmp; else the start-up one
    std::uint64_t headroomMiB;
    void (*handler)(EditorContext&, const std::string& dir);
    std::string named, picture;  // what the message names: a file of `dir`, or "Untitled"
  };
  const EditorCase editorCases[] = {
      {"open a BMP", false, 64, [](auto& c, auto& d) { LoadImageFile(c, d + "big.bmp"); },
       "big.bmp", BigPicture},
      {"open a PNG", false, 64, [](auto& c, auto& d) { LoadImageFile(c, d + "big.png"); },
       "big.png", BigPicture},
      {"new size", false, 16, [](auto& c, auto&) { NewSize4096(c); }, "", HeroPicture},
      {"press, then drag", true, 16,
       [](auto& c, auto&) {
         Guarded(c.ui, c.appTitle, [&] { ImgMainMouseDown(c, 1, 1); });
         ImgMainMouseMove(c, true, 2 * c.state.DotSize + 1, 1);
       },
       "hero.bmp", HeroPicture},
      {"mirror", true, 16, [](auto& c, auto&) { mnMirrorHClick(c); }, "hero.bmp", HeroPicture},
      {"undo", true, 16, [](auto& c, auto&) { BtnUndoClick(c); }, "hero.bmp", HeroPicture},
      {"save", true, 16, [](auto& c, auto& d) { SaveImageFile(c, d + "hero.bmp"); }, "hero.bmp",
       HeroPicture},
      {"save at 8 bits", true, 8,
       [](auto& c, auto& d) {
         c.settings.SetText("Save256=1\r\n");
         SaveImageFile(c, d + "hero.bmp");
       },
       "hero.bmp", "4096 x 4096 picture (16 MiB)"},
  };
  for (const EditorCase& c : editorCases) {
    const testing::ChildOutcome run = testing::RunInChild([&] {
      if (c.heroDocument) {
        NewSize4096(ctx_);
        ctx_.Document().WritePixel(0, 0, Red);
        ctx_.documentPath = dir + "hero.bmp";
        ctx_.state.Stroking = true;  // as a white stroke left it
        ctx_.state.DrawColor = White;
      }
      const std::string before = Fingerprint(ctx_, ui_);
      const rlimit limit{AddressSpaceInUse() + c.headroomMiB * MiB, RLIM_INFINITY};
      setrlimit(RLIMIT_AS, &limit);
      Guarded(ui_, ctx_.appTitle, [&] { c.handler(ctx_, dir); });
      std::string shown;
      for (const auto& m : ui_.messages) shown += m.text + "\n";
      const std::string after = Fingerprint(ctx_, ui_);
      return shown + (after == before ? "unchanged" : before + " became " + after);
    });
    const std::string name = c.named.empty() ? "Untitled" : dir + c.named;
    EXPECT_EQ(run.text, name + ": not enough memory for a " + c.picture + "\nunchanged") << c.what;
    EXPECT_FALSE(std::filesystem::exists(dir + "hero.bmp")) << c.what;
  }
}

}  // namespace
}  // namespace gk
