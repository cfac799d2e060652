// The drawing tools and the colour controls driven through the real main window: presses, moves
// and releases on its widgets, checked on the document, the grid surface and the grid as shown.
#include "workspace/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "platform/image_widget.h"
#include "workspace/colour_dialog.h"

namespace gk {
namespace {

constexpr int kDot = 37;
constexpr int kCells = 16;

// The palette written for these tests: every pixel a different colour, black at (0, 0), and
// 0x123456 at one pixel that the formula never yields (its red, 0x56, is no multiple of 4).
constexpr int kPalW = 64;
constexpr int kPalH = 32;
const QPoint kMixPixel(41, 19);
constexpr Colour kMix = 0x123456;
// The stroke colour picked from the palette where a test needs one other than white.
const QPoint kPickPixel(10, 20);

Colour PaletteColour(int x, int y) {
  if (QPoint(x, y) == kMixPixel) return kMix;
  return MakeColour(static_cast<std::uint8_t>(4 * x), static_cast<std::uint8_t>(8 * y),
                    static_cast<std::uint8_t>(x + y));
}
const Colour kPicked = PaletteColour(kPickPixel.x(), kPickPixel.y());

Colour ToColour(QRgb p) {
  return MakeColour(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                    static_cast<std::uint8_t>(qBlue(p)));
}

struct Cell {
  int c, r;
};

// A point inside a cell of the grid, by default its centre.
QPoint At(Cell cell, int dx = kDot / 2, int dy = kDot / 2) {
  return {cell.c * kDot + dx, cell.r * kDot + dy};
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
  QApplication::processEvents();
}

class DrawingWindowTest : public ::testing::Test {
  // The stroke scripts below are lambdas over the fixture, so its helpers are public.
 public:
  void SetUp() override {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    appDir_ = (dir_.path() + "/").toStdString();
    Surface palette(kPalW, kPalH, PixelFormat::Rgb24(), Black);
    for (int y = 0; y < kPalH; ++y)
      for (int x = 0; x < kPalW; ++x) palette.WritePixel(x, y, PaletteColour(x, y));
    SaveBmpFile(appDir_ + "palette.bmp", palette);
    // A document the size of the edit window, so that a wall drawn down the grid splits the
    // whole document and bounds a fill.
    QFile ini(dir_.filePath("gridkiln.ini"));
    if (!ini.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the ini");
    ini.write("Width=16\r\nHeight=16\r\n");
    ini.close();
    Restart();
  }

  void TearDown() override { Forget(); }

  // A fresh main window over the same folder.
  void Restart() {
    Forget();
    form = std::make_unique<TForm1>(appDir_);
    form->show();
    QApplication::processEvents();
  }

  // Nothing may ask to save while the window goes.
  void Forget() {
    if (form) form->ctx.state.Modified = false;
    form.reset();
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
        cell.c * kDot, cell.r * kDot, (cell.c + 1) * kDot, (cell.r + 1) * kDot, Black);
  }

