// The drawing tools and the colour controls driven through the real main window: presses, moves
// and releases on its widgets, checked on the document, the grid surface and the grid as shown.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editor/picture_files.h"
#include "support/main_window_fixture.h"
#include "widgets/colour_dialog.h"

namespace gk {
namespace {

constexpr int Dot = 37;
constexpr int Cells = 16;

// The palette written for these tests: every pixel a different colour, black at (0, 0), and
// 0x123456 at one pixel that the formula never yields (its red, 0x56, is no multiple of 4).
constexpr int PalW = 64;
constexpr int PalH = 32;
const QPoint MixPixel(41, 19);
constexpr Colour Mix = 0x123456;
// The stroke colour picked from the palette where a test needs one other than white.
const QPoint PickPixel(10, 20);

Colour PaletteColour(int x, int y) {
  if (QPoint(x, y) == MixPixel) return Mix;
  return MakeColour(static_cast<std::uint8_t>(4 * x), static_cast<std::uint8_t>(8 * y),
                    static_cast<std::uint8_t>(x + y));
}
const Colour Picked = PaletteColour(PickPixel.x(), PickPixel.y());

Colour ToColour(QRgb p) {
  return MakeColour(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                    static_cast<std::uint8_t>(qBlue(p)));
}

struct Cell {
  int c, r;
};

// A point inside a cell of the grid, by default its centre.
QPoint At(Cell cell, int dx = Dot / 2, int dy = Dot / 2) {
  return {cell.c * Dot + dx, cell.r * Dot + dy};
}

using test::SendMouse;

class DrawingWindowTest : public test::MainWindowFixture {
  // The stroke scripts below are lambdas over the fixture, so its helpers are public.
 public:
  void SetUp() override { Restart(); }

  // A fresh main window over a fresh AppDir with the test palette and a document the size of
  // the edit window.
  void Restart() {
    Surface palette(PalW, PalH, PixelFormat::Rgb24(), Black);
    for (int y = 0; y < PalH; ++y)
      for (int x = 0; x < PalW; ++x) palette.WritePixel(x, y, PaletteColour(x, y));
    Start("Width=16\r\nHeight=16\r\n", &palette);
    form->show();
    QApplication::processEvents();
  }

  QWidget* grid() const { return form->ImgMain; }

  // Presses go through QTest as a user's would; QTest treats the point (0, 0) as "the centre",
  // so the grid points used here never are (0, 0).
  void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mousePress(grid(), b, Qt::NoModifier, p);
    QApplication::processEvents();
  }
  void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseRelease(grid(), b, Qt::NoModifier, p);
    QApplication::processEvents();
  }
  // The second press of a double click: Qt delivers it as a double-click event.
  void SecondPress(QPoint p) {
    QTest::mouseDClick(grid(), Qt::LeftButton, Qt::NoModifier, p);
    QApplication::processEvents();
  }
  // Moves carry the held buttons explicitly.
  void Drag(QPoint p, Qt::MouseButtons held = Qt::LeftButton) {
    SendMouse(grid(), QEvent::MouseMove, p, Qt::NoButton, held);
  }
  void Hover(QPoint p) { Drag(p, Qt::NoButton); }
  void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    Press(p, b);
    Release(p, b);
  }

  void PickFromPalette(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(form->ImgPallete, QEvent::MouseButtonPress, p, b, b);
    SendMouse(form->ImgPallete, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
  }

  // Blackens a cell in the document and the grid, so that a later plot there shows.
  void Wipe(Cell cell) {
    form->ctx.Document().WritePixel(cell.c, cell.r, Black);
    form->ctx.controls.ImgMain.Canvas().FillRectangle(
        cell.c * Dot, cell.r * Dot, (cell.c + 1) * Dot, (cell.r + 1) * Dot, Black);
  }

  // The colour of a cell in the document; the cell's square on the grid surface and on the
  // screen must show the same colour all over.
  Colour CellColour(Cell cell) {
    const Colour doc = form->ctx.Document().ReadPixel(cell.c, cell.r);
    const Surface& surface = form->ctx.controls.ImgMain.Canvas();
    const QImage shown = grid()->grab().toImage();
    for (QPoint d : {QPoint(0, 0), QPoint(Dot - 1, 0), QPoint(0, Dot - 1), QPoint(Dot - 1, Dot - 1),
                     QPoint(Dot / 2, Dot / 2)}) {
      const QPoint p = At(cell, d.x(), d.y());
      EXPECT_EQ(surface.ReadPixel(p.x(), p.y()), doc)
          << "grid surface at " << p.x() << "," << p.y();
      EXPECT_EQ(ToColour(shown.pixel(p)), doc) << "shown grid at " << p.x() << "," << p.y();
    }
    return doc;
  }

  bool SwatchShows(Colour c) {
    const QImage shown = form->ImgColor->grab().toImage();
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (ToColour(shown.pixel(x, y)) != c) return false;
    return shown.width() == Dot && shown.height() == Dot;
  }

  Colour Doc(int x, int y) { return form->ctx.Document().ReadPixel(x, y); }
};

