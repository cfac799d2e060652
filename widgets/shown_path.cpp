#include "widgets/shown_path.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <stdexcept>
#include <vector>

#include "filesystem/folder_listing.h"
#include "widgets/qt_text.h"

namespace gk {

namespace {

bool EntryExists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

// The entries of `folder` ("" is the current folder) that show as `part`.
std::vector<std::string> EntriesShownAs(const std::string& folder, const std::string& part) {
  std::vector<std::string> found;
  // Without U+FFFD the text is its own bytes, which do not exist: no need to list.
  if (part.find("\xEF\xBF\xBD") == std::string::npos) return found;
  ListFolder(folder, [&](std::string_view name) {
    if (ShownName(name) == part) found.emplace_back(name);
  });
  return found;
}

}  // namespace

std::string ShownName(std::string_view bytes) {
  // QFile::decodeName is what Qt's file dialogs and models use for the names they list.
  const QString text = QFile::decodeName(
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return ToUtf8(text);
}

std::string PathOnDisk(const std::string& shown) {
  if (shown.empty() || EntryExists(shown)) return shown;

  std::string path = shown.front() == '/' ? "/" : "";
  std::size_t begin = path.size();
  while (begin <= shown.size()) {
    std::size_t end = shown.find('/', begin);
    if (end == std::string::npos) end = shown.size();
    const std::string part = shown.substr(begin, end - begin);
    const bool last = end == shown.size();
    if (!part.empty()) {
      if (!EntryExists(path + part)) {
        const std::vector<std::string> matches = EntriesShownAs(path, part);
        if (matches.size() > 1) {
          throw std::runtime_error(
              "cannot tell which file is meant: " + std::to_string(matches.size()) + " names in " +
              (path.empty() ? std::string(".") : ShownName(path)) + " show as " + part);
        }
        // Nothing by that name: a new one, kept as given with whatever follows it.
        if (matches.empty()) return path + shown.substr(begin);
        path += matches.front();
      } else {
        path += part;
      }
    }
    if (last) break;
    if (!path.empty() && path.back() != '/') path += '/';
    begin = end + 1;
  }
  return path;
}

}  // namespace gk
