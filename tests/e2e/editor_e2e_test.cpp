#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/app_folder.h"
#include "e2e/desktop_session.h"
#include "e2e/editor_layout.h"
#include "e2e/editor_process.h"
#include "editor/picture_files.h"
#include "filesystem/file_io.h"
#include "image/bmp_codec.h"
#include "image/halftone_palette.h"

namespace gk::e2e {
namespace {

using L = EditorLayout;

// The program's exit and the dialogs can take long on a loaded machine.
constexpr int ExitTimeoutMs = 20000;
constexpr unsigned RgbBlack = 0x000000;
constexpr unsigned RgbWhite = 0xFFFFFF;
constexpr unsigned RgbRed = 0xFF0000;

// An area of the client area and the colour every pixel of it must (or must not) show.
struct Expect {
  QRect area;
  unsigned rgb;
  bool equal = true;
};

QString Hex(unsigned rgb) {
  return QString("#%1").arg(rgb, 6, 16, QChar('0'));
}

QString Describe(const QRect& r) {
  return QString("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Every pixel's colour, row by row, whatever the surface's format.
std::vector<Colour> Pixels(const Surface& s) {
  std::vector<Colour> out;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.ReadPixel(x, y));
  }
  return out;
}

std::vector<std::uint8_t> FileBytes(const QString& path) {
  return ReadFileBytes(path.toStdString(), 1 << 24);
}

class EditorJourney : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) Shot("failure");
    editor_.reset();
  }

  // A copy of the built editor in a fresh folder, started with `settings` as its gridkiln.ini
  // (none when absent).
  void Start(const std::optional<QByteArray>& settings = std::nullopt) {
    folder_ = std::make_unique<AppFolder>(GK_EDITOR_EXE, settings);
    palette_ = LoadBmpFile(folder_->PalettePath().toStdString());
    layout_.palW = palette_.Width();
    layout_.palH = palette_.Height();
    Launch(folder_->Program(), folder_->Root());
  }

  void Launch(const QString& program, const QString& workDir) {
    editor_ = std::make_unique<EditorProcess>(desktop_, program, workDir);
  }

  EditorProcess& Editor() { return *editor_; }

  // Leaves a screenshot for a person to inspect a run.
  void Shot(const QString& moment) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    desktop_.SaveScreenshot(GK_SHOT_DIR, QString("%1-%2").arg(info->name(), moment));
  }

  void Click(QPoint p) { Editor().Click(p.x(), p.y()); }
  void Press(L::Button b) { Click(L::ButtonCentre(b)); }
  // Picks the colour at palette pixel (x, y); returns it as the palette holds it.
  Colour PickPalette(int x, int y) {
    Click(layout_.PaletteAt(x, y));
    return palette_.ReadPixel(x, y);
  }

  // Waits until one screenshot shows every expectation; otherwise says what differs.
  ::testing::AssertionResult Shows(const std::vector<Expect>& expected, const QString& what) {
    auto mismatch = [&](const QImage& shot) -> QString {
      for (const Expect& e : expected) {
        for (int y = e.area.top(); y <= e.area.bottom(); ++y) {
          for (int x = e.area.left(); x <= e.area.right(); ++x) {
            const unsigned got = Editor().PixelOf(shot, x, y);
            if ((got == e.rgb) != e.equal) {
              return QString("area %1 should %2show %3; (%4, %5) shows %6")
                  .arg(Describe(e.area), e.equal ? "" : "not ", Hex(e.rgb))
                  .arg(x)
                  .arg(y)
                  .arg(Hex(got));
            }
          }
        }
      }
      return {};
    };
    if (Editor().WaitForScreen([&](const QImage& shot) { return mismatch(shot).isEmpty(); })) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << what.toStdString() << ": " << mismatch(Editor().Shot()).toStdString();
  }

  ::testing::AssertionResult HasTitle(const QString& title) {
    if (Editor().WaitForTitle(title)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "title is \"" << Editor().Title().toStdString()
                                         << "\", expected \"" << title.toStdString() << "\"";
  }

  // The grid cells showing `image` from origin (0, 0): cells past its edges are black.
  std::vector<Expect> GridShows(const Surface& image) {
    std::vector<Expect> cells;
    for (int row = 0; row < L::Cells; ++row) {
      for (int column = 0; column < L::Cells; ++column) {
        const QPoint c = L::CellCentre(column, row);
        const Colour colour = image.ReadPixel(column, row);
        cells.push_back({QRect(c, c), colour == NoColour ? RgbBlack : OnScreen(colour)});
      }
    }
    return cells;
  }

  DesktopSession desktop_;
  std::unique_ptr<AppFolder> folder_;
  std::unique_ptr<EditorProcess> editor_;
  Surface palette_;
  EditorLayout layout_;
};

