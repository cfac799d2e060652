#include "editor/document_files.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "editor/document_write.h"
#include "editor/grid_view.h"
#include "editor/picture_files.h"
#include "editor/png_export.h"
#include "editor/series_menu.h"
#include "editor/undo_copy.h"
#include "filesystem/file_io.h"
#include "filesystem/folder_creation.h"
#include "filesystem/path_text.h"
#include "image/alpha_blend.h"
#include "image/picture_formats.h"
#include "image/picture_memory.h"
#include "settings/parse_int.h"
#include "settings/size_limits.h"

namespace gk {

namespace {

const char* const TitleBase = "gridkiln";

void ClearModified(EditorContext& ctx) {
  ctx.state.Modified = false;
  ctx.ui.SetModifiedMarker("");
}

// Installs `document` as the document at its own size: the undo copy is dropped (its next use
// creates it white at the new size and in the document's format) and the view shows it doubled.
void ReplaceDocument(EditorContext& ctx, Surface document) {
  EditorState& s = ctx.state;
  EditorControls& c = ctx.controls;
  s.Width = document.Width();
  s.Height = document.Height();

  DiscardUndoCopy(ctx, s.Width, s.Height, document.Format());

  c.ImgView.SetSurface(std::move(document));
  c.ImgView.Width = 2 * s.Width;
  c.ImgView.Height = 2 * s.Height;
  ctx.ui.ControlMoved(ControlId::ImgView);
}

// One box of the new-size dialog: a side the document may have, or a readable error.
std::int32_t ParseNewSide(const std::string& text, const char* what) {
  std::int32_t value = 0;
  try {
    value = ParseInt(text);
  } catch (const ConversionError& e) {
    throw std::runtime_error(std::string(what) + ": " + e.what());
  }
  if (!DocumentSideRange.Contains(value)) {
    throw std::runtime_error(
        std::string(what) + " must be from " + std::to_string(DocumentSideRange.min) + " to " +
        std::to_string(DocumentSideRange.max) + ", not " + std::to_string(value) + ".");
  }
  return value;
}

// "New size": asks for a size and makes a fresh 24-bit document. Both boxes are checked before
// anything changes; Cancel keeps the current size but still makes a fresh document.
void RecreateDocument(EditorContext& ctx) {
  EditorState& s = ctx.state;
  std::int32_t width = s.Width;
  std::int32_t height = s.Height;
  if (auto texts = ctx.ui.RunNewSizeDialog(s.Width, s.Height)) {
    width = ParseNewSide(texts->first, "Width");
    height = ParseNewSide(texts->second, "Height");
  }
  // The new picture has no name yet; made before anything is replaced, so that running out of
  // memory leaves the document as it was.
  Surface document = WithPictureMemory(UnnamedDocument, {width, height, 24}, [&] {
    return Surface(width, height, PixelFormat::Rgb24(), Black);
  });
  ReplaceDocument(ctx, std::move(document));
}

// Where Save puts a document that has no name yet.
std::string AutomaticNameFolder(const EditorContext& ctx) {
  return ctx.state.BmpDir;
}

// The lowest n for which BmpDir/n.bmp is not an existing file.
std::string FreeAutomaticName(const EditorContext& ctx) {
  const std::string folder = AutomaticNameFolder(ctx);
  for (std::int64_t n = 1;; ++n) {
    std::string path = folder + std::to_string(n) + ".bmp";
    if (!FileExists(path)) return path;
  }
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

// The document's own folder, else (unnamed, or its folder is gone) the folder of automatic
// names; empty when neither exists, and the dialog stays where it was.
std::string OpenDialogFolder(const EditorContext& ctx) {
  const std::string documentFolder = FolderPart(ctx.documentPath);
  if (IsFolder(documentFolder)) return documentFolder;
  const std::string automatic = AutomaticNameFolder(ctx);
  if (IsFolder(automatic)) return automatic;
  return {};
}

}  // namespace

bool ConfirmDiscard(EditorContext& ctx) {
  if (!ctx.state.Modified) return true;
  switch (ctx.ui.ShowMessage("Save current image?", "Prompt", MessageButtons::YesNoCancel,
                             MessageIcon::None)) {
    case MessageResult::Yes:
      return SaveDocument(ctx);
    case MessageResult::No:
      return true;
    default:
      return false;
  }
}

void BtnNewClick(EditorContext& ctx, int tag) {
  if (!ConfirmDiscard(ctx)) return;
  if (tag == NewSizeTag) RecreateDocument(ctx);

  // Raw value 0: black, or the first table colour of an indexed document the plain New keeps.
  // The plain New keeps the undo copy, which first takes what it does not hold yet.
  SaveUndoRows(ctx, 0, ctx.state.Height);
  ctx.Document().FillBlack(ctx.state.Width, ctx.state.Height);
  ctx.ui.RefreshControl(ControlId::ImgView);
  ctx.documentPath.clear();
  ctx.ui.SetTitle(TitleBase);
  ctx.state.OriginX = 0;
  ctx.state.OriginY = 0;
  ClearModified(ctx);
  RedrawGrid(ctx);
}

void BtnOpenClick(EditorContext& ctx) {
  if (!ConfirmDiscard(ctx)) return;
  const std::optional<std::string> path = ctx.ui.RunOpenDialog(OpenDialogFolder(ctx));
  if (!path) return;
  LoadImageFile(ctx, *path);
  RebuildSeriesMenu(ctx);
  ctx.state.OpenGuard = true;
  ctx.ui.StartTimer();
}

void LoadImageFile(EditorContext& ctx, const std::string& path) {
  // Read and decode first: a file that cannot be read leaves everything as it was. A PNG becomes
  // a document like any other and is saved back as PNG under its own name.
  Surface document = LoadPictureFile(path);

  ClearModified(ctx);
  ReplaceDocument(ctx, std::move(document));
  ctx.state.OriginX = 0;
  ctx.state.OriginY = 0;
  ctx.ui.RefreshControl(ControlId::ImgView);
  ctx.documentPath = path;
  ctx.ui.SetTitle(std::string(TitleBase) + " - " + FileNamePart(path));
  RedrawGrid(ctx);
}

void BtnSaveClick(EditorContext& ctx) {
  SaveDocument(ctx);
}

bool SaveDocument(EditorContext& ctx) {
  // The automatic name becomes the document path before the write, so a failed save is retried
  // under the same name. An installed copy makes its folder again if it has gone, or says why
  // it cannot.
  std::string path = ctx.documentPath;
  if (path.empty()) {
    if (ctx.state.MakesBmpDir) MakeFolders(ctx.state.BmpDir, 0777);
    path = FreeAutomaticName(ctx);
  }
  if (!ConfirmSaveKind(ctx, path)) return false;
  ctx.documentPath = path;
  SaveImageFile(ctx, path);
  return true;
}

bool ConfirmSaveKind(EditorContext& ctx, const std::string& path) {
  const PictureFormat& format = SaveFormatOf(path);
  if (format.keepsAlpha || !HasTransparentPixels(ctx.Document())) return true;
  const std::string name =
      ctx.documentPath.empty() ? std::string(UnnamedDocument) : FileNamePart(ctx.documentPath);
  return ctx.ui.ShowMessage(name + " has transparent pixels; a " + format.label +
                                " file lays them over black. Save anyway?",
                            ctx.appTitle, MessageButtons::YesNoDefaultNo,
                            MessageIcon::None) == MessageResult::Yes;
}

void BtnSaveasClick(EditorContext& ctx) {
  const std::optional<std::string> path = ctx.ui.RunSaveDialog(ctx.documentPath);
  if (!path) return;
  if (!ConfirmSaveKind(ctx, *path)) return;
  // The save dialog holds the chosen name from now on, whatever the write does.
  ctx.documentPath = *path;
  SaveImageFile(ctx, *path);
  RebuildSeriesMenu(ctx);
}

void SaveImageFile(EditorContext& ctx, const std::string& path) {
  // The flags are read at every save, so a change in the options dialog applies from the next
  // save on. The name decides the kind (a ".png" name is written as PNG, with the same 8-bit
  // conversion); a document that is its own PNG gets no export beside it.
  const PictureFormat& format = SaveFormatOf(path);
  WriteDocumentAs(format, path, ctx.Document(), ctx.settings.FlagOn("Save256"));
  const bool png = ctx.settings.FlagOn("Png") && format.pngExportBeside;

  ctx.ui.SetTitle("Saved as " + FileNamePart(path));
  ctx.ui.StartTimer();
  ClearModified(ctx);

  // The BMP save is complete at this point; a failed export is reported on top of it.
  if (png) ExportPng(ctx, path);
}

void Timer1Timer(EditorContext& ctx) {
  ctx.ui.SetTitle(std::string(TitleBase) + " - " + FileNamePart(ctx.documentPath));
  ctx.ui.StopTimer();
  ctx.state.OpenGuard = false;
}

bool FormCloseQuery(EditorContext& ctx) {
  return ConfirmDiscard(ctx);
}

}  // namespace gk
