#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QCursor>
#include <QMainWindow>

#include "app/control_wiring.h"
#include "editor/editor_context.h"
#include "editor/editor_ui.h"
#include "editor/tools.h"
#include "editor/wheel_steps.h"
#include "filesystem/program_folders.h"

class QAction;
class QActionGroup;
class QCloseEvent;
class QFileDialog;
class QMenu;
class QShortcut;
class QTimer;
class QToolButton;

namespace gk {

class FileDialog;
class ImageWidget;
class TFrmOption;
class TfrmNew;
class TfrmColor;

// Form1: builds the controls and menus, wires each control's event to its handler, runs the
// editor's start-up and shows what the handlers ask for. It holds no editing logic of its own.
class TForm1 : public QMainWindow, public EditorUi {
  Q_OBJECT
 public:
  // Throws when the palette or the settings file cannot be read.
  explicit TForm1(const ProgramFolders& folders, QWidget* parent = nullptr);
  // A portable copy in `appDir`, which ends with "/".
  explicit TForm1(const std::string& appDir, QWidget* parent = nullptr);
  ~TForm1() override;

  EditorContext ctx;

  // The client area: every control sits on it at its computed pixel position.
  QWidget* client = nullptr;

  QToolButton* btnNew = nullptr;
  QToolButton* btnOpen = nullptr;
  QToolButton* btnSave = nullptr;
  QToolButton* btnPaint = nullptr;
  QToolButton* btnSpoit = nullptr;
  QToolButton* btnLeft = nullptr;
  QToolButton* btnUp = nullptr;
  QToolButton* btnDown = nullptr;
  QToolButton* btnRight = nullptr;
  QToolButton* btnNextChr = nullptr;

  // ImgViewB has no widget: the undo copy is never shown.
  ImageWidget* ImgMain = nullptr;
  ImageWidget* ImgPallete = nullptr;
  ImageWidget* ImgColor = nullptr;
  ImageWidget* ImgView = nullptr;
  ImageWidget* ImgCurV = nullptr;
  ImageWidget* ImgCurH = nullptr;

  QMenu* File1 = nullptr;
  QAction* New1 = nullptr;
  QAction* mnNewSize = nullptr;
  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Saveas1 = nullptr;
  QAction* IncrementalSave1 = nullptr;
  QAction* N1 = nullptr;
  QAction* Quit1 = nullptr;

  QMenu* Edit1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* N2 = nullptr;
  QMenu* Shift1 = nullptr;
  QAction* mnShiftUp = nullptr;
  QAction* mnShiftRight = nullptr;
  QAction* mnShiftDown = nullptr;
  QAction* mnShiftLeft = nullptr;
  QMenu* Mirrow1 = nullptr;
  QAction* mnMirrorV = nullptr;
  QAction* mnMirrorH = nullptr;
  QAction* rotate1 = nullptr;
  QAction* N3 = nullptr;
  QAction* Option1 = nullptr;

  QMenu* mnPen = nullptr;
  QActionGroup* toolGroup = nullptr;
  // The tools' radio items, made from the tool table.
  QAction* mngPen = nullptr;
  QAction* mngErase = nullptr;
  QAction* mngPaint = nullptr;
  QAction* mngSpoit = nullptr;

  // The "&Chrs" title on the menu bar carries the menu mnChrs only while it has items: Qt 6.4
  // on X11 never shows a menu again once it was opened empty.
  QAction* chrsTitle = nullptr;
  QMenu* mnChrs = nullptr;
  QAction* mnMod = nullptr;

  // Keys of the window without a menu item: the arrows step the edit window as the arrow
  // buttons do, Page Down opens the next file of the series.
  QShortcut* keyLeft = nullptr;
  QShortcut* keyUp = nullptr;
  QShortcut* keyDown = nullptr;
  QShortcut* keyRight = nullptr;
  QShortcut* keyNextChr = nullptr;

  QTimer* Timer1 = nullptr;
  // Made on first use.
  QFileDialog* OpenDialog1 = nullptr;
  FileDialog* SaveDialog1 = nullptr;

  TFrmOption* FrmOption = nullptr;
  TfrmNew* frmNew = nullptr;
  TfrmColor* frmColor = nullptr;

  // The widget showing a control; nullptr for ImgViewB.
  ImageWidget* WidgetOf(ControlId id) const;
  // The radio item of the tool; nullptr for an id of no tool.
  QAction* ToolItem(std::int32_t tool) const;
  // Every connection of a control's event to its handler, as made.
  const std::vector<ControlWiring>& Wiring() const { return wiring_; }

  void SetTitle(const std::string& title) override;
  void SetModifiedMarker(const std::string& caption) override;
  void CheckToolItem(int tool) override;
  void ToolChanged(int tool) override;
  void StartTimer() override;
  void StopTimer() override;
  std::optional<ScreenRoom> WindowRoom() override;
  void LayOutWindow(const WindowLayout& layout) override;
  void RefreshControl(ControlId id) override;
  void ControlMoved(ControlId id) override;
  MessageResult ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) override;
  std::optional<std::string> RunOpenDialog(const std::string& folder) override;
  std::optional<std::string> RunSaveDialog(const std::string& presetPath) override;
  std::optional<Colour> RunColourDialog(Colour current) override;
  std::optional<std::pair<std::string, std::string>> RunNewSizeDialog(int width,
                                                                      int height) override;
  bool RunOptionDialog(OptionValues& values) override;
  void SetSeriesItems(const std::vector<std::string>& names) override;

 protected:
  // FormClose: asks ConfirmDiscard; a refusal or an error keeps the window open.
  void closeEvent(QCloseEvent* event) override;
  // The wheel over the grid and the view, and the pointer entering the grid.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  ImageWidget* AddImage(ControlId id, const char* name, bool stretch);
  void BuildMenus();
  void BuildKeys();
  void SetToolTips();
  void BuildDialogs();
  QFileDialog* OpenDialog();
  FileDialog* SaveDialog();
  std::vector<ControlWiring> WiringTable();
  void Connect(const ControlWiring& wiring);
  // Runs the entry's handler through the error guard, then repaints what the entry asks for.
  void Run(const ControlWiring& wiring, const PointerAt& pointer);
  void UpdateImages();
  // Runs the entry of `control` for `event` `count` times.
  void RunSteps(QObject* control, ControlEvent event, int count);
  // The grid's pointer shape for the tool, each made on first use.
  void ShowToolCursor(int tool);
  // The glyph button called `name`; the tool table naming no such button throws.
  QToolButton* ToolButton(const char* name) const;
  void AddSeriesItem(QMenu* menu, const std::string& name);

  std::array<QToolButton*, 10> toolButtons_{};  // in button-row order
  std::array<ImageWidget*, 7> widgets_{};       // by ControlId
  std::vector<ControlWiring> wiring_;
  WheelSteps wheel_;
  std::vector<QAction*> toolItems_;  // in the order of DrawingTools()
  std::map<ToolCursor, QCursor> toolCursors_;
  bool toolCursorShown_ = false;
};

// "&Quit": asks the main window to close, which asks FormClose.
void Button1Click(TForm1& form);

}  // namespace gk
