#include "filesystem/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

#include "filesystem/file_io.h"

namespace gk {

namespace {

// A user-dirs.dirs file holds a dozen short lines.
constexpr std::size_t MaxUserDirsBytes = 64 * 1024;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string PasswdHome() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_dir) {
    return "";
  }
  return found->pw_dir;
}

// The home folder without trailing "/", so joined names carry one "/" each; "/" gives "".
std::string HomeBase(const UserEnvironment& env) {
  std::string home = env.home;
  while (!home.empty() && home.back() == '/') home.pop_back();
  return home;
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// The value of a line NAME="value" in the file's shell quoting: the quotes go, and a backslash
// gives the character after it as it is.
std::optional<std::string> QuotedValue(std::string_view rest) {
  if (rest.size() < 2 || rest.front() != '"') return std::nullopt;
  std::string value;
  for (std::size_t i = 1; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      // Only blanks (and the CR of a CR LF line end) may follow the closing quote.
      if (rest.find_first_not_of(" \t\r", i + 1) != std::string_view::npos) return std::nullopt;
      return value;
    }
    if (c == '\\' && i + 1 < rest.size()) {
      value += rest[++i];
    } else {
      value += c;
    }
  }
  return std::nullopt;
}

}  // namespace

UserEnvironment CurrentUserEnvironment() {
  UserEnvironment env;
  env.home = Variable("HOME");
  if (env.home.empty()) env.home = PasswdHome();
  env.xdgConfigHome = Variable("XDG_CONFIG_HOME");
  return env;
}

std::string ConfigHome(const UserEnvironment& env) {
  if (!env.xdgConfigHome.empty() && env.xdgConfigHome.front() == '/') {
    return WithSlash(env.xdgConfigHome);
  }
  return HomeBase(env) + "/.config/";
}

std::optional<std::string> PicturesDirFromUserDirs(std::string_view text, const std::string& home) {
  constexpr std::string_view Key = "XDG_PICTURES_DIR=";
  constexpr std::string_view HomeWord = "$HOME";
  std::optional<std::string> found;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) continue;
    line.remove_prefix(start);
    if (line.substr(0, Key.size()) != Key) continue;
    std::optional<std::string> value = QuotedValue(line.substr(Key.size()));
    if (!value) continue;
    if (value->compare(0, HomeWord.size(), HomeWord) == 0 &&
        (value->size() == HomeWord.size() || (*value)[HomeWord.size()] == '/')) {
      found = home + value->substr(HomeWord.size());
    } else if (!value->empty() && value->front() == '/') {
      found = *value;
    }
  }
  return found;
}

std::string PicturesFolder(const UserEnvironment& env) {
  const std::string home = HomeBase(env);
  try {
    const std::vector<std::uint8_t> bytes =
        ReadFileBytes(ConfigHome(env) + "user-dirs.dirs", MaxUserDirsBytes);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (std::optional<std::string> pictures = PicturesDirFromUserDirs(text, home)) {
      return WithSlash(*pictures);
    }
  } catch (const std::exception&) {
    // No file, or one that cannot be read: the rule's default.
  }
  return home + "/Pictures/";
}

}  // namespace gk
