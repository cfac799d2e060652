#pragma once

#include <string>

#include "editor/editor_context.h"

namespace gk {

inline constexpr int NewSizeTag = 1;

// True: go on. Asks "Save current image?" when modified; Yes saves first, and a save the user
// then declines keeps the document.
bool ConfirmDiscard(EditorContext& ctx);
// tag NewSizeTag asks for a size with the new-size dialog.
void BtnNewClick(EditorContext& ctx, int tag);
void BtnOpenClick(EditorContext& ctx);
// Reads and decodes the whole file first; a file that cannot be read changes nothing.
void LoadImageFile(EditorContext& ctx, const std::string& path);
void BtnSaveClick(EditorContext& ctx);
// Save: false when the user declined it and nothing was written.
bool SaveDocument(EditorContext& ctx);
// True when the document may be written under `path`: a kind that holds no transparency lays
// transparent pixels over black, and the user is asked first (No is the default).
bool ConfirmSaveKind(EditorContext& ctx, const std::string& path);
void BtnSaveasClick(EditorContext& ctx);
void SaveImageFile(EditorContext& ctx, const std::string& path);
void Timer1Timer(EditorContext& ctx);
// The main window's close: false keeps the window open.
bool FormCloseQuery(EditorContext& ctx);

}  // namespace gk
