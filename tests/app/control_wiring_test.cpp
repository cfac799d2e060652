// The real window's wiring, walked against the controls table, the menu table and the table of
// keys and wheel steps: each control's event runs the handler the tables name (compared as the
// function itself), with the tag of "New size", each item and key has its key sequence (none
// where the table gives none), and nothing else is connected.
#include "app/control_wiring.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "editor/colour_selection.h"
#include "editor/document_files.h"
#include "editor/drawing_tools.h"
#include "editor/grid_view.h"
#include "editor/option_handler.h"
#include "editor/series_menu.h"
#include "editor/transforms.h"
#include "support/main_window_fixture.h"

namespace gk {
namespace {

// One row of the tables: the control by its name or, for a menu item, by the captions from the
// menu bar down to it; the event; the handler and its name.
struct Row {
  std::vector<QString> menuPath;  // empty for a control
  const char* name;
  ControlEvent event;
  Handler handler;
  const char* handlerName;
  int tag = 0;
  const char* key = "";  // the item's or the key's sequence, in Qt's portable text
};

const ControlEvent Click = ControlEvent::Click;
const ControlEvent Key = ControlEvent::Key;

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {{}, "btnNew", Click, TaggedHandler{BtnNewClick}, "BtnNewClick"},
      {{}, "btnOpen", Click, CommandHandler{BtnOpenClick}, "BtnOpenClick"},
      {{}, "btnSave", Click, CommandHandler{BtnSaveClick}, "BtnSaveClick"},
      {{}, "btnPaint", Click, CommandHandler{BtnPaintClick}, "BtnPaintClick"},
      {{}, "btnSpoit", Click, CommandHandler{BtnSpoitClick}, "BtnSpoitClick"},
      {{}, "btnLeft", Click, CommandHandler{btnLeftClick}, "btnLeftClick"},
      {{}, "btnUp", Click, CommandHandler{btnUpClick}, "btnUpClick"},
      {{}, "btnDown", Click, CommandHandler{btnDownClick}, "btnDownClick"},
      {{}, "btnRight", Click, CommandHandler{btnRightClick}, "btnRightClick"},
      {{}, "btnNextChr", Click, CommandHandler{btnNextChrClick}, "btnNextChrClick"},
      {{}, "ImgMain", ControlEvent::Press, PressHandler{ImgMainMouseDown}, "ImgMainMouseDown"},
      {{}, "ImgMain", ControlEvent::Move, MoveHandler{ImgMainMouseMove}, "ImgMainMouseMove"},
      {{},
       "ImgPallete",
       ControlEvent::Press,
       PressHandler{ImgPalleteMouseDown},
       "ImgPalleteMouseDown"},
      {{}, "ImgColor", ControlEvent::Press, CommandHandler{ImgColorMouseDown}, "ImgColorMouseDown"},
      {{}, "ImgView", ControlEvent::Press, PressHandler{ImgViewMouseDown}, "ImgViewMouseDown"},
      {{}, "ImgView", ControlEvent::Move, MoveHandler{ImgViewMouseMove}, "ImgViewMouseMove"},
      {{}, "Timer1", ControlEvent::Tick, CommandHandler{Timer1Timer}, "Timer1Timer"},

      {{"&File", "&New"}, "New1", Click, TaggedHandler{BtnNewClick}, "BtnNewClick", 0, "Ctrl+N"},
      {{"&File", "New size"}, "mnNewSize", Click, TaggedHandler{BtnNewClick}, "BtnNewClick", 1},
      {{"&File", "&Open"},
       "Open1",
       Click,
       CommandHandler{BtnOpenClick},
       "BtnOpenClick",
       0,
       "Ctrl+O"},
      {{"&File", "&Save"},
       "Save1",
       Click,
       CommandHandler{BtnSaveClick},
       "BtnSaveClick",
       0,
       "Ctrl+S"},
      {{"&File", "&Save as..."},
       "Saveas1",
       Click,
       CommandHandler{BtnSaveasClick},
       "BtnSaveasClick",
       0,
       "Ctrl+Shift+S"},
      {{"&File", "Save++"},
       "IncrementalSave1",
       Click,
       CommandHandler{IncrementalSave1Click},
       "IncrementalSave1Click"},
      {{"&File", "&Quit"},
       "Quit1",
       Click,
       WindowHandler{Button1Click},
       "Button1Click",
       0,
       "Ctrl+Q"},
      {{"&Edit", "&Undo"}, "Undo1", Click, CommandHandler{BtnUndoClick}, "BtnUndoClick"},
      {{"&Edit", "Shift", "Up"},
       "mnShiftUp",
       Click,
       CommandHandler{mnShiftUpClick},
       "mnShiftUpClick"},
      {{"&Edit", "Shift", "Right"},
       "mnShiftRight",
       Click,
       CommandHandler{mnShiftRightClick},
       "mnShiftRightClick"},
      {{"&Edit", "Shift", "Down"},
       "mnShiftDown",
       Click,
       CommandHandler{mnShiftDownClick},
       "mnShiftDownClick"},
      {{"&Edit", "Shift", "Left"},
       "mnShiftLeft",
       Click,
       CommandHandler{mnShiftLeftClick},
       "mnShiftLeftClick"},
      {{"&Edit", "Mirror", "Virtical"},
       "mnMirrorV",
       Click,
       CommandHandler{mnMirrorVClick},
       "mnMirrorVClick"},
      {{"&Edit", "Mirror", "Horizontal"},
       "mnMirrorH",
       Click,
       CommandHandler{mnMirrorHClick},
       "mnMirrorHClick"},
      {{"&Edit", "Rotate"}, "rotate1", Click, CommandHandler{rotate1Click}, "rotate1Click"},
      {{"&Edit", "&Option"}, "Option1", Click, CommandHandler{BtnOptionClick}, "BtnOptionClick"},
      {{"&Pen", "&Pen"}, "mngPen", Click, CommandHandler{BtnPenClick}, "BtnPenClick", 0, "B"},
      {{"&Pen", "&Erase"},
       "mngErase",
       Click,
       CommandHandler{BtnEraseClick},
       "BtnEraseClick",
       0,
       "E"},
      {{"&Pen", "P&aint"},
       "mngPaint",
       Click,
       CommandHandler{BtnPaintClick},
       "BtnPaintClick",
       0,
       "G"},
      {{"&Pen", "&Spoit"},
       "mngSpoit",
       Click,
       CommandHandler{BtnSpoitClick},
       "BtnSpoitClick",
       0,
       "I"},

