#include "files/series_menu.h"

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/document_files.h"
#include "files/series_rules.h"
#include "platform/file_io.h"
#include "platform/path_text.h"

namespace gk {

namespace {

// The names in `folder` ("" is the current directory) that belong to the series of `prefix`:
// files, hidden files and folders alike. A folder that cannot be listed yields nothing.
std::vector<std::string> ListSeriesEntries(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return names;
  while (const dirent* entry = readdir(dir.get())) {
    std::string_view name = entry->d_name;
    // "." and ".." never match: they do not begin with a letter or digit prefix.
    if (InSeries(name, prefix)) names.emplace_back(name);
  }
  return names;
}

void ShowCannotSave(EditorContext& ctx) {
  ctx.ui.ShowMessage("Can't save++", "Error", MessageButtons::Ok, MessageIcon::None);
}

}  // namespace

void RebuildSeriesMenu(EditorContext& ctx) {
  ctx.seriesItems.clear();
  ctx.ui.SetSeriesItems(ctx.seriesItems);

  std::string prefix = SeriesPrefix(FileNamePart(ctx.documentPath));
  if (prefix.empty()) return;
  std::vector<std::string> names = ListSeriesEntries(FolderPart(ctx.documentPath), prefix);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return SeriesLess(a, b); });

  ctx.seriesItems = std::move(names);
  ctx.ui.SetSeriesItems(ctx.seriesItems);
}

void OpenSeriesItem(EditorContext& ctx, const std::string& caption) {
  if (ctx.state.Modified) BtnSaveClick(ctx);
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

  // Another file of the new name is never replaced without the user's word.
  if (FileExists(next.path)) {
    MessageResult answer =
        ctx.ui.ShowMessage(FileNamePart(next.path) + " already exists. Replace it?", ctx.appTitle,
                           MessageButtons::YesNo, MessageIcon::None);
    if (answer != MessageResult::Yes) return;
  }

  ctx.documentPath = next.path;
  SaveImageFile(ctx, next.path);
  RebuildSeriesMenu(ctx);
}

}  // namespace gk
