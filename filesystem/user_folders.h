#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gk {

// The user's own folders by the XDG rules, as bytes: the base-directory rule for the
// configuration folder and the xdg-user-dirs rule for the pictures folder (the rule
// QStandardPaths::PicturesLocation follows), without Qt, so that names that are not UTF-8 stay
// as they are and the rules can be tested on their own.

// What the rules read from the process: empty where unset.
struct UserEnvironment {
  std::string home;           // $HOME, else the home folder of the user's passwd entry
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME
};

UserEnvironment CurrentUserEnvironment();

// $XDG_CONFIG_HOME when it is an absolute path (a relative one is ignored, as the rule says),
// else $HOME/.config; ends with "/".
std::string ConfigHome(const UserEnvironment& env);

// The value of XDG_PICTURES_DIR in the text of a user-dirs.dirs file, "$HOME" replaced by
// `home`; nullopt when no line sets it to "$HOME..." or to an absolute path. The last such
// line counts, as when a shell reads the file.
std::optional<std::string> PicturesDirFromUserDirs(std::string_view text, const std::string& home);

// XDG_PICTURES_DIR from ConfigHome/user-dirs.dirs, else $HOME/Pictures; ends with "/". A file
// that cannot be read counts as absent.
std::string PicturesFolder(const UserEnvironment& env);

}  // namespace gk
