#include "editor/series_menu.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/document_files.h"
#include "editor/series_rules.h"
#include "filesystem/file_io.h"
#include "filesystem/folder_listing.h"
#include "filesystem/path_text.h"

namespace gk {

namespace {

// Adds the names in `folder` ("" is the current directory) that belong to the series of
// `prefix`: files, hidden files and folders alike. A folder that cannot be listed adds nothing.
void ListSeriesEntries(const std::string& folder, const std::string& prefix,
                       std::vector<std::string>& names) {
  ListFolder(folder, [&](std::string_view name) {
    if (InSeries(name, prefix)) names.emplace_back(name);
  });
}

void ShowCannotSave(EditorContext& ctx) {
  ctx.ui.ShowMessage("Can't save++", "Error", MessageButtons::Ok, MessageIcon::None);
}

}  // namespace

std::vector<SeriesGroup> SeriesGroups(std::size_t itemCount) {
  std::vector<SeriesGroup> groups;
  if (itemCount <= SeriesGroupSize) return groups;
  const std::size_t count = (itemCount + SeriesGroupSize - 1) / SeriesGroupSize;
  const std::size_t base = itemCount / count;
  const std::size_t longer = itemCount % count;  // the first groups take one item more
  std::size_t first = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t size = base + (i < longer ? 1 : 0);
    groups.push_back({first, size});
    first += size;
  }
  return groups;
}

void RebuildSeriesMenu(EditorContext& ctx) {
  ctx.seriesItems.clear();
  ctx.ui.SetSeriesItems(ctx.seriesItems);

  std::string prefix = SeriesPrefix(FileNamePart(ctx.documentPath));
  if (prefix.empty()) return;
  // Filled in place: the list keeps its room from one rebuild to the next, so a large series
  // does not take fresh memory every time.
  std::vector<std::string>& names = ctx.seriesItems;
  ListSeriesEntries(FolderPart(ctx.documentPath), prefix, names);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return SeriesLess(a, b); });
  ctx.ui.SetSeriesItems(names);
}

void OpenSeriesItem(EditorContext& ctx, const std::string& caption) {
  if (ctx.state.Modified && !SaveDocument(ctx)) return;
  // An unnamed document has no folder: the caption is then taken relative to the current
  // directory.
  LoadImageFile(ctx, FolderPart(ctx.documentPath) + caption);
}

void btnNextChrClick(EditorContext& ctx) {
  const std::vector<std::string>& items = ctx.seriesItems;
  if (items.empty()) return;
  const std::string current = FileNamePart(ctx.documentPath);
  auto found = std::find(items.begin(), items.end(), current);
  if (found == items.end()) return;
  std::size_t next = (static_cast<std::size_t>(found - items.begin()) + 1) % items.size();
  // A copy: the caption must outlive any change to the items while the document is saved.
  const std::string caption = items[next];
  OpenSeriesItem(ctx, caption);
}

void IncrementalSave1Click(EditorContext& ctx) {
  IncrementalName next = NextIncrementalName(ctx.documentPath);
  switch (next.outcome) {
    case IncrementalName::Outcome::CannotAdvance:
      ShowCannotSave(ctx);
      return;
    case IncrementalName::Outcome::NoBmpSuffix:
      throw std::runtime_error("Save++ needs a file name ending in \".bmp\": " +
                               FileNamePart(ctx.documentPath));
    case IncrementalName::Outcome::Advanced:
      break;
  }

  if (!ConfirmSaveKind(ctx, next.path)) return;
  // Another file of the new name is never replaced without the user's word.
  if (FileExists(next.path)) {
    // The whole path: a ".bmp" in a folder name leads the new name into another folder.
    MessageResult answer =
        ctx.ui.ShowMessage(next.path + " already exists. Replace it?", ctx.appTitle,
                           MessageButtons::YesNo, MessageIcon::None);
    if (answer != MessageResult::Yes) return;
  }

  ctx.documentPath = next.path;
  SaveImageFile(ctx, next.path);
  RebuildSeriesMenu(ctx);
}

}  // namespace gk