// A palette pixel in the middle of the cell (column, row) of our palette.bmp's 24 x 24 cells.
QPoint PaletteCell(int column, int row) {
  return {column * 24 + 12, row * 24 + 12};
}

TEST_F(EditorJourney, StartsWithTheInitialLayoutAndMovesTheEditWindow) {
  Start();
  Shot("start");
  EXPECT_TRUE(HasTitle("gridkiln"));
  EXPECT_EQ(Editor().ClientSize(), QSize(L::GridSide, L::BelowGrid + layout_.palH));
  EXPECT_TRUE(Shows({{L::Grid(), RgbBlack},
                     {layout_.SwatchAboveMarker(), RgbWhite},
                     {layout_.View(32, 32), RgbBlack},
                     {layout_.MarkerV(0), RgbRed},
                     {layout_.MarkerH(0), RgbRed},
                     // The markers are 2 x 4 and 4 x 2, no larger.
                     {layout_.MarkerV(0).translated(2, 0), RgbRed, false},
                     {layout_.MarkerH(0).translated(0, 2), RgbRed, false}},
                    "at start"));

  // The palette shows palette.bmp at 1:1; its bottom row lies just outside the client area.
  std::vector<Expect> palette;
  for (int y = 0; y < layout_.palH - 1; y += 7) {
    for (int x = 0; x < layout_.palW; x += 11) {
      palette.push_back(
          {QRect(layout_.PaletteAt(x, y), QSize(1, 1)), OnScreen(palette_.ReadPixel(x, y))});
    }
  }
  EXPECT_TRUE(Shows(palette, "the palette"));

  // A white dot at image (0, 0) tells where the grid's window on the image stands.
  Click(L::CellCentre(0, 0));
  ASSERT_TRUE(Shows({{L::Cell(0, 0), RgbWhite}, {layout_.ViewPixel(0, 0), RgbWhite}}, "a dot"));

  // The arrows move the window 4 pixels; the view drag moves it as far as the pointer moved.
  Press(L::Right);
  EXPECT_TRUE(Shows({{layout_.MarkerV(4), RgbRed}, {L::Cell(0, 0), RgbBlack}}, "after Right"));
  Press(L::Down);
  EXPECT_TRUE(
      Shows({{layout_.MarkerH(4), RgbRed}, {layout_.MarkerH(0), RgbRed, false}}, "after Down"));
  const QPoint grip(layout_.ViewLeft() + 20, layout_.ViewTop() + 20);
  Editor().Drag(grip.x(), grip.y(), grip.x() + 5, grip.y(), 1);
  EXPECT_TRUE(Shows({{layout_.MarkerV(9), RgbRed}, {layout_.MarkerV(4), RgbRed, false}},
                    "after a drag of 5 to the right"));
  Shot("moved");
  Press(L::Up);
  Press(L::Left);
  Press(L::Left);
  Press(L::Left);
  EXPECT_TRUE(Shows({{layout_.MarkerV(0), RgbRed},
                     {layout_.MarkerH(0), RgbRed},
                     {layout_.MarkerV(1), RgbRed, false},
                     {L::Cell(0, 0), RgbWhite}},
                    "back at the origin"));
}

