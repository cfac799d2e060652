#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <string>
#include <vector>

#include "editor/picture_files.h"
#include "support/main_window_fixture.h"

namespace gk {
namespace {

using test::AssetPalette;
using test::SendMouse;
using test::TempAppDir;

// The palette's size read independently of the window.
QSize PaletteSize() {
  return QImage(AssetPalette).size();
}

QColor At(QWidget* widget, int x, int y) {
  return widget->grab().toImage().pixelColor(x, y);
}

// True when every pixel of the widget as drawn has the colour.
bool AllOf(QWidget* widget, QColor colour) {
  const QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != colour) return false;
    }
  }
  return image.width() > 0 && image.height() > 0;
}

// Answers the next modal message box with `button`, recording what it showed.
struct MessageBoxAnswer {
  QString text, caption;
  QMessageBox::Icon icon = QMessageBox::Information;
  bool seen = false;

  void Arm(QMessageBox::StandardButton button, bool escape = false) {
    QTimer::singleShot(0, [this, button, escape] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen = true;
      text = box->text();
      caption = box->windowTitle();
      icon = box->icon();
      if (escape) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        box->button(button)->click();
      }
    });
  }
};

using MainWindowTest = test::MainWindowFixture;

struct Layout {
  const char* settings;
  int dot, width, height, width2, height2, buttonW, buttonH;
  int clientWidth;
};

TEST_F(MainWindowTest, ControlsStandWhereTheSizesPutThem) {
  const QSize pal = PaletteSize();
  const Layout layouts[] = {
      {nullptr, 37, 32, 32, 16, 16, 48, 40, 592},
      // A grid narrower than the button row: the client takes the row's width.
      {"Width=32\nHeight=32\nWidth2=16\nHeight2=16\nDotSize=8\nButtonW=48\nButtonH=40\n", 8, 32, 32,
       16, 16, 48, 40, 504},
      {"Width=64\r\nHeight=48\r\nWidth2=20\r\nHeight2=10\r\nDotSize=20\r\nButtonW=30\r\n"
       "ButtonH=50\r\n",
       20, 64, 48, 20, 10, 30, 50, 400},
  };
  for (const Layout& l : layouts) {
    SCOPED_TRACE(l.settings ? l.settings : "no settings file");
    Start(l.settings);
    const int gridH = l.dot * l.height2;
    EXPECT_EQ(form->client->size(), QSize(l.clientWidth, gridH + l.buttonH + pal.height()));
    EXPECT_EQ(form->ImgMain->geometry(), QRect(0, l.buttonH, l.dot * l.width2, gridH));
    EXPECT_EQ(form->ImgPallete->geometry(), QRect(QPoint(0, gridH + l.buttonH + 1), pal));
    EXPECT_EQ(form->ImgColor->geometry(),
              QRect(pal.width() + 1, gridH + l.buttonH + 1, l.dot, l.dot));
    const QRect view(pal.width() + 1, gridH + l.buttonH + l.dot + 2, 2 * l.width, 2 * l.height);
    EXPECT_EQ(form->ImgView->geometry(), view);
    EXPECT_EQ(form->ImgCurV->geometry(), QRect(view.left(), view.top() - 4, 2, 4));
    EXPECT_EQ(form->ImgCurH->geometry(), QRect(view.left() - 4, view.top(), 4, 2));

    const int w = l.buttonW;
    const std::vector<std::pair<QToolButton*, int>> buttons = {{form->btnNew, 0},
                                                               {form->btnOpen, w},
                                                               {form->btnSave, 2 * w},
                                                               {form->btnPaint, 3 * w + 8},
                                                               {form->btnSpoit, 4 * w + 8},
                                                               {form->btnLeft, 5 * w + 16},
                                                               {form->btnUp, 6 * w + 16},
                                                               {form->btnDown, 7 * w + 16},
                                                               {form->btnRight, 8 * w + 16},
                                                               {form->btnNextChr, 9 * w + 24}};
    for (auto [button, left] : buttons) {
      EXPECT_EQ(button->geometry(), QRect(left, 0, w, l.buttonH));
      EXPECT_TRUE(button->text().isEmpty());
      EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(form->ctx.Document().Width(), l.width);
    EXPECT_EQ(form->ctx.Document().Height(), l.height);
  }
}

TEST_F(MainWindowTest, WindowIsFixedWithoutMaximiseAndStartsClean) {
  Start();
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_GE(form->height(), form->client->height());
  EXPECT_EQ(form->pos(), QPoint(0, 16));
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form->windowTitle(), "gridkiln");
  EXPECT_EQ(form->mnMod->text(), "");
  EXPECT_EQ(form->toolGroup->checkedAction(), nullptr);
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_EQ(form->ctx.state.CurColor, White);
  EXPECT_FALSE(form->ctx.state.Modified);
  EXPECT_FALSE(form->ctx.controls.ImgViewB.HasSurface());
  // The three dialogs exist, hidden, before the event loop runs.
  ASSERT_NE(form->FrmOption, nullptr);
  ASSERT_NE(form->frmNew, nullptr);
  ASSERT_NE(form->frmColor, nullptr);
  EXPECT_FALSE(form->FrmOption->isVisible());
}

