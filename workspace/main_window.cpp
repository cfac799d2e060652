#include "workspace/main_window.h"

#include <exception>
#include <stdexcept>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>

#include "files/document_files.h"
#include "files/new_size_dialog.h"
#include "files/series_menu.h"
#include "platform/file_dialog.h"
#include "platform/file_io.h"
#include "platform/glyphs.h"
#include "platform/image_widget.h"
#include "platform/message_box.h"
#include "platform/path_text.h"
#include "platform/program_path.h"
#include "platform/shown_path.h"
#include "settings/option_command.h"
#include "settings/option_dialog.h"
#include "settings/settings_file.h"
#include "workspace/colour_dialog.h"
#include "workspace/colour_selection.h"
#include "workspace/drawing_tools.h"
#include "workspace/grid_view.h"
#include "workspace/handler_guard.h"
#include "workspace/start_sizes.h"
#include "workspace/transforms.h"

namespace gk {

namespace {

constexpr ControlId kShownControls[] = {ControlId::ImgMain,  ControlId::ImgPallete,
                                        ControlId::ImgColor, ControlId::ImgView,
                                        ControlId::ImgCurV,  ControlId::ImgCurH};

// Text to show: bytes that are not UTF-8 (a file name may hold any) show as U+FFFD.
QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// File names are shown literally: "&" would otherwise mark an access key.
QString MenuCaption(const QString& text) {
  QString caption = text;
  caption.replace('&', "&&");
  return caption;
}

std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace

template <typename Handler>
void TForm1::Handle(Handler&& handler) {
  Guarded(ctx.ui, ctx.appTitle, std::forward<Handler>(handler));
  UpdateImages();
}

TForm1::TForm1(const std::string& appDir, QWidget* parent) : QMainWindow(parent), ctx(*this) {
  ctx.appTitle = ApplicationTitle(FileNamePart(ProgramPath()));

  // The controls and menus with their design-time properties, then the start-up steps in order.
  BuildControls();
  BuildMenus();
  WireEvents();

  EditorState& s = ctx.state;
  s.AppDir = appDir;
  s.CurColor = White;
  s.OpenGuard = false;
  ctx.settings = Settings{};
  LoadPalette();
  s.IniPath = s.AppDir + "gridkiln.ini";
  LoadSettings(ctx.settings, s);
  BoundStartSizes(s);
  move(0, 16);
  LayOut();
  PaintInitialSurfaces();

  // The view doubled, the markers, the first render, and no changes yet.
  s.OriginX = 0;
  s.OriginY = 0;
  EditorControls& c = ctx.controls;
  c.ImgView.Width = 2 * s.Width;
  c.ImgView.Height = 2 * s.Height;
  ControlMoved(ControlId::ImgView);
  c.ImgCurV.Canvas().FillRectangle(0, 0, 2, 4, Red);
  c.ImgCurH.Canvas().FillRectangle(0, 0, 4, 2, Red);
  RefreshControl(ControlId::ImgMain);
  RefreshControl(ControlId::ImgPallete);
  RedrawGrid(ctx);
  s.Modified = false;
  SetModifiedMarker("");

  BuildDialogs();
}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
  setWindowTitle("gridkiln");
  // Fixed border with a minimise box and no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  client = new QWidget(this);
  setCentralWidget(client);

  auto makeButton = [this](Glyph glyph) {
    auto* button = new QToolButton(client);
    button->setIcon(QIcon(QPixmap::fromImage(DrawGlyph(glyph))));
    button->setIconSize(QSize(GlyphSide, GlyphSide));
    // Glyph buttons take no keyboard focus, like the toolbar buttons they stand for.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
  };
  btnNew = makeButton(Glyph::BlankPage);
  btnOpen = makeButton(Glyph::OpenFolder);
  btnSave = makeButton(Glyph::FloppyDisk);
  btnPaint = makeButton(Glyph::Shapes);
  btnSpoit = makeButton(Glyph::Eyedropper);
  btnLeft = makeButton(Glyph::ArrowLeft);
  btnUp = makeButton(Glyph::ArrowUp);
  btnDown = makeButton(Glyph::ArrowDown);
  btnRight = makeButton(Glyph::ArrowRight);
  btnNextChr = makeButton(Glyph::StackedSheets);