  // The colour of a cell in the document; the cell's square on the grid surface and on the
  // screen must show the same colour all over.
  Colour CellColour(Cell cell) {
    const Colour doc = form->ctx.Document().ReadPixel(cell.c, cell.r);
    const Surface& surface = form->ctx.controls.ImgMain.Canvas();
    const QImage shown = grid()->grab().toImage();
    for (QPoint d : {QPoint(0, 0), QPoint(kDot - 1, 0), QPoint(0, kDot - 1),
                     QPoint(kDot - 1, kDot - 1), QPoint(kDot / 2, kDot / 2)}) {
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
    return shown.width() == kDot && shown.height() == kDot;
  }

  Colour Doc(int x, int y) { return form->ctx.Document().ReadPixel(x, y); }

  // A white column down the whole document at x = 8, drawn with the pen.
  void DrawWall() {
    Press(At({8, 0}));
    for (int r = 1; r < kCells; ++r) Drag(At({8, r}));
    Release(At({8, kCells - 1}));
    for (int y = 0; y < kCells; ++y) ASSERT_EQ(Doc(8, y), White) << y;
  }

  std::unique_ptr<TForm1> form;

  std::string AppDir() const { return appDir_; }

 private:
  QTemporaryDir dir_;
  std::string appDir_;
};

const Cell A{2, 3};
const Cell B{3, 3};
const Cell C{6, 9};

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
      {"moves within one cell plot once",
       [](DrawingWindowTest& t) {
         t.Press(At(A));
         t.Wipe(A);
         t.Drag(At(A, 0, 0));
         t.Drag(At(A, kDot - 1, kDot - 1));
         t.Drag(At(A));
       },
       {{A, Black}, {B, Black}}},
      {"moves are not joined by lines",
       [](DrawingWindowTest& t) {
         t.Press(At({1, 3}));
         t.Drag(At({5, 3}));
       },
       {{{1, 3}, White}, {{2, 3}, Black}, {{3, 3}, Black}, {{4, 3}, Black}, {{5, 3}, White}}},
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
      {"nothing after a fill while the button is still held",
       [](DrawingWindowTest& t) {
         t.Click(At(A));
         t.PickFromPalette(kPickPixel);
         t.form->mngPaint->trigger();
         t.Press(At(A));  // fills the one white pixel
         t.Drag(At(B));
         t.Drag(At(C));
       },
       {{A, kPicked}, {B, Black}, {C, Black}}},
      {"nothing after a pick while the button is still held",
       [](DrawingWindowTest& t) {
         t.Click(At(A));
         t.PickFromPalette(kPickPixel);
         QTest::mouseClick(t.form->btnSpoit, Qt::LeftButton);
         t.Press(At(A));  // picks white
         t.Drag(At(B));
         t.Drag(At(C));
       },
       {{A, White}, {B, Black}, {C, Black}}},
      {"erase plots black through a drag",
       [](DrawingWindowTest& t) {
         t.Press(At(A));
         t.Drag(At(B));
         t.Release(At(B));
         t.PickFromPalette(kPickPixel);
         t.form->mngErase->trigger();
         t.Press(At(C));
         t.Drag(At(B));
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
    for (int y = 0; y < kCells; ++y)
      for (int x = 0; x < kCells; ++x) painted += Doc(x, y) != Black;
    int expectedPainted = 0;
    for (auto [cell, colour] : c.expected) expectedPainted += colour != Black;
    EXPECT_EQ(painted, expectedPainted);
  }
}

TEST_F(DrawingWindowTest, DoubleClickWithPaintFillsThenArmsThePen) {
  DrawWall();
  PickFromPalette(kPickPixel);
  QTest::mouseClick(form->btnPaint, Qt::LeftButton);

  const Cell left{2, 5};
  const Cell right{11, 5};
  Press(At(left));
  Release(At(left));
  SecondPress(At(left));
  // The second press was a pen press: the held drag plots beyond the wall.
  Drag(At(right));
  Release(At(right));

  EXPECT_EQ(form->toolGroup->checkedAction(), form->mngPen);
  for (int y = 0; y < kCells; ++y) {
    for (int x = 0; x < kCells; ++x) {
      const Colour expected = x < 8                          ? kPicked
                              : x == 8                       ? White
                              : x == right.c && y == right.r ? kPicked
                                                             : Black;
      ASSERT_EQ(Doc(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(CellColour(right), kPicked);

  // Undo brings back the filled picture that the second press saved, not the black one.
  form->Undo1->trigger();
  QApplication::processEvents();
  EXPECT_EQ(CellColour(left), kPicked);
  EXPECT_EQ(CellColour({8, 5}), White);
  EXPECT_EQ(CellColour(right), Black);
  EXPECT_EQ(CellColour({0, 15}), kPicked);
}

TEST_F(DrawingWindowTest, EyedropperPressReplacesTheUndoCopyAndMarks) {
  QTest::mouseClick(form->btnSpoit, Qt::LeftButton);
  Click(At(C));
  EXPECT_EQ(form->ctx.state.CurColor, Black);
  EXPECT_TRUE(SwatchShows(Black));
  EXPECT_EQ(form->mnMod->text(), "*");
  EXPECT_EQ(form->toolGroup->checkedAction(), form->mngPen);
  // Without the snapshot of that press, Undo would turn the document white.
  form->Undo1->trigger();
  EXPECT_EQ(CellColour(C), Black);
  EXPECT_EQ(Doc(0, 0), Black);

  // A dot, then a pick: Undo goes back to the moment of the pick, which keeps the dot.
  PickFromPalette(kPickPixel);
  Click(At(A));
  QTest::mouseClick(form->btnSpoit, Qt::LeftButton);
  Click(At(C));
  EXPECT_EQ(form->ctx.state.CurColor, Black);
  form->Undo1->trigger();
  EXPECT_EQ(CellColour(A), kPicked);
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
      {form->mngPaint, "Paint", form->mngPen, kPicked},
      {form->mngSpoit, "Spoit", form->mngPen, kPicked},
      {form->mngErase, nullptr, form->mngErase, Black},
      {form->mngPen, nullptr, form->mngPen, kPicked},
  };
  PickFromPalette(kPickPixel);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item->text().toStdString());
    const QString before = form->windowTitle();
    c.item->trigger();
    EXPECT_EQ(form->toolGroup->checkedAction(), c.item);
    EXPECT_EQ(form->windowTitle(), c.title ? QString(c.title) : before);
    // Without the tick the title can only change by what the test does.
    form->Timer1->stop();
    Click(At(A));
    EXPECT_EQ(form->toolGroup->checkedAction(), c.checkedAfterUse);
    // The use does not touch the title.
    EXPECT_EQ(form->windowTitle(), c.title ? QString(c.title) : before);
    EXPECT_EQ(CellColour(A), c.atA);
  }
}

TEST_F(DrawingWindowTest, SwatchClickOpensTheColourDialog) {
  PickFromPalette(kMixPixel);
  ASSERT_EQ(form->ctx.state.CurColor, kMix);

  struct Case {
    const char* name;
    Qt::MouseButton button;
    int r, g, b;          // the thumbs as the dialog opens
    const char* moveBar;  // nullptr: no thumb moves
    int moveTo;
    const char* answer;  // "OK" or "Button1" (Cancel)
    Colour expected;
  };
  const std::vector<Case> cases = {
      {"OK as loaded", Qt::LeftButton, 86, 52, 18, nullptr, 0, "OK", kMix},
      {"OK after a move", Qt::LeftButton, 86, 52, 18, "tbB", 0xAB, "OK", 0xAB3456},
      {"Cancel after a move, right button", Qt::RightButton, 86, 52, 0xAB, "tbR", 0, "Button1",
       0xAB3456},
      {"OK after a move back", Qt::LeftButton, 86, 52, 0xAB, "tbB", 0x12, "OK", kMix},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool shown = false;
    int r = -1, g = -1, b = -1;
    std::string labels;
    QTimer::singleShot(0, form.get(), [&] {
      TfrmColor* dialog = form->frmColor;
      shown = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
      const auto bar = [dialog](const char* name) { return dialog->findChild<QSlider*>(name); };
      const auto label = [dialog](const char* name) {
        const QLabel* l = dialog->findChild<QLabel*>(name);
        return l ? l->text() : QString("?");
      };
      labels = (label("lblR") + " " + label("lblG") + " " + label("lblB")).toStdString();
      if (bar("tbR") && bar("tbG") && bar("tbB")) {
        r = bar("tbR")->value(), g = bar("tbG")->value(), b = bar("tbB")->value();
        if (c.moveBar) bar(c.moveBar)->setValue(c.moveTo);
      }
      if (auto* button = dialog->findChild<QPushButton*>(c.answer)) button->click();
      if (dialog->isVisible()) dialog->reject();  // never leave the test waiting
    });
    QTest::mouseClick(form->ImgColor, c.button);
    ASSERT_TRUE(shown);
    EXPECT_EQ(r, c.r);
    EXPECT_EQ(g, c.g);
    EXPECT_EQ(b, c.b);
    EXPECT_EQ(labels, QString("R:%1 G:%2 B:%3").arg(c.r).arg(c.g).arg(c.b).toStdString());
    EXPECT_EQ(form->ctx.state.CurColor, c.expected);
    EXPECT_TRUE(SwatchShows(c.expected));
  }

  // The mixed colour is what the pen draws.
  Click(At(A));
  EXPECT_EQ(CellColour(A), kMix);
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
      {{kPalW - 1, kPalH - 1}, Qt::MiddleButton},
      {{kPalW - 2, kPalH - 1}, Qt::LeftButton},
      {{33, 17}, Qt::LeftButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.p.x()) + "," + std::to_string(c.p.y()));
    PickFromPalette(c.p, c.button);
    const Colour expected = PaletteColour(c.p.x(), c.p.y());
    EXPECT_EQ(form->ctx.state.CurColor, expected);
    EXPECT_TRUE(SwatchShows(expected));
  }
  // The black pixel draws black over a coloured dot.
  PickFromPalette({1, 2});
  Click(At(B));
  ASSERT_EQ(CellColour(B), PaletteColour(1, 2));
  PickFromPalette({0, 0});
  Click(At(B));
  EXPECT_EQ(CellColour(B), Black);
}

TEST_F(DrawingWindowTest, OpenGuardIgnoresGridPresses) {
  const std::string path = AppDir() + "opened.bmp";
  SaveBmpFile(path, Surface(kCells, kCells, PixelFormat::Rgb24(), 0x00FF00));
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

  // Presses of every kind, a double click and a drag: none of them reaches the tools.
  Press(At(A));
  Drag(At(B));
  Release(At(B));
  Click(At(C), Qt::RightButton);
  Press(At(A));
  Release(At(A));
  SecondPress(At(A));
  Release(At(A));
  form->mngPaint->trigger();
  Click(At(C));
  EXPECT_EQ(CellColour(A), 0x00FF00u);
  EXPECT_EQ(CellColour(B), 0x00FF00u);
  EXPECT_EQ(CellColour(C), 0x00FF00u);
  EXPECT_EQ(form->mnMod->text(), "");
  EXPECT_FALSE(form->ctx.controls.ImgViewB.HasSurface());  // no snapshot was taken
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