// A quick stroke on a document of the largest start-up size: the pointer crosses a row of the
// grid right after the press, every move sent at once. Every cell the pointer entered is
// painted, in the grid and in the view, however busy the program was when the moves came.
TEST_F(EditorJourney, AQuickStrokePaintsEveryCellOnTheLargestDocument) {
  Start(QByteArray("Width=4096\r\nHeight=4096\r\n"));
  constexpr int Row = 5;
  std::vector<QPoint> path;
  for (int column = 0; column < L::Cells; ++column) path.push_back(L::CellCentre(column, Row));
  Editor().QuickStroke(path);
  // The last move always arrives; once it has been painted, count the cells.
  const QRect last = L::Cell(L::Cells - 1, Row);
  Editor().WaitForScreen([&](const QImage& shot) {
    return Editor().PixelOf(shot, last.center().x(), last.center().y()) == RgbWhite;
  });
  const QImage shot = Editor().Shot();
  QStringList unpainted;
  for (int column = 0; column < L::Cells; ++column) {
    const QPoint cell = L::Cell(column, Row).center();
    const QPoint view = layout_.ViewPixel(column, Row).topLeft();
    if (Editor().PixelOf(shot, cell.x(), cell.y()) != RgbWhite ||
        Editor().PixelOf(shot, view.x(), view.y()) != RgbWhite) {
      unpainted << QString::number(column);
    }
  }
  EXPECT_EQ(L::Cells - unpainted.size(), L::Cells)
      << "cells painted; not painted: columns " << unpainted.join(", ").toStdString();
  // Nothing beside the stroke: the rows around it and the view right of it stay black.
  EXPECT_TRUE(Shows({{L::Cell(3, Row - 1), RgbBlack},
                     {L::Cell(3, Row + 1), RgbBlack},
                     {layout_.ViewPixel(L::Cells, Row), RgbBlack}},
                    "around the stroke"));
  Shot("quick-stroke");
}

TEST_F(EditorJourney, KeysAndTheWheelMoveTheEditWindowChooseAToolAndSave) {
  Start();
  // The arrow keys step the edit window as the arrow buttons do.
  Editor().Key("Right");
  EXPECT_TRUE(
      Shows({{layout_.MarkerV(4), RgbRed}, {layout_.MarkerV(0), RgbRed, false}}, "after Right"));
  Editor().Key("Down");
  EXPECT_TRUE(
      Shows({{layout_.MarkerH(4), RgbRed}, {layout_.MarkerH(0), RgbRed, false}}, "after Down"));
  // One notch of the wheel over the grid steps up; with Shift held, a notch down steps right.
  const QPoint over = L::CellCentre(8, 8);
  Editor().Click(over.x(), over.y(), 4);
  EXPECT_TRUE(Shows({{layout_.MarkerH(0), RgbRed}, {layout_.MarkerH(4), RgbRed, false}},
                    "after the wheel up"));
  desktop_.Xdotool({"keydown", "shift", "click", "5", "keyup", "shift"});
  EXPECT_TRUE(Shows({{layout_.MarkerV(8), RgbRed}, {layout_.MarkerV(4), RgbRed, false}},
                    "after Shift and the wheel down"));
  Shot("moved by keys");

  // G chooses the fill, which turns the black document white; Ctrl+S saves it.
  Editor().Key("g");
  EXPECT_TRUE(HasTitle("Paint"));
  Click(L::CellCentre(2, 2));
  EXPECT_TRUE(Shows({{L::Grid(), RgbWhite}, {layout_.View(32, 32), RgbWhite}}, "the fill"));
  Editor().Key("ctrl+s");
  EXPECT_TRUE(HasTitle("Saved as 1.bmp"));
  const Surface saved = LoadBmpFile((folder_->BmpDir() + "/1.bmp").toStdString());
  EXPECT_EQ(Pixels(saved), Pixels(Surface(32, 32, PixelFormat::Rgb24(), White)));
}

