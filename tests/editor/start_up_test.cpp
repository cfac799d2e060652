#include "editor/start_up.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "editor/picture_files.h"
#include "editor/window_fit.h"
#include "editor/window_layout.h"
#include "settings/settings_file.h"
#include "support/fake_editor_ui.h"
#include "support/file_contents.h"
#include "support/surface_pixels.h"
#include "support/temp_dir.h"

namespace gk {
namespace {

using testing::Pixels;

// The palette these tests start with: PalW x PalH, a colour a pixel.
constexpr int PalW = 100;
constexpr int PalH = 50;

Surface TestPalette() {
  Surface palette(PalW, PalH, PixelFormat::Rgb24(), Black);
  for (int y = 0; y < PalH; ++y) {
    for (int x = 0; x < PalW; ++x) palette.WritePixel(x, y, MakeColour(2 * x, 5 * y, 7));
  }
  return palette;
}

ControlRect RectOf(const ImageControl& c) {
  return {c.Left, c.Top, c.Width, c.Height};
}

bool AllOf(const Surface& s, Colour c) {
  const std::vector<Colour> pixels = Pixels(s);
  return !pixels.empty() && pixels == std::vector<Colour>(pixels.size(), c);
}

class StartUpTest : public ::testing::Test {
 protected:
  std::string AppDir() const { return tmp_.Path("app/"); }
  void WritePalette() { SaveBmpFile(AppDir() + "palette.bmp", TestPalette()); }
  void WriteSettings(const std::string& text) {
    ASSERT_TRUE(testing::WriteText(AppDir() + "gridkiln.ini", text));
  }
  void Start() { StartEditor(ctx_, AppDir()); }
  // The message of the failure that ends the start.
  std::string StartFailure() {
    try {
      Start();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "no failure";
  }

  testing::TempDir tmp_;
  testing::FakeEditorUi ui_;
  EditorContext ctx_{ui_};

 private:
  void SetUp() override { std::filesystem::create_directories(AppDir()); }
};

TEST_F(StartUpTest, WithoutASettingsFileTheWindowHasItsInitialLayoutAndPictures) {
  WritePalette();
  // What the start must set whatever the context held.
  ctx_.state.CurColor = Red;
  ctx_.state.OpenGuard = true;
  ctx_.state.Modified = true;
  ctx_.state.OriginX = 5;
  ctx_.settings.SetText("Png=1\r\n");
  ui_.marker = "*";
  Start();

  const EditorState& s = ctx_.state;
  EXPECT_EQ(s.AppDir, AppDir());
  EXPECT_EQ(s.IniPath, AppDir() + "gridkiln.ini");
  EXPECT_EQ(SizesOf(s), InitialSizes);
  EXPECT_EQ(s.CurColor, White);
  EXPECT_FALSE(s.OpenGuard);
  EXPECT_FALSE(s.Modified);
  EXPECT_EQ(s.OriginX, 0);
  EXPECT_EQ(ctx_.settings.Lines(), std::vector<std::string>{"Save256=0"});

  // 592 x (632 + PalH), the buttons at 0, 48, ... 456, the palette and swatch at 633.
  ASSERT_EQ(ui_.layouts.size(), 1u);
  const WindowLayout& l = ui_.layouts[0];
  EXPECT_EQ(l.clientWidth, 592);
  EXPECT_EQ(l.clientHeight, 632 + PalH);
  std::vector<int> lefts;
  for (const ControlRect& b : l.buttons) lefts.push_back(b.left);
  EXPECT_EQ(lefts, (std::vector<int>{0, 48, 96, 152, 200, 256, 304, 352, 400, 456}));

  const EditorControls& c = ctx_.controls;
  EXPECT_EQ(RectOf(c.ImgMain), (ControlRect{0, 40, 592, 592}));
  EXPECT_EQ(RectOf(c.ImgPallete), (ControlRect{0, 633, PalW, PalH}));
  EXPECT_EQ(RectOf(c.ImgColor), (ControlRect{PalW + 1, 633, 37, 37}));
  // The view doubled after the document was made at the image's size.
  EXPECT_EQ(RectOf(c.ImgView), (ControlRect{PalW + 1, 671, 64, 64}));
  EXPECT_EQ(ctx_.Document().Width(), 32);
  EXPECT_EQ(ctx_.Document().Height(), 32);
  // The markers at the view's top-left corner.
  EXPECT_EQ(RectOf(c.ImgCurV), (ControlRect{PalW + 1, 667, 2, 4}));
  EXPECT_EQ(RectOf(c.ImgCurH), (ControlRect{PalW - 3, 671, 4, 2}));
  EXPECT_EQ(RectOf(c.ImgViewB), (ControlRect{0, 0, 32, 32}));
  EXPECT_FALSE(c.ImgViewB.HasSurface());

  EXPECT_TRUE(AllOf(ctx_.Document(), Black));
  EXPECT_EQ(c.ImgMain.SurfaceIfAny()->Width(), 592);
  EXPECT_TRUE(AllOf(*c.ImgMain.SurfaceIfAny(), Black));
  EXPECT_EQ(c.ImgColor.SurfaceIfAny()->Width(), 37);
  EXPECT_TRUE(AllOf(*c.ImgColor.SurfaceIfAny(), White));
  EXPECT_TRUE(AllOf(*c.ImgCurV.SurfaceIfAny(), Red));
  EXPECT_TRUE(AllOf(*c.ImgCurH.SurfaceIfAny(), Red));
  EXPECT_EQ(Pixels(*c.ImgPallete.SurfaceIfAny()), Pixels(TestPalette()));

  // Placed, doubled, refreshed, rendered; no tool checked, the title and marker as they were.
  EXPECT_EQ(ui_.moved, (std::vector{ControlId::ImgMain, ControlId::ImgPallete, ControlId::ImgColor,
                                    ControlId::ImgView, ControlId::ImgCurV, ControlId::ImgCurH,
                                    ControlId::ImgView, ControlId::ImgCurH, ControlId::ImgCurV}));
  EXPECT_EQ(ui_.refreshed, (std::vector{ControlId::ImgMain, ControlId::ImgPallete,
                                        ControlId::ImgMain, ControlId::ImgView}));
  EXPECT_EQ(ui_.checkedTool, -1);
  EXPECT_EQ(ui_.title, "gridkiln");
  EXPECT_EQ(ui_.marker, "");
}

TEST_F(StartUpTest, TheSettingsFileSizesTheWindowWithinTheirLimits) {
  WritePalette();
  struct Case {
    const char* what;
    std::string file;
    StartSizes sizes;
    int clientWidth;
  };
  const Case cases[] = {
      {"dot size 8: the button row decides the width",
       "Width=32\nHeight=32\nWidth2=16\nHeight2=16\nDotSize=8\n",
       {8, 32, 32, 16, 16, 48, 40},
       504},
      {"all seven",
       "Width=64\nHeight=48\nWidth2=20\nHeight2=10\nDotSize=20\nButtonW=30\nButtonH=50",
       {20, 64, 48, 20, 10, 30, 50},
       400},
      // A grid wider than the window allows puts the three grid sizes back.
      {"grid too wide",
       "Width=40\nHeight=24\nWidth2=256\nHeight2=16\nDotSize=128\n",
       {37, 40, 24, 16, 16, 48, 40},
       592},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSettings(c.file);
    testing::FakeEditorUi ui;
    EditorContext ctx(ui);
    StartEditor(ctx, AppDir());
    EXPECT_EQ(SizesOf(ctx.state), c.sizes);
    ASSERT_EQ(ui.layouts.size(), 1u);
    EXPECT_EQ(ui.layouts[0], LayOutWindow(c.sizes, PalW, PalH));
    EXPECT_EQ(ui.layouts[0].clientWidth, c.clientWidth);
    EXPECT_EQ(ctx.Document().Width(), c.sizes.Width);
    EXPECT_EQ(ctx.Document().Height(), c.sizes.Height);
    EXPECT_EQ(ctx.controls.ImgView.Width, 2 * c.sizes.Width);
    // The grid keeps its own width, whatever the client's.
    EXPECT_EQ(ui.layouts[0].ImgMain.width, c.sizes.DotSize * c.sizes.Width2);
    EXPECT_EQ(ctx.controls.ImgMain.SurfaceIfAny()->Width(), c.sizes.DotSize * c.sizes.Width2);
  }
}

// Only a dot size the settings do not give is fitted to the screen, before the layout and the
// first paints, and nothing of it reaches the settings file. At 1024 x 600, less 16 above, 63
// around, the buttons and the palette, 16 rows of 26 fit.
TEST_F(StartUpTest, ASmallScreenShrinksTheInitialDotSizeButNotTheSettingsOne) {
  WritePalette();
  const std::string upToDotSize = "Width=32\nHeight=32\nWidth2=16\nHeight2=16\nDotSize=";
  const std::vector<std::pair<std::optional<std::string>, std::int32_t>> cases = {
      {std::nullopt, 26},
      {"DotSize=20\n", 26},  // never read: Width comes first
      {upToDotSize + "500\n", 26},
      {upToDotSize + "37\n", 37},
  };
  for (const auto& [file, dotSize] : cases) {
    SCOPED_TRACE(file.value_or("no settings file"));
    std::filesystem::remove(AppDir() + "gridkiln.ini");
    if (file) WriteSettings(*file);
    testing::FakeEditorUi ui;
    ui.screen = ScreenRoom{{0, 0, 1024, 600}, 8, 63};
    EditorContext ctx(ui);
    StartEditor(ctx, AppDir());
    EXPECT_EQ(ctx.state.DotSize, dotSize);
    ASSERT_EQ(ui.layouts.size(), 1u);
    EXPECT_EQ(ui.layouts[0], LayOutWindow(SizesOf(ctx.state), PalW, PalH));
    EXPECT_EQ(ctx.controls.ImgMain.SurfaceIfAny()->Width(), 16 * dotSize);
    EXPECT_EQ(ctx.controls.ImgColor.SurfaceIfAny()->Width(), dotSize);
    EXPECT_EQ(testing::ReadText(AppDir() + "gridkiln.ini"), file.value_or(""));
  }
}

// The palette is read before the settings file: without it the start ends naming it, and the
// settings file, even one that could not be read, is never touched.
TEST_F(StartUpTest, APaletteThatCannotBeReadEndsTheStartBeforeTheSettings) {
  WriteSettings("DotSize=8\n" + std::string(MaxSettingsFileBytes, 'x'));
  const std::string palette = AppDir() + "palette.bmp";
  for (const char* content : {static_cast<const char*>(nullptr), "not a bitmap"}) {
    SCOPED_TRACE(content ? content : "no palette");
    if (content) {
      ASSERT_TRUE(testing::WriteText(palette, content));
    }
    const std::string failure = StartFailure();
    EXPECT_EQ(failure.rfind(palette + ": ", 0), 0u) << failure;
    EXPECT_TRUE(ctx_.settings.Lines().empty());
    EXPECT_EQ(ctx_.state.IniPath, "");
    EXPECT_TRUE(ui_.layouts.empty());
  }

  // With the palette there, the same settings file ends the start.
  WritePalette();
  const std::string failure = StartFailure();
  EXPECT_EQ(failure.rfind(AppDir() + "gridkiln.ini: ", 0), 0u) << failure;
  EXPECT_TRUE(ui_.layouts.empty());
}

}  // namespace
}  // namespace gk