  EditorControls& c = ctx.controls;
  ImgMain = new ImageWidget(c.ImgMain, false, client);
  ImgPallete = new ImageWidget(c.ImgPallete, false, client);
  ImgColor = new ImageWidget(c.ImgColor, false, client);
  ImgView = new ImageWidget(c.ImgView, true, client);
  ImgCurV = new ImageWidget(c.ImgCurV, false, client);
  ImgCurH = new ImageWidget(c.ImgCurH, false, client);
  c.ImgCurV.SetBounds(0, 0, 2, 4);
  c.ImgCurH.SetBounds(0, 0, 4, 2);
  // The markers lie over the other controls when the origin takes them past the view.
  ImgCurV->raise();
  ImgCurH->raise();

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  Timer1->setSingleShot(true);
}

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();

  File1 = bar->addMenu("&File");
  New1 = File1->addAction("&New");
  mnNewSize = File1->addAction("New size");
  Open1 = File1->addAction("&Open");
  Save1 = File1->addAction("&Save");
  Saveas1 = File1->addAction("&Save as...");
  IncrementalSave1 = File1->addAction("Save++");
  N1 = File1->addSeparator();
  Quit1 = File1->addAction("&Quit");

  Edit1 = bar->addMenu("&Edit");
  Undo1 = Edit1->addAction("&Undo");
  N2 = Edit1->addSeparator();
  Shift1 = Edit1->addMenu("Shift");
  mnShiftUp = Shift1->addAction("Up");
  mnShiftRight = Shift1->addAction("Right");
  mnShiftDown = Shift1->addAction("Down");
  mnShiftLeft = Shift1->addAction("Left");
  Mirrow1 = Edit1->addMenu("Mirror");
  mnMirrorV = Mirrow1->addAction("Virtical");
  mnMirrorH = Mirrow1->addAction("Horizontal");
  rotate1 = Edit1->addAction("Rotate");
  N3 = Edit1->addSeparator();
  Option1 = Edit1->addAction("&Option");

  mnPen = bar->addMenu("&Pen");
  toolGroup = new QActionGroup(this);
  toolGroup->setExclusive(true);
  for (QAction** item : {&mngPen, &mngErase, &mngPaint, &mngSpoit}) {
    *item = mnPen->addAction(QString());
    (*item)->setCheckable(true);
    toolGroup->addAction(*item);
  }
  mngPen->setText("&Pen");
  mngErase->setText("&Erase");
  mngPaint->setText("P&aint");
  mngSpoit->setText("&Spoit");

  chrsTitle = bar->addAction("&Chrs");
  mnChrs = new QMenu("&Chrs", this);
  mnMod = bar->addAction(QString());
}