TEST_F(MainWindowTest, InitialPixels) {
  Start();
  EXPECT_TRUE(AllOf(form->ImgView, Qt::black));
  EXPECT_TRUE(AllOf(form->ImgMain, Qt::black));
  EXPECT_TRUE(AllOf(form->ImgColor, Qt::white));
  EXPECT_TRUE(AllOf(form->ImgCurV, Qt::red));
  EXPECT_TRUE(AllOf(form->ImgCurH, Qt::red));
  // The palette shows its file 1:1.
  const QImage palette(AssetPalette);
  const QImage shown = form->ImgPallete->grab().toImage();
  ASSERT_EQ(shown.size(), palette.size());
  for (QPoint p : {QPoint(0, 0), QPoint(palette.width() - 1, palette.height() - 1),
                   QPoint(palette.width() / 2, palette.height() / 3)}) {
    EXPECT_EQ(shown.pixelColor(p), palette.pixelColor(p));
  }
}

// Captions of a menu's items, "-" for a separator, submenus as "Caption>".
std::vector<QString> Captions(QMenu* menu) {
  std::vector<QString> out;
  for (QAction* a : menu->actions()) {
    out.push_back(a->isSeparator() ? "-" : a->menu() ? a->text() + ">" : a->text());
  }
  return out;
}

TEST_F(MainWindowTest, MenuBar) {
  Start();
  std::vector<QString> top;
  for (QAction* a : form->menuBar()->actions()) top.push_back(a->text());
  EXPECT_EQ(top, (std::vector<QString>{"&File", "&Edit", "&Pen", "&Chrs", ""}));
  EXPECT_EQ(form->menuBar()->actions().back(), form->mnMod);

  EXPECT_EQ(Captions(form->File1), (std::vector<QString>{"&New", "New size", "&Open", "&Save",
                                                         "&Save as...", "Save++", "-", "&Quit"}));
  EXPECT_EQ(Captions(form->Edit1),
            (std::vector<QString>{"&Undo", "-", "Shift>", "Mirror>", "Rotate", "-", "&Option"}));
  EXPECT_EQ(Captions(form->Shift1), (std::vector<QString>{"Up", "Right", "Down", "Left"}));
  EXPECT_EQ(Captions(form->Mirrow1), (std::vector<QString>{"Virtical", "Horizontal"}));
  EXPECT_EQ(Captions(form->mnPen), (std::vector<QString>{"&Pen", "&Erase", "P&aint", "&Spoit"}));
  EXPECT_TRUE(form->mnChrs->actions().isEmpty());
  for (QAction* a : form->mnPen->actions()) {
    EXPECT_TRUE(a->isCheckable());
    EXPECT_EQ(a->actionGroup(), form->toolGroup);
  }
  EXPECT_TRUE(form->toolGroup->isExclusive());
}

