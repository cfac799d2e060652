#pragma once

#include <string>

namespace gk {

// The texts and ticks of the options dialog, filled by the command and read back on OK.
struct OptionValues {
  std::string width, height, width2, height2, dotSize, buttonW, buttonH;
  bool save256 = false;
  bool png = false;
};

}  // namespace gk
