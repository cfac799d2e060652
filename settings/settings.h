#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gk {

// The Name=Value lines of the settings file, in file order, neither part trimmed. Names compare
// without regard to ASCII case; the first of equal names counts.
class Settings {
 public:
  // The value of the first line named `name`; empty when there is none.
  std::string LookupSetting(std::string_view name) const;
  // A flag counts as on only when its value is exactly "1".
  bool FlagOn(std::string_view name) const { return LookupSetting(name) == "1"; }
  // Replaces the first line named `name` in place (or appends); an empty value removes it.
  void StoreSetting(std::string_view name, std::string_view value);

  // Splits file bytes into lines: CR, LF and CR LF end a line (LF CR is two ends), a zero byte
  // ends the text, a final line end adds no empty line.
  void SetText(std::string_view bytes);
  // Every line followed by CR LF.
  std::string Text() const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace gk
