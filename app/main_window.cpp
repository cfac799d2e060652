#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <cstddef>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "editor/colour_selection.h"
#include "editor/document_files.h"
#include "editor/drawing_tools.h"
#include "editor/grid_view.h"
#include "editor/handler_guard.h"
#include "editor/option_handler.h"
#include "editor/series_menu.h"
#include "editor/start_up.h"
#include "editor/tools.h"
#include "editor/transforms.h"
#include "widgets/app_icon.h"
#include "widgets/colour_dialog.h"
#include "widgets/file_dialog.h"
#include "widgets/glyphs.h"
#include "widgets/image_widget.h"
#include "widgets/menu_bar_style.h"
#include "widgets/message_box.h"
#include "widgets/new_size_dialog.h"
#include "widgets/option_dialog.h"
#include "widgets/program_path.h"
#include "widgets/qt_text.h"
#include "widgets/shown_path.h"
#include "widgets/tool_cursors.h"

namespace gk {

namespace {

// File names are shown literally: "&" would otherwise mark an access key.
QString MenuCaption(const QString& text) {
  QString caption = text;
  caption.replace('&', "&&");
  return caption;
}

// Room for the frame a window manager draws around the window: title bars are up to 40 pixels
// high and borders up to 4 wide on the common desktops (GNOME, KDE, Xfce) at a scale of 1.
constexpr int TitleBarAllowance = 40;
constexpr int FrameBorderAllowance = 4;

std::size_t IndexOf(ControlId id) {
  return static_cast<std::size_t>(id);
}

ControlWiring Click(QObject* control, CommandHandler handler) {
  return {control, ControlEvent::Click, handler};
}
ControlWiring Click(QObject* control, TaggedHandler handler, int tag) {
  return {control, ControlEvent::Click, handler, tag};
}
ControlWiring Click(QObject* control, WindowHandler handler) {
  return {control, ControlEvent::Click, handler};
}
// A step of the edit window refreshes what it changes itself; a step that does not act shows
// nothing anew.
ControlWiring Step(QObject* control, ControlEvent event, CommandHandler handler) {
  return {control, event, handler, 0, Repaint::Nothing};
}

// Connects `signal` to `slot` when `control` is a `Sender`.
template <typename Sender, typename Signal, typename Slot>
void ConnectIf(QObject* control, Signal signal, QObject* receiver, Slot slot) {
  if (auto* sender = qobject_cast<Sender*>(control))
    QObject::connect(sender, signal, receiver, slot);
}

// The file the user chose in the dialog, as its bytes on disk; nothing on Cancel.
std::optional<std::string> ChosenFile(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return PathOnDisk(ToUtf8(files.first()));
}

}  // namespace

void Button1Click(TForm1& form) {
  form.close();
}

TForm1::TForm1(const ProgramFolders& folders, QWidget* parent) : QMainWindow(parent), ctx(*this) {
  ctx.appTitle = ProgramTitle();
  BuildControls();
  BuildMenus();
  BuildKeys();
  SetToolTips();
  wiring_ = WiringTable();
  for (const ControlWiring& wiring : wiring_) Connect(wiring);
  StartEditor(ctx, folders);
  BuildDialogs();
}

TForm1::TForm1(const std::string& appDir, QWidget* parent)
    : TForm1(PortableFolders(appDir), parent) {}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
  setWindowTitle("gridkiln");
  // Drawn from the glyphs rather than looked up in the icon theme.
  setWindowIcon(QIcon(QPixmap::fromImage(DrawAppIcon(32))));
  // Fixed border with a minimise box and no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  client = new QWidget(this);
  setCentralWidget(client);
  // The client area holds the keyboard focus from the start and takes it back on a click on any
  // control in it, none of which takes the focus itself. The menu bar borrows the focus while it
  // moves from one menu to the next and hands it back to the widget that had it; with none, it
  // would keep it and take plain letters for its titles' access keys.
  client->setFocusPolicy(Qt::ClickFocus);
  client->setFocus();

