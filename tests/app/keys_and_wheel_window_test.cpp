// The keyboard and the wheel in the real, active main window: each key and notch does what its
// button or menu item does, whatever has the focus in the window, and nothing while a dialog is
// up; the buttons' tooltips; the grid's pointer following the tool.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEnterEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <filesystem>
#include <string>
#include <utility>

#include "editor/document_files.h"
#include "editor/picture_files.h"
#include "editor/series_menu.h"
#include "support/main_window_fixture.h"
#include "support/modal_steps.h"
#include "widgets/tool_cursors.h"

namespace gk {
namespace {

using Pos = std::pair<int, int>;

// A colour the document never holds: while the grid surface keeps it, the grid was not redrawn.
constexpr Colour Stamp = 0x123456;

class KeysWindowTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    Start();
    std::filesystem::create_directories(dir->Path() + "bmp");
    form->show();
    Activate();
  }
  // No window manager hands the keyboard back when a dialog closes. (Qt counts the window as
  // active while a hidden dialog of its own still holds the keyboard, hence the own check.)
  void Activate() {
    form->activateWindow();
    ASSERT_TRUE(IsActive(form.get()));
  }
  static bool IsActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form.get(), key, modifiers);
  }
  // One wheel event; `angle` in eighths of a degree, 120 a notch.
  void Wheel(QWidget* widget, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event(QPointF(9, 9), widget->mapToGlobal(QPointF(9, 9)), QPoint(), angle,
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
  }
  void StampGrid() { form->ctx.controls.ImgMain.Canvas().WritePixel(0, 0, Stamp); }
  bool GridRedrawn() { return form->ctx.controls.ImgMain.Canvas().ReadPixel(0, 0) != Stamp; }
  Pos Origin() const { return {form->ctx.state.OriginX, form->ctx.state.OriginY}; }
};

TEST_F(KeysWindowTest, ArrowKeysStepAsTheArrowButtonsWhateverHasTheFocus) {
  // At the origin Left and Up do nothing, not even a redraw.
  StampGrid();
  Key(Qt::Key_Left);
  Key(Qt::Key_Up);
  EXPECT_EQ(Origin(), Pos(0, 0));
  EXPECT_FALSE(GridRedrawn());
  // Four steps of 4 reach the end of the 32-pixel image's range; the fifth does nothing.
  for (int i = 0; i < 4; ++i) Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(Origin(), Pos(16, 4));
  EXPECT_EQ(form->ImgCurV->pos(), form->ImgView->pos() + QPoint(32, -4));
  StampGrid();
  Key(Qt::Key_Right);
  EXPECT_EQ(Origin(), Pos(16, 4));
  EXPECT_FALSE(GridRedrawn());

  // From the menu bar, a focused control and a button: the menu bar keeps no keys of its own
  // while no menu is open.
  form->menuBar()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), form->menuBar());
  QTest::keyClick(form->menuBar(), Qt::Key_Left);
  EXPECT_EQ(Origin(), Pos(12, 4));
  form->ImgView->setFocusPolicy(Qt::StrongFocus);
  form->ImgView->setFocus();
  QTest::keyClick(form->ImgView, Qt::Key_Up);
  QTest::keyClick(form->btnNew, Qt::Key_Up);
  EXPECT_EQ(Origin(), Pos(12, 0));
}

TEST_F(KeysWindowTest, ToolLettersAndPageDownRunTheirControlsHandlers) {
  Key(Qt::Key_G);
  EXPECT_EQ(form->toolGroup->checkedAction(), form->mngPaint);
  EXPECT_EQ(form->windowTitle(), "Paint");
  Key(Qt::Key_I);
  EXPECT_EQ(form->ctx.state.Tool, ToolSpoit);
  EXPECT_EQ(form->windowTitle(), "Spoit");
  Key(Qt::Key_E);
  EXPECT_EQ(form->ctx.state.Tool, ToolErase);
  // A letter chooses its tool even where the menu bar holds the focus.
  form->menuBar()->setFocus();
  QTest::keyClick(form->menuBar(), Qt::Key_G);
  EXPECT_EQ(form->ctx.state.Tool, ToolPaint);
  Key(Qt::Key_B);
  EXPECT_EQ(form->toolGroup->checkedAction(), form->mngPen);

  SaveBmpFile(dir->Path() + "hero1.bmp", Surface(8, 8));
  SaveBmpFile(dir->Path() + "hero2.bmp", Surface(12, 8));
  LoadImageFile(form->ctx, dir->Path() + "hero1.bmp");
  RebuildSeriesMenu(form->ctx);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(form->windowTitle(), "gridkiln - hero2.bmp");
  EXPECT_EQ(form->ctx.Document().Width(), 12);
}