      // Keys without a menu item, and the wheel's notches over the grid and the view.
      {{}, "keyLeft", Key, CommandHandler{btnLeftClick}, "btnLeftClick", 0, "Left"},
      {{}, "keyUp", Key, CommandHandler{btnUpClick}, "btnUpClick", 0, "Up"},
      {{}, "keyDown", Key, CommandHandler{btnDownClick}, "btnDownClick", 0, "Down"},
      {{}, "keyRight", Key, CommandHandler{btnRightClick}, "btnRightClick", 0, "Right"},
      {{}, "keyNextChr", Key, CommandHandler{btnNextChrClick}, "btnNextChrClick", 0, "PgDown"},
      {{}, "ImgMain", ControlEvent::WheelUp, CommandHandler{btnUpClick}, "btnUpClick"},
      {{}, "ImgMain", ControlEvent::WheelDown, CommandHandler{btnDownClick}, "btnDownClick"},
      {{}, "ImgMain", ControlEvent::WheelLeft, CommandHandler{btnLeftClick}, "btnLeftClick"},
      {{}, "ImgMain", ControlEvent::WheelRight, CommandHandler{btnRightClick}, "btnRightClick"},
      {{}, "ImgView", ControlEvent::WheelUp, CommandHandler{btnUpClick}, "btnUpClick"},
      {{}, "ImgView", ControlEvent::WheelDown, CommandHandler{btnDownClick}, "btnDownClick"},
      {{}, "ImgView", ControlEvent::WheelLeft, CommandHandler{btnLeftClick}, "btnLeftClick"},
      {{}, "ImgView", ControlEvent::WheelRight, CommandHandler{btnRightClick}, "btnRightClick"},
  };
  return rows;
}

std::string NameOf(const Handler& handler) {
  for (const Row& row : Rows()) {
    if (row.handler == handler) return row.handlerName;
  }
  return "a handler of neither table";
}

// The item reached from the menu bar through the captions of `path`.
QAction* MenuItem(QMenuBar* bar, const std::vector<QString>& path) {
  QList<QAction*> items = bar->actions();
  for (std::size_t i = 0; i < path.size(); ++i) {
    QAction* found = nullptr;
    for (QAction* item : items) {
      if (item->text() == path[i]) found = item;
    }
    if (found == nullptr || i + 1 == path.size()) return found;
    if (found->menu() == nullptr) return nullptr;
    items = found->menu()->actions();
  }
  return nullptr;
}

using ControlWiringTest = test::MainWindowFixture;

TEST_F(ControlWiringTest, EveryControlAndMenuItemRunsTheHandlerOfTheTables) {
  Start();
  const std::vector<ControlWiring>& wiring = form->Wiring();
  std::vector<bool> listed(wiring.size(), false);
  for (const Row& row : Rows()) {
    QObject* control = row.menuPath.empty() ? form->findChild<QObject*>(QLatin1String(row.name))
                                            : MenuItem(form->menuBar(), row.menuPath);
    SCOPED_TRACE(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->objectName(), QLatin1String(row.name));
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < wiring.size(); ++i) {
      if (wiring[i].control == control && wiring[i].event == row.event) entries.push_back(i);
    }
    ASSERT_EQ(entries.size(), 1u) << "connections of this event";
    const ControlWiring& entry = wiring[entries[0]];
    EXPECT_TRUE(entry.handler == row.handler)
        << "runs " << NameOf(entry.handler) << ", not " << row.handlerName;
    EXPECT_EQ(entry.tag, row.tag);
    if (auto* item = qobject_cast<QAction*>(control)) {
      EXPECT_EQ(item->shortcut(), QKeySequence(QLatin1String(row.key)));
    } else if (auto* key = qobject_cast<QShortcut*>(control)) {
      EXPECT_EQ(key->key(), QKeySequence(QLatin1String(row.key)));
    } else {
      EXPECT_STREQ(row.key, "") << "a control without keys";
    }
    listed[entries[0]] = true;
  }
  for (std::size_t i = 0; i < wiring.size(); ++i) {
    EXPECT_TRUE(listed[i]) << wiring[i].control->objectName().toStdString() << " runs "
                           << NameOf(wiring[i].handler) << ", which no table asks for";
  }
  EXPECT_EQ(wiring.size(), Rows().size());
}

}  // namespace
}  // namespace gk