  // The glyphs come in button-row order.
  QToolButton** const buttons[] = {&btnNew,  &btnOpen, &btnSave, &btnPaint, &btnSpoit,
                                   &btnLeft, &btnUp,   &btnDown, &btnRight, &btnNextChr};
  const char* const names[] = {"btnNew",  "btnOpen", "btnSave", "btnPaint", "btnSpoit",
                               "btnLeft", "btnUp",   "btnDown", "btnRight", "btnNextChr"};
  for (std::size_t i = 0; i < toolButtons_.size(); ++i) {
    auto* button = new QToolButton(client);
    button->setObjectName(QLatin1String(names[i]));
    button->setIcon(QIcon(QPixmap::fromImage(DrawGlyph(AllGlyphs[i]))));
    button->setIconSize(QSize(GlyphSide, GlyphSide));
    // Glyph buttons take no keyboard focus, like the toolbar buttons they stand for.
    button->setFocusPolicy(Qt::NoFocus);
    toolButtons_[i] = *buttons[i] = button;
  }

  ImgMain = AddImage(ControlId::ImgMain, "ImgMain", false);
  ImgPallete = AddImage(ControlId::ImgPallete, "ImgPallete", false);
  ImgColor = AddImage(ControlId::ImgColor, "ImgColor", false);
  ImgView = AddImage(ControlId::ImgView, "ImgView", true);
  ImgCurV = AddImage(ControlId::ImgCurV, "ImgCurV", false);
  ImgCurH = AddImage(ControlId::ImgCurH, "ImgCurH", false);
  // The markers lie over the other controls when the origin takes them past the view.
  ImgCurV->raise();
  ImgCurH->raise();
  // The grid shows the tool's pointer from the pointer's first entry on.
  ImgMain->installEventFilter(this);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  Timer1->setSingleShot(true);
}

ImageWidget* TForm1::AddImage(ControlId id, const char* name, bool stretch) {
  auto* widget = new ImageWidget(ctx.controls.Get(id), stretch, client);
  widget->setObjectName(QLatin1String(name));
  widgets_[IndexOf(id)] = widget;
  return widget;
}

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  // Each item carries its name, as the controls do, and the menu shows its key beside it.
  auto add = [](QMenu* menu, QAction*& item, const char* name, const char* caption,
                const QKeySequence& key = {}) {
    item = menu->addAction(FromUtf8(caption));
    item->setObjectName(QLatin1String(name));
    item->setShortcut(key);
  };

  File1 = bar->addMenu("&File");
  add(File1, New1, "New1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
  add(File1, mnNewSize, "mnNewSize", "New size");
  add(File1, Open1, "Open1", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O));
  add(File1, Save1, "Save1", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  add(File1, Saveas1, "Saveas1", "&Save as...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  add(File1, IncrementalSave1, "IncrementalSave1", "Save++");
  N1 = File1->addSeparator();
  add(File1, Quit1, "Quit1", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q));

  Edit1 = bar->addMenu("&Edit");
  add(Edit1, Undo1, "Undo1", "&Undo");
  N2 = Edit1->addSeparator();
  Shift1 = Edit1->addMenu("Shift");
  add(Shift1, mnShiftUp, "mnShiftUp", "Up");
  add(Shift1, mnShiftRight, "mnShiftRight", "Right");
  add(Shift1, mnShiftDown, "mnShiftDown", "Down");
  add(Shift1, mnShiftLeft, "mnShiftLeft", "Left");
  Mirrow1 = Edit1->addMenu("Mirror");
  add(Mirrow1, mnMirrorV, "mnMirrorV", "Virtical");
  add(Mirrow1, mnMirrorH, "mnMirrorH", "Horizontal");
  add(Edit1, rotate1, "rotate1", "Rotate");
  N3 = Edit1->addSeparator();
  add(Edit1, Option1, "Option1", "&Option");

  mnPen = bar->addMenu("&Pen");
  toolGroup = new QActionGroup(this);
  toolGroup->setExclusive(true);
  for (const DrawingTool& tool : DrawingTools()) {
    QAction* item = nullptr;
    add(mnPen, item, tool.itemName, tool.caption,
        QKeySequence::fromString(QLatin1String(tool.key), QKeySequence::PortableText));
    item->setCheckable(true);
    toolGroup->addAction(item);
    toolItems_.push_back(item);
  }
  mngPen = ToolItem(ToolPen);
  mngErase = ToolItem(ToolErase);
  mngPaint = ToolItem(ToolPaint);
  mngSpoit = ToolItem(ToolSpoit);

  // Alt alone and Escape on a menu leave the keyboard to the window's keys.
  auto* style = new MenuBarStyle;
  style->setParent(bar);
  bar->setStyle(style);

  chrsTitle = bar->addAction("&Chrs");
  mnChrs = new QMenu("&Chrs", this);
  mnMod = bar->addAction(QString());
}