TEST_F(KeysWindowTest, FileShortcutsRunTheirItems) {
  form->ctx.Document().WritePixel(0, 0, Red);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(LoadBmpFile(dir->Path() + "bmp/1.bmp").ReadPixel(0, 0), Red);

  // Open shows the document's folder.
  SaveBmpFile(dir->Path() + "tile.bmp", Surface(8, 8));
  LoadImageFile(form->ctx, dir->Path() + "tile.bmp");
  QString folder;
  test::OnNextModal([&](QWidget* modal) {
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      folder = dialog->directory().absolutePath() + "/";
    }
    modal->close();
  });
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(folder.toStdString(), dir->Path());
  Activate();
  Key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(KeysWindowTest, KeysTypedIntoADialogStayThere) {
  QString typed;
  bool dialogActive = false;
  test::OnNextModal([&](QWidget* modal) {
    dialogActive = IsActive(modal);
    if (auto* name = modal->findChild<QLineEdit*>("fileNameEdit")) {
      name->setFocus();
      QTest::keyClicks(name, "gibe");
      for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown})
        QTest::keyClick(name, key);
      typed = name->text();
    }
    modal->close();
  });
  form->Open1->trigger();
  EXPECT_TRUE(dialogActive);
  EXPECT_EQ(typed, "gibe");
  EXPECT_EQ(form->ctx.state.Tool, ToolPen);
  EXPECT_EQ(form->windowTitle(), "gridkiln");
  EXPECT_EQ(Origin(), Pos(0, 0));
}

TEST_F(KeysWindowTest, WheelOverTheGridAndTheViewStepsTheEditWindow) {
  Wheel(form->ImgMain, {0, -120});
  Wheel(form->ImgView, {0, -360});
  EXPECT_EQ(Origin(), Pos(0, 16));
  StampGrid();
  Wheel(form->ImgMain, {0, -120});
  EXPECT_FALSE(GridRedrawn());
  // Shift turns the wheel sideways; a horizontal wheel turned left steps left.
  Wheel(form->ImgView, {0, -240}, Qt::ShiftModifier);
  Wheel(form->ImgMain, {120, 0});
  EXPECT_EQ(Origin(), Pos(4, 16));
  // Half notches add up; over other controls the wheel does nothing.
  Wheel(form->ImgMain, {0, 60});
  EXPECT_EQ(Origin(), Pos(4, 16));
  Wheel(form->ImgMain, {0, 60});
  Wheel(form->ImgPallete, {0, 120});
  Wheel(form->btnUp, {0, 120});
  EXPECT_EQ(Origin(), Pos(4, 12));
}

TEST_F(KeysWindowTest, ButtonsTellWhatTheyDoWithTheirKey) {
  const QString tips[] = {"New (Ctrl+N)",
                          "Open (Ctrl+O)",
                          "Save (Ctrl+S)",
                          "Paint (fill) (G)",
                          "Spoit (eyedropper) (I)",
                          "Move the edit window left (Left)",
                          "Move the edit window up (Up)",
                          "Move the edit window down (Down)",
                          "Move the edit window right (Right)",
                          "Open the next file of the series (PgDown)"};
  const QToolButton* buttons[] = {form->btnNew,   form->btnOpen,   form->btnSave, form->btnPaint,
                                  form->btnSpoit, form->btnLeft,   form->btnUp,   form->btnDown,
                                  form->btnRight, form->btnNextChr};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(buttons[i]->toolTip(), tips[i]);
}

bool PointerIs(const QWidget* grid, ToolCursor expected) {
  const CursorPicture picture = DrawToolCursor(expected);
  return grid->cursor().hotSpot() == picture.hotSpot &&
         grid->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32) == picture.image;
}

TEST_F(KeysWindowTest, GridPointerFollowsTheToolMadeOnFirstUse) {
  EXPECT_FALSE(form->ImgMain->testAttribute(Qt::WA_SetCursor));
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), form->ImgMain->mapToGlobal(QPointF(5, 5)));
  QApplication::sendEvent(form->ImgMain, &enter);
  EXPECT_TRUE(PointerIs(form->ImgMain, ToolCursor::Pen));
  Key(Qt::Key_E);
  EXPECT_TRUE(PointerIs(form->ImgMain, ToolCursor::Eraser));
  Key(Qt::Key_I);
  EXPECT_TRUE(PointerIs(form->ImgMain, ToolCursor::Eyedropper));
  // A pick hands back to the pen, and the pointer follows.
  QTest::mouseClick(form->ImgMain, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
  EXPECT_TRUE(PointerIs(form->ImgMain, ToolCursor::Pen));
  QTest::mouseClick(form->btnPaint, Qt::LeftButton);
  EXPECT_TRUE(PointerIs(form->ImgMain, ToolCursor::Fill));
}

}  // namespace
}  // namespace gk
