#include "widgets/program_path.h"

#include <limits.h>
#include <unistd.h>

#include <QCoreApplication>

#include <cctype>

#include "filesystem/path_text.h"
#include "widgets/qt_text.h"

namespace gk {

std::string ProgramPath() {
  std::string path(PATH_MAX, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n > 0 && static_cast<std::size_t>(n) < path.size()) {
    path.resize(static_cast<std::size_t>(n));
    return path;
  }
  // Without /proc: what Qt finds.
  return ToUtf8(QCoreApplication::applicationFilePath());
}

std::string ApplicationTitle(const std::string& executableFileName) {
  std::string title = executableFileName.substr(0, executableFileName.find('.'));
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

std::string ProgramTitle() {
  return ApplicationTitle(FileNamePart(ProgramPath()));
}

}  // namespace gk