// The items themselves are driven in the drawing window tests; here, the two tool buttons.
TEST_F(MainWindowTest, ToolButtonsSelectTools) {
  Start();
  QTest::mouseClick(form->btnPaint, Qt::LeftButton);
  EXPECT_EQ(form->ctx.state.Tool, ToolPaint);
  EXPECT_TRUE(form->mngPaint->isChecked());
  EXPECT_EQ(form->windowTitle(), "Paint");
  EXPECT_TRUE(form->Timer1->isActive());

  QTest::mouseClick(form->btnSpoit, Qt::LeftButton);
  EXPECT_EQ(form->ctx.state.Tool, ToolSpoit);
  EXPECT_EQ(form->toolGroup->checkedAction(), form->mngSpoit);
  EXPECT_EQ(form->windowTitle(), "Spoit");
}

TEST_F(MainWindowTest, ArrowButtonsMoveTheWindowAndTheMarkers) {
  Start();
  const QPoint view = form->ImgView->pos();
  form->ctx.Document().WritePixel(20, 18, Red);
  for (int i = 0; i < 5; ++i) QTest::mouseClick(form->btnRight, Qt::LeftButton);
  for (int i = 0; i < 3; ++i) QTest::mouseClick(form->btnDown, Qt::LeftButton);
  QTest::mouseClick(form->btnUp, Qt::LeftButton);
  EXPECT_EQ(form->ctx.state.OriginX, 16);
  EXPECT_EQ(form->ctx.state.OriginY, 8);
  EXPECT_EQ(form->ImgCurV->pos(), QPoint(view.x() + 32, view.y() - 4));
  EXPECT_EQ(form->ImgCurH->pos(), QPoint(view.x() - 4, view.y() + 16));
  // Pixel (20, 18) is now in cell (4, 10) of the grid.
  EXPECT_EQ(At(form->ImgMain, 4 * 37 + 18, 10 * 37 + 18), QColor(Qt::red));
  EXPECT_EQ(At(form->ImgMain, 3 * 37 + 18, 10 * 37 + 18), QColor(Qt::black));

  QTest::mouseClick(form->btnLeft, Qt::LeftButton);
  EXPECT_EQ(form->ctx.state.OriginX, 12);
}

TEST_F(MainWindowTest, DraggingOnTheViewMovesTheWindow) {
  Start();
  const QPoint view = form->ImgView->pos();
  SendMouse(form->ImgView, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(form->ImgView, QEvent::MouseMove, {15, 13}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form->ctx.state.OriginX, 5);
  EXPECT_EQ(form->ctx.state.OriginY, 3);
  EXPECT_EQ(form->ImgCurV->pos(), QPoint(view.x() + 10, view.y() - 4));
  EXPECT_EQ(form->ImgCurH->pos(), QPoint(view.x() - 4, view.y() + 6));

  // While the button is held, moves far outside the view still arrive and clamp.
  SendMouse(form->ImgView, QEvent::MouseMove, {400, -300}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form->ctx.state.OriginX, 16);
  EXPECT_EQ(form->ctx.state.OriginY, 0);
  SendMouse(form->ImgView, QEvent::MouseButtonRelease, {400, -300}, Qt::LeftButton, Qt::NoButton);

  // A right drag moves nothing, but its press sets the anchor.
  SendMouse(form->ImgView, QEvent::MouseButtonPress, {30, 30}, Qt::RightButton, Qt::RightButton);
  SendMouse(form->ImgView, QEvent::MouseMove, {0, 60}, Qt::NoButton, Qt::RightButton);
  EXPECT_EQ(form->ctx.state.OriginX, 16);
  EXPECT_EQ(form->ctx.state.OriginY, 0);
  EXPECT_EQ(form->ctx.state.DragX, 30);
  EXPECT_EQ(form->ctx.state.DragY, 30);
}

// Palette picks and the grid as shown are checked in the drawing window tests; here, what a
// pen press shows beyond the grid.
TEST_F(MainWindowTest, PenPressShowsInTheViewAndTheMarker) {
  Start();
  SendMouse(form->ImgMain, QEvent::MouseButtonPress, {3 * 37 + 5, 2 * 37 + 36}, Qt::LeftButton,
            Qt::LeftButton);
  EXPECT_EQ(form->ctx.Document().ReadPixel(3, 2), White);
  EXPECT_EQ(form->mnMod->text(), "*");
  // The view shows the dot doubled.
  const QImage view = form->ImgView->grab().toImage();
  for (QPoint p : {QPoint(6, 4), QPoint(7, 5)}) EXPECT_EQ(view.pixelColor(p), QColor(Qt::white));
  for (QPoint p : {QPoint(5, 4), QPoint(8, 4), QPoint(6, 3), QPoint(6, 6)}) {
    EXPECT_EQ(view.pixelColor(p), QColor(Qt::black));
  }
  // A move with the left button held plots the next cell, also from outside the grid.
  SendMouse(form->ImgMain, QEvent::MouseMove, {-5, 2 * 37}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form->ctx.Document().ReadPixel(0, 2), White);
  EXPECT_EQ(At(form->ImgMain, 5, 2 * 37 + 5), QColor(Qt::white));
}

TEST_F(MainWindowTest, SeriesItemsShowNamesLiterallyAndOpenTheRealName) {
  Start();
  const std::string name = "a&b1.bmp";
  SaveBmpFile(dir->Path() + name, Surface(8, 4, PixelFormat::Rgb24(), Red));
  form->ctx.documentPath = dir->Path() + "a&b0.bmp";
  form->SetSeriesItems({name, "a&b2.bmp"});
  form->SetSeriesItems({name, "a&b3.bmp"});  // a rebuild replaces the items
  const QList<QAction*> items = form->mnChrs->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), "a&&b1.bmp");
  EXPECT_EQ(items[1]->text(), "a&&b3.bmp");

  items[0]->trigger();
  EXPECT_EQ(form->windowTitle(), "gridkiln - a&b1.bmp");
  EXPECT_EQ(form->ctx.Document().Width(), 8);
  EXPECT_EQ(form->ctx.Document().ReadPixel(7, 3), Red);
}