// The window's plain keys act again after every way a user leaves a menu, a dialog or a click:
// no state leaves the menu bar holding the keyboard, so E and F never open the Edit and File
// menus.
TEST_F(EditorJourney, PlainKeysActAfterEveryMenuDialogAndClick) {
  Start();
  struct State {
    const char* name;
    std::function<void()> reach;
    const char* key;      // an arrow moves the edit window; G and I name their tool in the title
    bool dialog = false;  // closed with Escape
  };
  const std::vector<State> states = {
      {"Escape on an open menu", [&] { Editor().Menu("f", {"Escape"}); }, "Right"},
      {"Escape twice",
       [&] {
         Editor().Menu("e", {"Escape", "Escape"});
       },
       "g"},
      {"Alt alone", [&] { Editor().Key("alt"); }, "Left"},
      {"Alt twice",
       [&] {
         desktop_.Xdotool({"key", "alt", "alt"});
       },
       "Down"},
      {"Left to the next menu, then Escape",
       [&] {
         Editor().Menu("e", {"Left", "Escape"});
       },
       "i"},
      {"an item chosen with its letter", [&] { Editor().Menu("p", {"p"}); }, "Up"},
      {"a menu opened by a click on its title and closed by a click elsewhere",
       [&] {
         Editor().Click(12, -10);
         ASSERT_FALSE(Editor().WaitForDialog().isEmpty()) << "the click opened no menu";
         Click({layout_.ViewLeft() + 150, layout_.ViewTop() + 30});
       },
       "Right"},
      {"the open dialog from the File menu", [&] { Editor().Menu("f", {"o"}); }, "g", true},
      {"a click on the grid", [&] { Click(L::CellCentre(3, 3)); }, "Left"},
      {"the save prompt from the File menu", [&] { Editor().Menu("f", {"n"}); }, "Down", true},
      {"a click on a button", [&] { Press(L::Spoit); }, "Up"},
      {"a click on the palette", [&] { Click(layout_.PaletteAt(30, 30)); }, "Right"},
      {"a click on the view", [&] { Click(layout_.ViewPixel(5, 5).center()); }, "Left"},
      {"a click on the swatch: the colour dialog", [&] { Click(layout_.Swatch().center()); }, "g",
       true},
  };
  int originX = 0;
  int originY = 0;
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    // The title of the last tool chosen must be gone before the next one can show.
    ASSERT_TRUE(WaitUntil([&] { return Editor().Title().startsWith("gridkiln"); }));
    state.reach();
    if (state.dialog) {
      ASSERT_FALSE(Editor().WaitForDialog().isEmpty()) << "no dialog came up";
      Editor().Key("Escape");
      ASSERT_TRUE(Editor().WaitForNoDialog());
      // As a window manager gives the keyboard back to the main window.
      Editor().FocusWindow(Editor().WindowId());
    }
    ASSERT_TRUE(Editor().WaitForNoDialog()) << "a menu stayed up";
    const QString key = state.key;
    Editor().Key(key);
    if (key == "g" || key == "i") {
      EXPECT_TRUE(HasTitle(key == "g" ? "Paint" : "Spoit"));
    } else {
      originX += key == "Right" ? 4 : key == "Left" ? -4 : 0;
      originY += key == "Down" ? 4 : key == "Up" ? -4 : 0;
      EXPECT_TRUE(Shows({{layout_.MarkerV(originX), RgbRed}, {layout_.MarkerH(originY), RgbRed}},
                        key + " moves the edit window"));
    }
    // E chooses the eraser and F nothing: neither opens its menu.
    Editor().Key("e");
    Editor().Key("f");
    const bool menuOpened = WaitUntil([&] { return !Editor().OtherWindows().isEmpty(); }, 700);
    EXPECT_FALSE(menuOpened) << "E or F opened a menu";
    if (menuOpened) desktop_.Xdotool({"key", "Escape", "Escape"});
  }
}

