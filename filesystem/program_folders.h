#pragma once

#include <string>

#include "filesystem/user_folders.h"

namespace gk {

// Where the editor reads its palette and keeps its settings and the drawings saved under
// automatic names. Folder paths end with "/".
struct ProgramFolders {
  // An installed copy writes to the user's own folders and makes them when they are missing.
  bool installed = false;
  std::string appDir;  // the executable's folder
  std::string iniPath;
  std::string bmpDir;  // the folder of automatic names
  std::string palettePath;
};

// Everything beside the executable: AppDir + "gridkiln.ini", AppDir + "bmp/" and
// AppDir + "palette.bmp".
ProgramFolders PortableFolders(const std::string& appDir);

// The two ways of running, told apart by at most three stat calls and no writes. A copy is
// installed when its folder holds neither a "gridkiln.ini" nor a "bmp" folder and a
// "share/gridkiln" folder stands in the folder above it (/usr/bin/gridkiln and
// /usr/share/gridkiln, whatever the prefix); it then keeps its settings in
// ConfigHome/gridkiln/gridkiln.ini and its automatic names in PicturesFolder/gridkiln/, and reads
// ConfigHome/gridkiln/palette.bmp when the user has put one there, else the shared one. Any
// other copy (the build tree, a folder made portable) is portable.
ProgramFolders FindProgramFolders(const std::string& appDir, const UserEnvironment& env);

}  // namespace gk