// The window's keys act whatever has the focus in it, and not while a dialog or a menu is up,
// since another window is active then.
void TForm1::BuildKeys() {
  auto add = [this](QShortcut*& key, const char* name, Qt::Key sequence) {
    key = new QShortcut(QKeySequence(sequence), this);
    key->setObjectName(QLatin1String(name));
  };
  add(keyLeft, "keyLeft", Qt::Key_Left);
  add(keyUp, "keyUp", Qt::Key_Up);
  add(keyDown, "keyDown", Qt::Key_Down);
  add(keyRight, "keyRight", Qt::Key_Right);
  add(keyNextChr, "keyNextChr", Qt::Key_PageDown);
}

void TForm1::SetToolTips() {
  auto tip = [](QToolButton* button, const char* text, const QKeySequence& key) {
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(QLatin1String(text), key.toString(QKeySequence::NativeText)));
  };
  tip(btnNew, "New", New1->shortcut());
  tip(btnOpen, "Open", Open1->shortcut());
  tip(btnSave, "Save", Save1->shortcut());
  tip(btnLeft, "Move the edit window left", keyLeft->key());
  tip(btnUp, "Move the edit window up", keyUp->key());
  tip(btnDown, "Move the edit window down", keyDown->key());
  tip(btnRight, "Move the edit window right", keyRight->key());
  tip(btnNextChr, "Open the next file of the series", keyNextChr->key());
  for (const DrawingTool& tool : DrawingTools()) {
    if (tool.buttonName != nullptr)
      tip(ToolButton(tool.buttonName), tool.buttonTip, ToolItem(tool.id)->shortcut());
  }
}

std::vector<ControlWiring> TForm1::WiringTable() {
  std::vector<ControlWiring> table = {
      Click(btnNew, BtnNewClick, 0),
      Click(btnOpen, BtnOpenClick),
      Click(btnSave, BtnSaveClick),
      Step(btnLeft, ControlEvent::Click, btnLeftClick),
      Step(btnUp, ControlEvent::Click, btnUpClick),
      Step(btnDown, ControlEvent::Click, btnDownClick),
      Step(btnRight, ControlEvent::Click, btnRightClick),
      Click(btnNextChr, btnNextChrClick),

      Click(New1, BtnNewClick, 0),
      Click(mnNewSize, BtnNewClick, NewSizeTag),
      Click(Open1, BtnOpenClick),
      Click(Save1, BtnSaveClick),
      Click(Saveas1, BtnSaveasClick),
      Click(IncrementalSave1, IncrementalSave1Click),
      Click(Quit1, Button1Click),
      Click(Undo1, BtnUndoClick),
      Click(mnShiftUp, mnShiftUpClick),
      Click(mnShiftRight, mnShiftRightClick),
      Click(mnShiftDown, mnShiftDownClick),
      Click(mnShiftLeft, mnShiftLeftClick),
      Click(mnMirrorV, mnMirrorVClick),
      Click(mnMirrorH, mnMirrorHClick),
      Click(rotate1, rotate1Click),
      Click(Option1, BtnOptionClick),

      {ImgMain, ControlEvent::Press, ImgMainMouseDown},
      {ImgMain, ControlEvent::Move, ImgMainMouseMove},
      // The view's press only sets the anchor; a drag step refreshes what it changes itself.
      {ImgView, ControlEvent::Press, ImgViewMouseDown, 0, Repaint::Nothing},
      {ImgView, ControlEvent::Move, ImgViewMouseMove, 0, Repaint::Nothing},
      {ImgPallete, ControlEvent::Press, ImgPalleteMouseDown},
      {ImgColor, ControlEvent::Press, CommandHandler{ImgColorMouseDown}},

      {Timer1, ControlEvent::Tick, CommandHandler{Timer1Timer}},

      Step(keyLeft, ControlEvent::Key, btnLeftClick),
      Step(keyUp, ControlEvent::Key, btnUpClick),
      Step(keyDown, ControlEvent::Key, btnDownClick),
      Step(keyRight, ControlEvent::Key, btnRightClick),
      {keyNextChr, ControlEvent::Key, CommandHandler{btnNextChrClick}},

      Step(ImgMain, ControlEvent::WheelUp, btnUpClick),
      Step(ImgMain, ControlEvent::WheelDown, btnDownClick),
      Step(ImgMain, ControlEvent::WheelLeft, btnLeftClick),
      Step(ImgMain, ControlEvent::WheelRight, btnRightClick),
      Step(ImgView, ControlEvent::WheelUp, btnUpClick),
      Step(ImgView, ControlEvent::WheelDown, btnDownClick),
      Step(ImgView, ControlEvent::WheelLeft, btnLeftClick),
      Step(ImgView, ControlEvent::WheelRight, btnRightClick),
  };
  // A tool's item and its button, where it has one, choose it.
  for (const DrawingTool& tool : DrawingTools()) {
    table.push_back(Click(ToolItem(tool.id), tool.choose));
    if (tool.buttonName != nullptr)
      table.push_back(Click(ToolButton(tool.buttonName), tool.choose));
  }
  return table;
}

