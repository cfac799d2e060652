#pragma once

#include <cstdint>
#include <vector>

#include "image/surface.h"

namespace gk {

struct EditorContext;

// The rows of the undo copy that it does not hold itself yet: there the copy still equals the
// document, so a snapshot copies nothing, and a row is copied out of the document only when
// something is about to write it. A press costs what its stroke changes, and the copy's memory
// is touched only where the document was written.
class UndoRows {
 public:
  // The copy equals the document in all of its `rows` rows, none of them copied yet.
  void MarkAllPending(int rows);
  // The copy holds every row itself.
  void ClearPending();
  int PendingCount() const { return pendingCount_; }
  bool AllPending() const {
    return pendingCount_ > 0 && static_cast<std::size_t>(pendingCount_) == pending_.size();
  }
  bool IsPending(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < pending_.size() && pending_[row] != 0;
  }
  // Copies the pending rows among [top, bottom) from `doc` into `copy` (both of the same size and
  // format), which holds them from then on.
  void Save(Surface& copy, const Surface& doc, int top, int bottom);

 private:
  std::vector<std::uint8_t> pending_;  // one flag a row
  int pendingCount_ = 0;
};

// The one-level undo copy, the surface of ImgViewB, kept through these functions only.
//
// The copy now equals the document. When the copy has (or is made at) the document's size, this
// copies nothing; otherwise the Width x Height block is copied at once. A copy that cannot be
// made throws the "not enough memory" error and changes nothing.
void TakeUndoSnapshot(EditorContext& ctx);
// Before the document's rows [top, bottom) are written: the copy takes those it does not hold.
void SaveUndoRows(EditorContext& ctx, int top, int bottom);
// Before every pixel of the document is rewritten from the picture as it was: the copy takes
// what it does not hold yet and is returned, holding that picture whole. When it holds none of
// it, it takes over the document's pixels instead of copying them, and the document's pixels
// are undefined until rewritten.
const Surface& SaveUndoBeforeRewrite(EditorContext& ctx);
// Undo: the Width x Height block of the copy onto the document; the copy is made white when
// there is none, and stays as it is.
void RestoreUndoCopy(EditorContext& ctx);
// Open and "New size": the copy goes; its next use makes it white at `width` x `height` in
// `format`.
void DiscardUndoCopy(EditorContext& ctx, int width, int height, const PixelFormat& format);

}  // namespace gk