TEST_F(EditorJourney, DrawsFillsUndoesAndSavesUnderAnAutomaticName) {
  Start();
  // A red of the palette's third ramp; the fill takes a green of the fourth.
  const Colour ink = PickPalette(PaletteCell(4, 2).x(), PaletteCell(4, 2).y());
  const unsigned inkOnScreen = OnScreen(ink);
  ASSERT_TRUE(Shows({{layout_.SwatchAboveMarker(), inkOnScreen}}, "the swatch after the pick"));

  // A stroke across row 2 from column 1 to 5, one move per cell. The program merges moves that
  // queue up and paints only the cells that a move arrives in, so each cell is waited for.
  Editor().ButtonDown(L::CellCentre(1, 2).x(), L::CellCentre(1, 2).y());
  for (int column = 1; column <= 5; ++column) {
    if (column > 1) Editor().MoveTo(L::CellCentre(column, 2).x(), L::CellCentre(column, 2).y());
    ASSERT_TRUE(Shows({{L::Cell(column, 2), inkOnScreen}}, QString("stroke cell %1").arg(column)));
  }
  Editor().ButtonUp();
  std::vector<Expect> stroke = {
      {QRect(L::Cell(1, 2).topLeft(), L::Cell(5, 2).bottomRight()), inkOnScreen},
      {QRect(layout_.ViewPixel(1, 2).topLeft(), layout_.ViewPixel(5, 2).bottomRight()),
       inkOnScreen},
      {L::Cell(0, 2), RgbBlack},
      {L::Cell(6, 2), RgbBlack},
      {L::Cell(3, 3), RgbBlack}};
  ASSERT_TRUE(Shows(stroke, "the stroke"));
  Shot("stroke");

  const Colour green = PickPalette(PaletteCell(5, 3).x(), PaletteCell(5, 3).y());
  Press(L::Paint);
  EXPECT_TRUE(HasTitle("Paint"));
  Click(L::CellCentre(10, 10));
  // The fill runs over the whole black area, past the edit window too.
  EXPECT_TRUE(Shows({{L::Cell(10, 10), OnScreen(green)},
                     {L::Cell(0, 0), OnScreen(green)},
                     {L::Cell(3, 2), inkOnScreen},
                     {layout_.ViewPixel(31, 31), OnScreen(green)}},
                    "the fill"));
  Shot("filled");
  // The Paint title goes back once the second is over.
  EXPECT_TRUE(HasTitle("gridkiln - "));

  Editor().Menu("e", {"u"});
  auto undone = stroke;
  undone.push_back({L::Cell(10, 10), RgbBlack});
  undone.push_back({layout_.ViewPixel(31, 31), RgbBlack});
  ASSERT_TRUE(Shows(undone, "after Undo"));

  Press(L::Save);
  EXPECT_TRUE(HasTitle("Saved as 1.bmp"));
  EXPECT_TRUE(HasTitle("gridkiln - 1.bmp"));
  Shot("saved");

  const Surface saved = LoadBmpFile((folder_->BmpDir() + "/1.bmp").toStdString());
  ASSERT_EQ(saved.Width(), 32);
  ASSERT_EQ(saved.Height(), 32);
  EXPECT_EQ(saved.Format().bitsPerPixel, 24);
  Surface expected(32, 32, PixelFormat::Rgb24(), Black);
  for (int x = 1; x <= 5; ++x) expected.WritePixel(x, 2, ink);
  EXPECT_EQ(Pixels(saved), Pixels(expected));
  EXPECT_EQ(QDir(folder_->BmpDir()).entryList(QDir::Files), QStringList{"1.bmp"});
}

