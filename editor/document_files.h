#pragma once

#include <string>

#include "editor/editor_context.h"

namespace gk {

inline constexpr int NewSizeTag = 1;

// True: go on. Asks "Save current image?" when modified; Yes saves first.
bool ConfirmDiscard(EditorContext& ctx);
// tag NewSizeTag asks for a size with the new-size dialog.
void BtnNewClick(EditorContext& ctx, int tag);
void BtnOpenClick(EditorContext& ctx);
// Reads and decodes the whole file first; a file that cannot be read changes nothing.
void LoadImageFile(EditorContext& ctx, const std::string& path);
void BtnSaveClick(EditorContext& ctx);
void BtnSaveasClick(EditorContext& ctx);
void SaveImageFile(EditorContext& ctx, const std::string& path);
void Timer1Timer(EditorContext& ctx);
// The main window's close: false keeps the window open.
bool FormCloseQuery(EditorContext& ctx);

}  // namespace gk
