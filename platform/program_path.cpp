#include "platform/program_path.h"

#include <limits.h>
#include <unistd.h>

#include <QCoreApplication>

namespace gk {

std::string ProgramPath() {
  std::string path(PATH_MAX, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n > 0 && static_cast<std::size_t>(n) < path.size()) {
    path.resize(static_cast<std::size_t>(n));
    return path;
  }
  // Without /proc: what Qt finds.
  return QCoreApplication::applicationFilePath().toUtf8().toStdString();
}

}  // namespace gk