void TForm1::Connect(const ControlWiring& wiring) {
  const auto run = [this, wiring] { Run(wiring, {}); };
  switch (wiring.event) {
    case ControlEvent::Click:
      ConnectIf<QToolButton>(wiring.control, &QToolButton::clicked, this, run);
      ConnectIf<QAction>(wiring.control, &QAction::triggered, this, run);
      break;
    case ControlEvent::Tick:
      ConnectIf<QTimer>(wiring.control, &QTimer::timeout, this, run);
      break;
    case ControlEvent::Press:
      // Every button presses.
      if (auto* image = qobject_cast<ImageWidget*>(wiring.control)) {
        image->SetPressHandler([this, wiring](int x, int y, Qt::MouseButton) {
          Run(wiring, {x, y, false});
        });
      }
      break;
    case ControlEvent::Move:
      if (auto* image = qobject_cast<ImageWidget*>(wiring.control)) {
        image->SetMoveHandler([this, wiring](int x, int y, bool leftHeld) {
          Run(wiring, {x, y, leftHeld});
        });
      }
      break;
    case ControlEvent::Key:
      ConnectIf<QShortcut>(wiring.control, &QShortcut::activated, this, run);
      break;
    case ControlEvent::WheelUp:
    case ControlEvent::WheelDown:
    case ControlEvent::WheelLeft:
    case ControlEvent::WheelRight:
      // eventFilter turns the control's wheel events into steps and finds the entry of each.
      wiring.control->installEventFilter(this);
      break;
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const WheelMove move = wheel_.Add(wheel->angleDelta().x(), wheel->angleDelta().y(),
                                      wheel->modifiers().testFlag(Qt::ShiftModifier));
    RunSteps(watched, move.right < 0 ? ControlEvent::WheelLeft : ControlEvent::WheelRight,
             std::abs(move.right));
    RunSteps(watched, move.down < 0 ? ControlEvent::WheelUp : ControlEvent::WheelDown,
             std::abs(move.down));
    return true;
  }
  if (event->type() == QEvent::Enter && watched == ImgMain && !toolCursorShown_) {
    ShowToolCursor(ctx.state.Tool);
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::RunSteps(QObject* control, ControlEvent event, int count) {
  for (const ControlWiring& wiring : wiring_) {
    if (wiring.control != control || wiring.event != event) continue;
    for (int i = 0; i < count; ++i) Run(wiring, {});
  }
}

void TForm1::Run(const ControlWiring& wiring, const PointerAt& pointer) {
  Guarded(ctx.ui, ctx.appTitle, [&] { CallHandler(wiring, *this, ctx, pointer); });
  if (wiring.repaint == Repaint::Changed) UpdateImages();
}

ImageWidget* TForm1::WidgetOf(ControlId id) const {
  return widgets_[IndexOf(id)];
}

void TForm1::UpdateImages() {
  for (ControlId id : ShownControls) {
    const ControlChange change = ctx.controls.Get(id).TakeChange();
    WidgetOf(id)->UpdateChanged(change.rect, change.whole);
  }
}

std::optional<ScreenRoom> TForm1::WindowRoom() {
  const QScreen* screen = QGuiApplication::screenAt(QPoint(WindowLeft, WindowTop));
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return std::nullopt;
  const QRect area = screen->availableGeometry();
  // The window manager's frame is known only once the window is shown, after the layout.
  return ScreenRoom{{area.x(), area.y(), area.width(), area.height()},
                    2 * FrameBorderAllowance,
                    menuBar()->sizeHint().height() + TitleBarAllowance + FrameBorderAllowance};
}

void TForm1::LayOutWindow(const WindowLayout& layout) {
  move(WindowLeft, WindowTop);
  for (std::size_t i = 0; i < toolButtons_.size(); ++i) {
    const ControlRect& r = layout.buttons[i];
    toolButtons_[i]->setGeometry(r.left, r.top, r.width, r.height);
  }
  client->setFixedSize(layout.clientWidth, layout.clientHeight);
  // The menu bar takes its height above the client area; the window is not resizable.
  setFixedSize(layout.clientWidth,
               layout.clientHeight + menuBar()->heightForWidth(layout.clientWidth));
}

// The file dialogs are made on first use: each builds a file-system model, which would cost
// start-up more than all the other controls together.
QFileDialog* TForm1::OpenDialog() {
  if (!OpenDialog1) {
    OpenDialog1 = new FileDialog(this);
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilters(PictureFilters());
  }
  return OpenDialog1;
}

FileDialog* TForm1::SaveDialog() {
  if (!SaveDialog1) {
    SaveDialog1 = new FileDialog(this);
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilters(PictureFilters());
    SaveDialog1->setDefaultSuffix(DefaultPictureSuffix());
  }
  return SaveDialog1;
}

void TForm1::BuildDialogs() {
  FrmOption = new TFrmOption(this);
  frmNew = new TfrmNew(this);
  frmColor = new TfrmColor(this);
}

void TForm1::SetTitle(const std::string& title) {
  setWindowTitle(FromUtf8(title));
}

void TForm1::SetModifiedMarker(const std::string& caption) {
  mnMod->setText(FromUtf8(caption));
}

QAction* TForm1::ToolItem(std::int32_t tool) const {
  const DrawingTool* row = FindTool(tool);
  if (row == nullptr) return nullptr;
  return toolItems_[static_cast<std::size_t>(row - DrawingTools().data())];
}

QToolButton* TForm1::ToolButton(const char* name) const {
  for (QToolButton* button : toolButtons_) {
    if (button->objectName() == QLatin1String(name)) return button;
  }
  throw std::logic_error(std::string("The tool table names no button ") + name);
}

void TForm1::CheckToolItem(int tool) {
  if (QAction* item = ToolItem(tool)) item->setChecked(true);
}

void TForm1::ToolChanged(int tool) {
  ShowToolCursor(tool);
}

void TForm1::ShowToolCursor(int tool) {
  const DrawingTool* row = FindTool(tool);
  const ToolCursor kind = row != nullptr ? row->cursor : ToolCursor::Pen;
  auto cursor = toolCursors_.find(kind);
  if (cursor == toolCursors_.end()) {
    const CursorPicture picture = DrawToolCursor(kind);
    cursor = toolCursors_
                 .emplace(kind, QCursor(QPixmap::fromImage(picture.image), picture.hotSpot.x(),
                                        picture.hotSpot.y()))
                 .first;
  }
  ImgMain->setCursor(cursor->second);
  toolCursorShown_ = true;
}

void TForm1::StartTimer() {
  // A start while the second runs does not restart it.
  if (!Timer1->isActive()) Timer1->start();
}

void TForm1::StopTimer() {
  Timer1->stop();
}

void TForm1::RefreshControl(ControlId id) {
  // At once, and only what the control's surface shows changed since it was last shown.
  if (ImageWidget* widget = WidgetOf(id)) {
    const ControlChange change = ctx.controls.Get(id).TakeChange();
    widget->RepaintChanged(change.rect, change.whole);
  }
}

void TForm1::ControlMoved(ControlId id) {
  if (ImageWidget* widget = WidgetOf(id)) {
    const ImageControl& c = ctx.controls.Get(id);
    widget->setGeometry(c.Left, c.Top, c.Width, c.Height);
  }
}

MessageResult TForm1::ShowMessage(const std::string& text, const std::string& caption,
                                  MessageButtons buttons, MessageIcon icon) {
  return MessageBoxes(this).ShowMessage(text, caption, buttons, icon);
}

std::optional<std::string> TForm1::RunOpenDialog(const std::string& folder) {
  QFileDialog* dialog = OpenDialog();
  // A folder whose name is not UTF-8 has no text Qt could show; the dialog stays where it was.
  const QString shown = FromUtf8(folder);
  if (!folder.empty() && QDir(shown).exists()) dialog->setDirectory(shown);
  return ChosenFile(*dialog);
}

std::optional<std::string> TForm1::RunSaveDialog(const std::string& presetPath) {
  FileDialog* dialog = SaveDialog();
  dialog->selectFile(FromUtf8(presetPath));
  dialog->SelectKindOf(FromUtf8(presetPath));
  return ChosenFile(*dialog);
}

std::optional<Colour> TForm1::RunColourDialog(Colour current) {
  return frmColor->Run(current);
}

std::optional<std::pair<std::string, std::string>> TForm1::RunNewSizeDialog(int width, int height) {
  return frmNew->Run(width, height);
}

bool TForm1::RunOptionDialog(OptionValues& values) {
  return FrmOption->Run(values);
}

void TForm1::SetSeriesItems(const std::vector<std::string>& names) {
  // The old entries may hold the sender of the click being handled: delete them later. A group
  // takes its items and its own entry with it; its names go at once, before the new ones come.
  for (QAction* entry : mnChrs->actions()) {
    mnChrs->removeAction(entry);
    if (QMenu* group = entry->menu()) {
      group->disconnect(this);
      group->deleteLater();
    } else {
      entry->deleteLater();
    }
  }
  chrsTitle->setMenu(names.empty() ? nullptr : mnChrs);

  const std::vector<SeriesGroup> groups = SeriesGroups(names.size());
  if (groups.empty()) {
    for (const std::string& name : names) AddSeriesItem(mnChrs, name);
    return;
  }
  // A group gets its items when it is first shown, so a rebuild makes only the groups. Each
  // keeps its own names, which go with it.
  for (const SeriesGroup& g : groups) {
    const auto begin = names.begin() + static_cast<std::ptrdiff_t>(g.first);
    std::vector<std::string> members(begin, begin + static_cast<std::ptrdiff_t>(g.count));
    auto* group = new QMenu(MenuCaption(FromUtf8(members.front()) + QStringLiteral(" \u2013 ") +
                                        FromUtf8(members.back())),
                            mnChrs);
    mnChrs->addMenu(group);
    connect(group, &QMenu::aboutToShow, this, [this, group, members = std::move(members)] {
      if (!group->isEmpty()) return;
      for (const std::string& name : members) AddSeriesItem(group, name);
    });
  }
}

void TForm1::AddSeriesItem(QMenu* menu, const std::string& name) {
  auto* item = new QAction(MenuCaption(FromUtf8(name)), menu);
  menu->addAction(item);
  // The item keeps the name's bytes for the path; only its caption is decoded.
  connect(item, &QAction::triggered, this, [this, name] {
    Guarded(ctx.ui, ctx.appTitle, [&] { OpenSeriesItem(ctx, name); });
    UpdateImages();
  });
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  Guarded(ctx.ui, ctx.appTitle, [&] { mayClose = FormCloseQuery(ctx); });
  if (mayClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace gk
