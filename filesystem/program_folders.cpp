#include "filesystem/program_folders.h"

#include <sys/stat.h>

#include "filesystem/file_io.h"

namespace gk {

namespace {

bool Exists(const std::string& path, bool folder) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && (!folder || S_ISDIR(status.st_mode));
}

// The installed copy's shared folder: <prefix>/share/gridkiln/ for an AppDir of <prefix>/bin/.
std::string SharedFolder(const std::string& appDir) {
  const std::size_t slash =
      appDir.size() >= 2 ? appDir.rfind('/', appDir.size() - 2) : std::string::npos;
  const std::size_t prefixLength = slash == std::string::npos ? 0 : slash + 1;
  return (prefixLength == 0 ? std::string("/") : appDir.substr(0, prefixLength)) +
         "share/gridkiln/";
}

}  // namespace

ProgramFolders PortableFolders(const std::string& appDir) {
  ProgramFolders folders;
  folders.appDir = appDir;
  folders.iniPath = appDir + "gridkiln.ini";
  folders.bmpDir = appDir + "bmp/";
  folders.palettePath = appDir + "palette.bmp";
  return folders;
}

ProgramFolders FindProgramFolders(const std::string& appDir, const UserEnvironment& env) {
  ProgramFolders portable = PortableFolders(appDir);
  if (Exists(portable.iniPath, false) || Exists(portable.bmpDir, true)) return portable;
  const std::string shared = SharedFolder(appDir);
  if (!Exists(shared, true)) return portable;

  ProgramFolders installed;
  installed.installed = true;
  installed.appDir = appDir;
  const std::string config = ConfigHome(env) + "gridkiln/";
  installed.iniPath = config + "gridkiln.ini";
  installed.bmpDir = PicturesFolder(env) + "gridkiln/";
  installed.palettePath =
      FileExists(config + "palette.bmp") ? config + "palette.bmp" : shared + "palette.bmp";
  return installed;
}

}  // namespace gk