void TForm1::WireEvents() {
  auto onClick = [this](QToolButton* button, auto handler) {
    connect(button, &QToolButton::clicked, this, [this, handler] { Handle(handler); });
  };
  auto onTrigger = [this](QAction* item, auto handler) {
    connect(item, &QAction::triggered, this, [this, handler] { Handle(handler); });
  };

  onClick(btnNew, [this] { BtnNewClick(ctx, 0); });
  onClick(btnOpen, [this] { BtnOpenClick(ctx); });
  onClick(btnSave, [this] { BtnSaveClick(ctx); });
  onClick(btnPaint, [this] { BtnPaintClick(ctx); });
  onClick(btnSpoit, [this] { BtnSpoitClick(ctx); });
  onClick(btnLeft, [this] { btnLeftClick(ctx); });
  onClick(btnUp, [this] { btnUpClick(ctx); });
  onClick(btnDown, [this] { btnDownClick(ctx); });
  onClick(btnRight, [this] { btnRightClick(ctx); });
  onClick(btnNextChr, [this] { btnNextChrClick(ctx); });

  onTrigger(New1, [this] { BtnNewClick(ctx, 0); });
  onTrigger(mnNewSize, [this] { BtnNewClick(ctx, NewSizeTag); });
  onTrigger(Open1, [this] { BtnOpenClick(ctx); });
  onTrigger(Save1, [this] { BtnSaveClick(ctx); });
  onTrigger(Saveas1, [this] { BtnSaveasClick(ctx); });
  onTrigger(IncrementalSave1, [this] { IncrementalSave1Click(ctx); });
  onTrigger(Quit1, [this] { close(); });
  onTrigger(Undo1, [this] { BtnUndoClick(ctx); });
  onTrigger(mnShiftUp, [this] { mnShiftUpClick(ctx); });
  onTrigger(mnShiftRight, [this] { mnShiftRightClick(ctx); });
  onTrigger(mnShiftDown, [this] { mnShiftDownClick(ctx); });
  onTrigger(mnShiftLeft, [this] { mnShiftLeftClick(ctx); });
  onTrigger(mnMirrorV, [this] { mnMirrorVClick(ctx); });
  onTrigger(mnMirrorH, [this] { mnMirrorHClick(ctx); });
  onTrigger(rotate1, [this] { rotate1Click(ctx); });
  onTrigger(Option1, [this] { BtnOptionClick(ctx); });
  onTrigger(mngPen, [this] { BtnPenClick(ctx); });
  onTrigger(mngErase, [this] { BtnEraseClick(ctx); });
  onTrigger(mngPaint, [this] { BtnPaintClick(ctx); });
  onTrigger(mngSpoit, [this] { BtnSpoitClick(ctx); });

  connect(Timer1, &QTimer::timeout, this, [this] { Handle([this] { Timer1Timer(ctx); }); });

  // Every button presses on the grid, the palette, the swatch and the view.
  ImgMain->SetPressHandler(
      [this](int x, int y, Qt::MouseButton) { Handle([&] { ImgMainMouseDown(ctx, x, y); }); });
  ImgMain->SetMoveHandler([this](int x, int y, bool leftHeld) {
    // A plot draws its square after the grid's refresh, so the square needs a repaint of its
    // own; a move that plots nothing (same cell, no button) needs none.
    const int lastX = ctx.state.LastDotX;
    const int lastY = ctx.state.LastDotY;
    Guarded(ctx.ui, ctx.appTitle, [&] { ImgMainMouseMove(ctx, leftHeld, x, y); });
    if (ctx.state.LastDotX != lastX || ctx.state.LastDotY != lastY) {
      const int d = ctx.state.DotSize;
      ImgMain->update(ctx.state.LastDotX * d, ctx.state.LastDotY * d, d, d);
    }
  });
  ImgView->SetPressHandler([this](int x, int y, Qt::MouseButton) {
    Guarded(ctx.ui, ctx.appTitle, [&] { ImgViewMouseDown(ctx, x, y); });
  });
  ImgView->SetMoveHandler([this](int x, int y, bool leftHeld) {
    // A drag step redraws and refreshes what it changes itself.
    Guarded(ctx.ui, ctx.appTitle, [&] { ImgViewMouseMove(ctx, leftHeld, x, y); });
  });
  ImgPallete->SetPressHandler(
      [this](int x, int y, Qt::MouseButton) { Handle([&] { ImgPalleteMouseDown(ctx, x, y); }); });
  ImgColor->SetPressHandler(
      [this](int, int, Qt::MouseButton) { Handle([&] { ImgColorMouseDown(ctx); }); });
}

// The file dialogs are made on first use: each builds a file-system model, which would cost
// start-up more than all the other controls together.
QFileDialog* TForm1::OpenDialog() {
  if (!OpenDialog1) {
    OpenDialog1 = new FileDialog(this);
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilter("*.bmp (*.bmp)");
  }
  return OpenDialog1;
}

QFileDialog* TForm1::SaveDialog() {
  if (!SaveDialog1) {
    SaveDialog1 = new FileDialog(this);
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilter("*.bmp (*.bmp)");
    SaveDialog1->setDefaultSuffix("bmp");
  }
  return SaveDialog1;
}

void TForm1::BuildDialogs() {
  FrmOption = new TFrmOption(this);
  frmNew = new TfrmNew(this);
  frmColor = new TfrmColor(this);
}

void TForm1::LoadPalette() {
  const std::string path = ctx.state.AppDir + "palette.bmp";
  Surface palette;
  try {
    palette = LoadBmpFile(path);
  } catch (const std::exception& e) {
    // The box must name the palette by its full path, whatever the reader's text says.
    const std::string reason = e.what();
    if (reason.find(path) != std::string::npos) throw;
    throw std::runtime_error(path + ": " + reason);
  }
  ImageControl& control = ctx.controls.ImgPallete;
  control.Width = palette.Width();
  control.Height = palette.Height();
  control.SetSurface(std::move(palette));
}

