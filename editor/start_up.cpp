#include "editor/start_up.h"

#include <exception>
#include <stdexcept>
#include <utility>
#include <vector>

#include "editor/grid_view.h"
#include "editor/picture_files.h"
#include "editor/window_fit.h"
#include "editor/window_layout.h"
#include "filesystem/folder_creation.h"
#include "filesystem/interrupted_saves.h"
#include "settings/settings_file.h"
#include "settings/start_sizes.h"

namespace gk {

namespace {

void Place(ImageControl& control, const ControlRect& rect) {
  control.SetBounds(rect.left, rect.top, rect.width, rect.height);
}

// Saves that a kill or a crash cut short left the previous content of their file in a copy; one
// box names every copy, once.
void ReportInterruptedSaves(EditorContext& ctx) {
  const std::vector<InterruptedSave> saves = FindInterruptedSaves(SaveStateFolder());
  if (saves.empty()) return;
  std::string text;
  for (const InterruptedSave& save : saves) {
    if (!text.empty()) text += '\n';
    text +=
        "A save of " + save.target + " was interrupted; its previous content is in " + save.copy;
  }
  ctx.ui.ShowMessage(text, ctx.appTitle, MessageButtons::Ok, MessageIcon::None);
  for (const InterruptedSave& save : saves) ForgetInterruptedSave(save);
}

void PlaceControls(EditorControls& c, const WindowLayout& l) {
  Place(c.ImgMain, l.ImgMain);
  Place(c.ImgPallete, l.ImgPallete);
  Place(c.ImgColor, l.ImgColor);
  Place(c.ImgView, l.ImgView);
  Place(c.ImgViewB, l.ImgViewB);
  Place(c.ImgCurV, l.ImgCurV);
  Place(c.ImgCurH, l.ImgCurH);
}

}  // namespace

void LoadPalette(EditorContext& ctx, const std::string& path) {
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

void StartEditor(EditorContext& ctx, const std::string& appDir) {
  StartEditor(ctx, PortableFolders(appDir));
}

void StartEditor(EditorContext& ctx, const ProgramFolders& folders) {
  EditorState& s = ctx.state;
  EditorControls& c = ctx.controls;
  s.AppDir = folders.appDir;
  s.BmpDir = folders.bmpDir;
  s.MakesBmpDir = folders.installed;
  s.CurColor = White;
  s.OpenGuard = false;
  ctx.settings = Settings{};
  LoadPalette(ctx, folders.palettePath);
  s.IniPath = folders.iniPath;
  bool dotSizeGiven = false;
  StartSizes sizes = LoadSettings(ctx.settings, s.IniPath, &dotSizeGiven);
  BoundStartSizes(sizes);
  // Before the layout, which follows the dot size; the settings keep what they hold.
  sizes.DotSize = StartDotSize(sizes, dotSizeGiven, c.ImgPallete.Width, c.ImgPallete.Height,
                               ctx.ui.WindowRoom());
  SetSizes(s, sizes);

  const WindowLayout layout = LayOutWindow(sizes, c.ImgPallete.Width, c.ImgPallete.Height);
  PlaceControls(c, layout);
  ctx.ui.LayOutWindow(layout);
  for (ControlId id : ShownControls) ctx.ui.ControlMoved(id);

  c.ImgMain.Canvas().FillBlack(s.DotSize * s.Width2, s.DotSize * s.Height2);
  // The view control is Width x Height here, so the document is made at the image size.
  c.ImgView.Canvas().FillBlack(s.Width, s.Height);
  c.ImgColor.Canvas().FillWhite(32, 32);

  // The view doubled, the markers, the first render, and no changes yet.
  s.OriginX = 0;
  s.OriginY = 0;
  c.ImgView.Width = 2 * s.Width;
  c.ImgView.Height = 2 * s.Height;
  ctx.ui.ControlMoved(ControlId::ImgView);
  c.ImgCurV.Canvas().FillRectangle(0, 0, 2, 4, Red);
  c.ImgCurH.Canvas().FillRectangle(0, 0, 4, 2, Red);
  ctx.ui.RefreshControl(ControlId::ImgMain);
  ctx.ui.RefreshControl(ControlId::ImgPallete);
  RedrawGrid(ctx);
  s.Modified = false;
  ctx.ui.SetModifiedMarker("");

  // As an installer makes bmp/ beside a portable copy.
  if (s.MakesBmpDir) {
    try {
      MakeFolders(s.BmpDir, 0777);
    } catch (const std::exception&) {
      // Save tries again and names the folder.
    }
  }
  ReportInterruptedSaves(ctx);
}

}  // namespace gk