const Cell A{2, 3};
const Cell B{3, 3};
const Cell C{6, 9};

// The stroke rules themselves are covered with a fake UI; these check that presses, held
// buttons and releases arrive as the rules expect and that each plot shows on screen.
TEST_F(DrawingWindowTest, StrokesAsTheUserMakesThem) {
  struct Case {
    const char* name;
    std::function<void(DrawingWindowTest&)> script;
    std::vector<std::pair<Cell, Colour>> expected;
  };
  const std::vector<Case> cases = {
      {"cells A, B, A plot three dots",
       [](DrawingWindowTest& t) {
         t.Press(At(A));
         t.Drag(At(B));
         t.Wipe(A);
         t.Drag(At(A, 1, 30));
       },
       {{A, White}, {B, White}, {C, Black}}},
      {"a right-button drag plots only its press",
       [](DrawingWindowTest& t) {
         t.Press(At(A), Qt::RightButton);
         t.Drag(At(B), Qt::RightButton);
         t.Drag(At(C), Qt::RightButton | Qt::MiddleButton);
         t.Release(At(C), Qt::RightButton);
       },
       {{A, White}, {B, Black}, {C, Black}}},
      {"nothing after the release",
       [](DrawingWindowTest& t) {
         t.Press(At(A));
         t.Release(At(A));
         t.Hover(At(B));
         t.Hover(At(C));
       },
       {{A, White}, {B, Black}, {C, Black}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    c.script(*this);
    for (auto [cell, colour] : c.expected) {
      EXPECT_EQ(CellColour(cell), colour) << "cell " << cell.c << "," << cell.r;
    }
    // Everything off the expected cells stays black.
    int painted = 0;
    for (int y = 0; y < Cells; ++y)
      for (int x = 0; x < Cells; ++x) painted += Doc(x, y) != Black;
    int expectedPainted = 0;
    for (auto [cell, colour] : c.expected) expectedPainted += colour != Black;
    EXPECT_EQ(painted, expectedPainted);
  }
}

TEST_F(DrawingWindowTest, ToolItemsFollowTheChoiceAndTheUse) {
  EXPECT_EQ(form->toolGroup->checkedAction(), nullptr);
  Click(At(A));  // a white dot for the tools to act on

  struct Case {
    QAction* item;
    const char* title;  // nullptr: the title stays
    QAction* checkedAfterUse;
    Colour atA;  // the document at A after a press there
  };
  const std::vector<Case> cases = {
      {form->mngPaint, "Paint", form->mngPen, Picked},
      {form->mngSpoit, "Spoit", form->mngPen, Picked},
      {form->mngErase, nullptr, form->mngErase, Black},
      {form->mngPen, nullptr, form->mngPen, Picked},
  };
  PickFromPalette(PickPixel);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item->text().toStdString());
    const QString before = form->windowTitle();
    c.item->trigger();
    EXPECT_EQ(form->toolGroup->checkedAction(), c.item);
    EXPECT_EQ(form->windowTitle(), c.title ? QString(c.title) : before);
    // A titled tool starts the tick that puts the title back; the test stops it, so that the
    // title can only change by what the test does.
    EXPECT_EQ(form->Timer1->isActive(), c.title != nullptr);
    form->Timer1->stop();
    Click(At(A));
    EXPECT_EQ(form->toolGroup->checkedAction(), c.checkedAfterUse);
    // The use does not touch the title.
    EXPECT_EQ(form->windowTitle(), c.title ? QString(c.title) : before);
    EXPECT_EQ(CellColour(A), c.atA);
  }
}