TEST_F(EditorJourney, Save256AndPngWriteAnEightBitFileAndTheSamePixelsAsPng) {
  // Without "Width" the sizes keep their initial values; only the two flags count.
  Start(QByteArray("Save256=1\r\nPng=1\r\n"));
  // An opened picture brings a colour that the halftone table does not hold.
  const Colour odd = MakeColour(0x12, 0x34, 0x56);
  const auto& table = HalftonePalette();
  const Colour reduced = table[NearestColourIndex(table.data(), 256, odd)];
  ASSERT_NE(reduced, odd) << "the journey needs a colour outside the halftone table";
  Surface picture(32, 32, PixelFormat::Rgb24(), Black);
  picture.WritePixel(3, 3, odd);
  const QString bmpPath = folder_->DocDir() + "/odd.bmp";
  SaveBmpFile(bmpPath.toStdString(), picture);
  Press(L::Open);
  Editor().ChooseFile(bmpPath);
  ASSERT_TRUE(HasTitle("gridkiln - odd.bmp"));

  // A skin tone of the palette, outside the cube: the table holds it, so it saves unchanged.
  const Colour skin = PickPalette(PaletteCell(6, 1).x(), PaletteCell(6, 1).y());
  // The grid takes no input until the title timer has run after the open: click until it draws.
  const QPoint dot = L::CellCentre(0, 0);
  ASSERT_TRUE(WaitUntil([&] {
    Click(dot);
    return Editor().WaitForScreen(
        [&](const QImage& shot) {
          return Editor().PixelOf(shot, dot.x(), dot.y()) == OnScreen(skin);
        },
        500);
  })) << "the pen never drew after the open";
  ASSERT_TRUE(Shows({{L::Cell(0, 0), OnScreen(skin)}, {L::Cell(3, 3), OnScreen(odd)}}, "two dots"));

  Press(L::Save);
  EXPECT_TRUE(HasTitle("Saved as odd.bmp"));
  // The document on the screen keeps its own colours.
  EXPECT_TRUE(Shows({{L::Cell(3, 3), OnScreen(odd)}}, "the grid after the save"));
  Shot("saved");

  const std::vector<std::uint8_t> bytes = FileBytes(bmpPath);
  const BmpInfo info = ReadBmpInfo(bytes, "odd.bmp");
  EXPECT_EQ(info.bitsPerPixel, 8);
  const Surface saved = DecodeBmp(bytes, "odd.bmp");
  ASSERT_EQ(saved.Width(), 32);
  ASSERT_EQ(saved.Height(), 32);
  EXPECT_EQ(saved.Format().colourTable, std::vector<Colour>(table.begin(), table.end()));
  Surface expected(32, 32, PixelFormat::Rgb24(), Black);
  expected.WritePixel(0, 0, skin);
  expected.WritePixel(3, 3, reduced);
  EXPECT_EQ(Pixels(saved), Pixels(expected));

  // The PNG beside it shows the same pixels as the BMP just written.
  QImage png(folder_->DocDir() + "/odd.png");
  ASSERT_FALSE(png.isNull()) << "no readable odd.png beside odd.bmp";
  ASSERT_EQ(png.size(), QSize(32, 32));
  std::vector<Colour> pngPixels;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QRgb p = png.pixel(x, y);
      pngPixels.push_back(MakeColour(qRed(p), qGreen(p), qBlue(p)));
    }
  }
  EXPECT_EQ(pngPixels, Pixels(saved));
}

// An indexed test picture: distinct table colours, and every pixel's index depends on both of
// its coordinates so that shifts and mirrors show.
Surface IndexedPicture(int bits, int width, int height) {
  const int count = 1 << bits;
  std::vector<Colour> table;
  for (int i = 0; i < count; ++i) {
    // Odd multipliers keep the red bytes, and so the colours, distinct.
    table.push_back(MakeColour(static_cast<std::uint8_t>(i * 37),
                               static_cast<std::uint8_t>(i * 101),
                               static_cast<std::uint8_t>(i * 59)));
  }
  Surface s(width, height, PixelFormat::Indexed(bits, table));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      s.Row<std::uint8_t>(y)[x] = static_cast<std::uint8_t>((x + 3 * y) % count);
  }
  return s;
}