TEST_F(MainWindowTest, MessageBoxesShowWhatTheyAreGivenAndAnswer) {
  Start();
  struct Case {
    MessageButtons buttons;
    MessageIcon icon;
    QMessageBox::StandardButton click;
    bool escape;
    MessageResult expected;
  };
  const Case cases[] = {
      {MessageButtons::Ok, MessageIcon::Stop, QMessageBox::Ok, false, MessageResult::Ok},
      {MessageButtons::YesNoCancel, MessageIcon::None, QMessageBox::Yes, false, MessageResult::Yes},
      {MessageButtons::YesNoCancel, MessageIcon::None, QMessageBox::No, false, MessageResult::No},
      {MessageButtons::YesNoCancel, MessageIcon::None, QMessageBox::Cancel, false,
       MessageResult::Cancel},
      {MessageButtons::YesNoCancel, MessageIcon::None, QMessageBox::NoButton, true,
       MessageResult::Cancel},
      {MessageButtons::YesNo, MessageIcon::None, QMessageBox::No, false, MessageResult::No},
  };
  for (const Case& c : cases) {
    MessageBoxAnswer answer;
    answer.Arm(c.click, c.escape);
    EXPECT_EQ(form->ShowMessage("Save current image?", "Prompt", c.buttons, c.icon), c.expected);
    EXPECT_TRUE(answer.seen);
    EXPECT_EQ(answer.text, "Save current image?");
    EXPECT_EQ(answer.caption, "Prompt");
    EXPECT_EQ(answer.icon,
              c.icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon);
  }
}

TEST_F(MainWindowTest, ClosingAsksFirstOnlyWhenModified) {
  Start();
  form->show();
  EXPECT_TRUE(form->close());  // unmodified: no question
  EXPECT_FALSE(form->isVisible());

  form->show();
  form->ctx.state.Modified = true;
  MessageBoxAnswer cancel;
  cancel.Arm(QMessageBox::Cancel);
  form->Quit1->trigger();
  EXPECT_TRUE(cancel.seen);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->ctx.state.Modified);

  MessageBoxAnswer no;
  no.Arm(QMessageBox::No);
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(no.seen);
  EXPECT_FALSE(form->isVisible());
}

TEST(MainWindowStartTest, PaletteThatCannotBeReadEndsStartWithItsPath) {
  for (const char* content : {static_cast<const char*>(nullptr), "not a bitmap"}) {
    TempAppDir dir(nullptr, false);
    if (content) dir.Write("palette.bmp", content);
    const std::string path = dir.Path() + "palette.bmp";
    try {
      TForm1 form(dir.Path());
      ADD_FAILURE() << "started without a palette";
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace gk