// The dialog's own controls are covered by its tests; here, that a click on the swatch with
// either button runs it with the current colour and applies only its OK.
TEST_F(DrawingWindowTest, SwatchClickOpensTheColourDialog) {
  PickFromPalette(MixPixel);
  ASSERT_EQ(form->ctx.state.CurColor, Mix);

  struct Case {
    const char* name;
    Qt::MouseButton button;
    const char* moveBar;
    int moveTo;
    const char* answer;  // "OK" or "Button1" (Cancel)
    Colour expected;
  };
  const std::vector<Case> cases = {
      {"OK after a move", Qt::LeftButton, "tbB", 0xAB, "OK", 0xAB3456},
      {"Cancel after a move, right button", Qt::RightButton, "tbR", 0, "Button1", 0xAB3456},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool shown = false;
    QTimer::singleShot(0, form.get(), [&] {
      TfrmColor* dialog = form->frmColor;
      shown = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
      if (auto* bar = dialog->findChild<QSlider*>(c.moveBar)) bar->setValue(c.moveTo);
      if (auto* button = dialog->findChild<QPushButton*>(c.answer)) button->click();
      if (dialog->isVisible()) dialog->reject();  // never leave the test waiting
    });
    QTest::mouseClick(form->ImgColor, c.button);
    ASSERT_TRUE(shown);
    EXPECT_EQ(form->ctx.state.CurColor, c.expected);
    EXPECT_TRUE(SwatchShows(c.expected));
  }
}

TEST_F(DrawingWindowTest, PaletteClickPicksExactlyThePixel) {
  struct Case {
    QPoint p;
    Qt::MouseButton button;
  };
  // Neighbours and corners, each a different colour; (0, 0) is black, a colour like any other.
  const std::vector<Case> cases = {
      {{1, 0}, Qt::LeftButton},
      {{0, 0}, Qt::LeftButton},
      {{0, 1}, Qt::RightButton},
      {{PalW - 1, PalH - 1}, Qt::MiddleButton},
      {{PalW - 2, PalH - 1}, Qt::LeftButton},
      {{33, 17}, Qt::LeftButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.p.x()) + "," + std::to_string(c.p.y()));
    PickFromPalette(c.p, c.button);
    const Colour expected = PaletteColour(c.p.x(), c.p.y());
    EXPECT_EQ(form->ctx.state.CurColor, expected);
    EXPECT_TRUE(SwatchShows(expected));
  }
}

// Opening through the real file dialog arms the guard, and only the timer's tick ends it.
TEST_F(DrawingWindowTest, OpenGuardIgnoresGridPresses) {
  const std::string path = dir->Path() + "opened.bmp";
  SaveBmpFile(path, Surface(Cells, Cells, PixelFormat::Rgb24(), 0x00FF00));
  bool answered = false;
  QTimer::singleShot(0, form.get(), [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    answered = true;
    dialog->selectFile(QString::fromStdString(path));
    QMetaObject::invokeMethod(dialog, "accept");
    if (dialog->isVisible()) dialog->reject();
  });
  form->Open1->trigger();
  ASSERT_TRUE(answered);
  ASSERT_EQ(form->windowTitle(), "gridkiln - opened.bmp");
  ASSERT_TRUE(form->Timer1->isActive());
  // The test delivers the tick itself, so a slow machine cannot end the guard early.
  form->Timer1->stop();

  // A drag, a right click and a double click: none of them reaches the tools.
  Press(At(A));
  Drag(At(B));
  Release(At(B));
  Click(At(C), Qt::RightButton);
  SecondPress(At(A));
  Release(At(A));
  form->mngPaint->trigger();
  Click(At(C));
  EXPECT_EQ(CellColour(A), 0x00FF00u);
  EXPECT_EQ(CellColour(B), 0x00FF00u);
  EXPECT_EQ(CellColour(C), 0x00FF00u);
  EXPECT_EQ(form->mnMod->text(), "");
  EXPECT_EQ(form->ctx.state.Tool, ToolPaint);

  // The tick ends the guard: the next press fills.
  ASSERT_TRUE(QMetaObject::invokeMethod(form->Timer1, "timeout"));
  QApplication::processEvents();
  EXPECT_EQ(form->windowTitle(), "gridkiln - opened.bmp");
  Click(At(C));
  EXPECT_EQ(CellColour(C), White);
  EXPECT_EQ(Doc(15, 15), White);
  EXPECT_EQ(form->mnMod->text(), "*");
}

}  // namespace
}  // namespace gk