TEST_F(EditorJourney, OpenedIndexedFilesKeepTheirFormatThroughShiftMirrorAndSave) {
  Start();
  // A file the reader refuses: an error box, and the program goes on with its document.
  const QString junk = folder_->DocDir() + "/junk.bmp";
  {
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture");
  }
  Press(L::Open);
  Editor().ChooseFile(junk);
  const QString box = Editor().WaitForDialog();
  ASSERT_FALSE(box.isEmpty()) << "no error box for junk.bmp";
  EXPECT_EQ(Editor().WindowName(box), "gridkiln");
  Shot("refused");
  Editor().FocusWindow(box);
  Editor().Key("Return");
  ASSERT_TRUE(Editor().WaitForNoDialog());
  EXPECT_TRUE(Editor().Running());
  EXPECT_TRUE(HasTitle("gridkiln"));
  EXPECT_TRUE(Shows({{L::Grid(), RgbBlack}}, "the document after the refused open"));

  struct Case {
    const char* name;
    int bits;
    int width;
    int height;
  };
  // Wider than the edit window and lower than it, so the grid shows a cut and black rows.
  for (const Case& c : {Case{"pic8.bmp", 8, 20, 12}, Case{"pic4.bmp", 4, 18, 6}}) {
    SCOPED_TRACE(c.name);
    const QString path = folder_->DocDir() + "/" + c.name;
    const Surface original = IndexedPicture(c.bits, c.width, c.height);
    SaveBmpFile(path.toStdString(), original);
    const std::vector<std::uint8_t> before = FileBytes(path);

    Press(L::Open);
    Editor().ChooseFile(path);
    ASSERT_TRUE(HasTitle(QString("gridkiln - ") + c.name));
    ASSERT_TRUE(Shows(GridShows(original), "the opened picture"));
    Shot(QString("opened-%1").arg(c.bits));

    Editor().Menu("e", {"Down", "Right", "Return"});  // Shift > Up
    Editor().WaitForNoDialog();
    Editor().Menu("e", {"Down", "Down", "Right", "Return"});  // Mirror > Virtical
    Surface moved = original;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        moved.Row<std::uint8_t>(y)[x] =
            original.Row<std::uint8_t>((y + 1) % c.height)[c.width - 1 - x];
      }
    }
    ASSERT_TRUE(Shows(GridShows(moved), "after Shift Up and Mirror Virtical"));
    Shot(QString("moved-%1").arg(c.bits));

    Press(L::Save);
    ASSERT_TRUE(WaitUntil([&] { return FileBytes(path) != before; }))
        << "Save did not rewrite " << c.name;
    EXPECT_TRUE(HasTitle(QString("gridkiln - ") + c.name));
    const std::vector<std::uint8_t> after = FileBytes(path);
    EXPECT_EQ(ReadBmpInfo(after, c.name).bitsPerPixel, c.bits);
    const Surface saved = DecodeBmp(after, c.name);
    ASSERT_EQ(saved.Width(), c.width);
    ASSERT_EQ(saved.Height(), c.height);
    EXPECT_EQ(saved.Format().colourTable, original.Format().colourTable);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        ASSERT_EQ(saved.Row<std::uint8_t>(y)[x], moved.Row<std::uint8_t>(y)[x])
            << "pixel (" << x << ", " << y << ")";
      }
    }
  }
}

TEST_F(EditorJourney, SeriesMenuNextButtonAndSavePlusPlus) {
  Start();
  struct Member {
    const char* name;
    Colour colour;
  };
  const std::vector<Member> files = {{"hero1.bmp", 0x0000FF},   {"hero10.bmp", 0x00FF00},
                                     {"hero2.bmp", 0xFF0000},   {"Hero3.bmp", 0x00FFFF},
                                     {"heroine.bmp", 0xFF00FF}, {"hello.bmp", 0xFFFF00}};
  auto colourOf = [&](const QString& name) {
    for (const Member& m : files) {
      if (name == m.name) return m.colour;
    }
    return Black;
  };
  const QString folder = folder_->DocDir();
  for (const Member& m : files) {
    SaveBmpFile((folder + "/" + m.name).toStdString(),
                Surface(8, 8, PixelFormat::Rgb24(), m.colour));
  }
  // The title and the picture in the grid both say which file is open.
  auto isOpen = [&](const QString& name) {
    return HasTitle("gridkiln - " + name) &&
           Shows({{L::Cell(0, 0), OnScreen(colourOf(name))}, {L::Cell(8, 8), RgbBlack}}, name);
  };

  Press(L::Open);
  Editor().ChooseFile(folder + "/hero2.bmp");
  ASSERT_TRUE(isOpen("hero2.bmp"));

  // The menu lists the hero files, sorted as text, without Hero3.bmp (another case) or
  // hello.bmp (another prefix). Its items are reached from the first with the arrow keys.
  const QStringList series = {"hero1.bmp", "hero10.bmp", "hero2.bmp", "heroine.bmp"};
  for (int i = 0; i < series.size(); ++i) {
    QStringList keys;
    for (int k = 0; k < i; ++k) keys << "Down";
    keys << "Return";
    Editor().Menu("c", keys);
    EXPECT_TRUE(isOpen(series[i])) << "menu item " << i;
    if (i == 0) Shot("first-menu-item");
  }
  Editor().Menu("c", {});
  Shot("series-menu");
  Editor().Key("Escape");
  ASSERT_TRUE(Editor().WaitForNoDialog());

  // The next button steps through the same list and wraps after the last.
  for (const char* name : {"hero1.bmp", "hero10.bmp", "hero2.bmp", "heroine.bmp", "hero1.bmp"}) {
    Press(L::Next);
    ASSERT_TRUE(isOpen(name)) << "the next button";
  }

  // Save++ on hero1.bmp: File, the sixth item.
  Editor().Menu("f", {"Down", "Down", "Down", "Down", "Down", "Return"});
  const QString plus = folder + "/hero1a.bmp";
  EXPECT_TRUE(WaitUntil([&] { return QFileInfo::exists(plus); })) << "no hero1a.bmp";
  EXPECT_TRUE(HasTitle("gridkiln - hero1a.bmp"));
  Shot("save-plus-plus");
  const Surface copy = LoadBmpFile(plus.toStdString());
  EXPECT_EQ(Pixels(copy), Pixels(Surface(8, 8, PixelFormat::Rgb24(), colourOf("hero1.bmp"))));
  EXPECT_EQ(copy.Format().bitsPerPixel, 24);

  // The menu was rebuilt with hero1a.bmp in it: hero2.bmp follows.
  Press(L::Next);
  EXPECT_TRUE(isOpen("hero2.bmp"));
}