void TForm1::LayOut() {
  const EditorState& s = ctx.state;
  EditorControls& c = ctx.controls;
  const int palW = c.ImgPallete.Width;
  const int palH = c.ImgPallete.Height;
  const int belowGrid = s.DotSize * s.Height2 + s.ButtonH;

  clientHeight_ = belowGrid + palH;
  c.ImgMain.Width = s.DotSize * s.Width2;
  c.ImgMain.Height = s.DotSize * s.Height2;
  c.ImgMain.Top = s.ButtonH;
  c.ImgPallete.Top = belowGrid + 1;
  c.ImgColor.Width = s.DotSize;
  c.ImgColor.Height = s.DotSize;
  c.ImgColor.Top = belowGrid + 1;
  c.ImgColor.Left = palW + 1;
  c.ImgView.Width = s.Width;
  c.ImgView.Height = s.Height;
  c.ImgViewB.Width = s.Width;
  c.ImgViewB.Height = s.Height;
  c.ImgView.Top = belowGrid + s.DotSize + 2;
  c.ImgView.Left = palW + 1;
  clientWidth_ = s.DotSize * s.Width2;

  const int w = s.ButtonW;
  PlaceToolButton(btnNew, 0);
  PlaceToolButton(btnOpen, w);
  PlaceToolButton(btnSave, 2 * w);
  PlaceToolButton(btnPaint, 3 * w + 8);
  PlaceToolButton(btnSpoit, 4 * w + 8);
  PlaceToolButton(btnLeft, 5 * w + 16);
  PlaceToolButton(btnUp, 6 * w + 16);
  PlaceToolButton(btnDown, 7 * w + 16);
  PlaceToolButton(btnRight, 8 * w + 16);
  PlaceToolButton(btnNextChr, 9 * w + 24);
  if (clientWidth_ < 10 * w + 24) clientWidth_ = 10 * w + 24;

  for (ControlId id : kShownControls) ControlMoved(id);
  client->setFixedSize(clientWidth_, clientHeight_);
  // The menu bar takes its height above the client area; the window is not resizable.
  setFixedSize(clientWidth_, clientHeight_ + menuBar()->heightForWidth(clientWidth_));
}

void TForm1::PlaceToolButton(QToolButton* button, int x) {
  button->setGeometry(x, 0, ctx.state.ButtonW, ctx.state.ButtonH);
}

void TForm1::PaintInitialSurfaces() {
  const EditorState& s = ctx.state;
  EditorControls& c = ctx.controls;
  c.ImgMain.Canvas().FillBlack(s.DotSize * s.Width2, s.DotSize * s.Height2);
  // The view control is Width x Height here, so the document is made at the image size.
  c.ImgView.Canvas().FillBlack(s.Width, s.Height);
  c.ImgColor.Canvas().FillWhite(32, 32);
}

ImageWidget* TForm1::WidgetOf(ControlId id) const {
  switch (id) {
    case ControlId::ImgMain:
      return ImgMain;
    case ControlId::ImgPallete:
      return ImgPallete;
    case ControlId::ImgColor:
      return ImgColor;
    case ControlId::ImgView:
      return ImgView;
    case ControlId::ImgCurV:
      return ImgCurV;
    case ControlId::ImgCurH:
      return ImgCurH;
    case ControlId::ImgViewB:
      return nullptr;
  }
  return nullptr;
}

void TForm1::UpdateImages() {
  for (ControlId id : kShownControls) WidgetOf(id)->update();
}

void TForm1::SetTitle(const std::string& title) {
  setWindowTitle(FromUtf8(title));
}

void TForm1::SetModifiedMarker(const std::string& caption) {
  mnMod->setText(FromUtf8(caption));
}

void TForm1::CheckToolItem(int tool) {
  switch (tool) {
    case ToolPen:
      mngPen->setChecked(true);
      break;
    case ToolErase:
      mngErase->setChecked(true);
      break;
    case ToolPaint:
      mngPaint->setChecked(true);
      break;
    case ToolSpoit:
      mngSpoit->setChecked(true);
      break;
    default:
      break;
  }
}

void TForm1::StartTimer() {
  // A start while the second runs does not restart it.
  if (!Timer1->isActive()) Timer1->start();
}

void TForm1::StopTimer() {
  Timer1->stop();
}

void TForm1::RefreshControl(ControlId id) {
  if (ImageWidget* widget = WidgetOf(id)) widget->repaint();
}

void TForm1::ControlMoved(ControlId id) {
  if (ImageWidget* widget = WidgetOf(id)) widget->FollowControl();
}

MessageResult TForm1::ShowMessage(const std::string& text, const std::string& caption,
                                  MessageButtons buttons, MessageIcon icon) {
  return ShowMessageBox(this, FromUtf8(text), FromUtf8(caption), buttons, icon);
}

std::optional<std::string> TForm1::RunOpenDialog() {
  QFileDialog* dialog = OpenDialog();
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return PathOnDisk(ToUtf8(files.first()));
}

std::optional<std::string> TForm1::RunSaveDialog(const std::string& presetPath) {
  QFileDialog* dialog = SaveDialog();
  dialog->selectFile(FromUtf8(presetPath));
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return PathOnDisk(ToUtf8(files.first()));
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
  connect(item, &QAction::triggered, this,
          [this, name] { Handle([&] { OpenSeriesItem(ctx, name); }); });
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