TEST_F(EditorJourney, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
  Start();
  Click(L::CellCentre(4, 4));
  ASSERT_TRUE(Shows({{L::Cell(4, 4), RgbWhite}}, "a dot"));

  Editor().Menu("f", {"q"});
  QString prompt = Editor().WaitForDialog();
  ASSERT_FALSE(prompt.isEmpty()) << "no prompt on closing a changed document";
  EXPECT_EQ(Editor().WindowName(prompt), "Prompt");
  Shot("prompt");
  Editor().Key("Escape");
  ASSERT_TRUE(Editor().WaitForNoDialog());
  EXPECT_FALSE(Editor().WaitForExit(1000)) << "Cancel ended the program";
  EXPECT_TRUE(Shows({{L::Cell(4, 4), RgbWhite}}, "the document after Cancel"));

  Editor().Menu("f", {"q"});
  prompt = Editor().WaitForDialog();
  ASSERT_FALSE(prompt.isEmpty()) << "no prompt on the second close";
  Editor().Key("n");
  ASSERT_TRUE(Editor().WaitForExit(ExitTimeoutMs)) << "No did not end the program";
  EXPECT_EQ(Editor().ExitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Editor().ExitCode(), 0);
  EXPECT_TRUE(QDir(folder_->BmpDir()).entryList(QDir::Files).isEmpty()) << "No saved a file";
}

TEST_F(EditorJourney, ClosingWithChangesAndYesSavesBeforeEnding) {
  Start();
  Click(L::CellCentre(2, 1));
  ASSERT_TRUE(Shows({{L::Cell(2, 1), RgbWhite}}, "a dot"));
  Editor().Menu("f", {"q"});
  ASSERT_FALSE(Editor().WaitForDialog().isEmpty()) << "no prompt";
  Editor().Key("y");
  ASSERT_TRUE(Editor().WaitForExit(ExitTimeoutMs)) << "Yes did not end the program";
  EXPECT_EQ(Editor().ExitCode(), 0);
  const Surface saved = LoadBmpFile((folder_->BmpDir() + "/1.bmp").toStdString());
  Surface expected(32, 32, PixelFormat::Rgb24(), Black);
  expected.WritePixel(2, 1, White);
  EXPECT_EQ(Pixels(saved), Pixels(expected));
}

TEST_F(EditorJourney, WithoutPaletteShowsOneErrorBoxAndEnds) {
  folder_ = std::make_unique<AppFolder>(GK_EDITOR_EXE, std::nullopt);
  ASSERT_TRUE(QFile::remove(folder_->PalettePath()));
  editor_ = std::make_unique<EditorProcess>(desktop_, folder_->Program(), folder_->Root(),
                                            EditorProcess::FirstWindow::Any);
  Shot("error");
  // The box, captioned with the application title, is the only window.
  EXPECT_EQ(Editor().WindowName(Editor().WindowId()), "gridkiln");
  EXPECT_TRUE(Editor().OtherWindows().isEmpty());
  Editor().FocusWindow(Editor().WindowId());
  Editor().Key("Return");
  ASSERT_TRUE(Editor().WaitForExit(ExitTimeoutMs)) << "the program went on without a palette";
  EXPECT_EQ(Editor().ExitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Editor().ExitCode(), 0);
}

}  // namespace
}  // namespace gk::e2e
