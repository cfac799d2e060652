// Writes the program's icon at every size of the icon theme: OUT_DIR/gridkiln-<side>.png.
#include <cstdio>
#include <string>

#include "widgets/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUT_DIR\n");
    return 2;
  }
  for (int side : gk::AppIconSides) {
    const std::string path = std::string(argv[1]) + "/gridkiln-" + std::to_string(side) + ".png";
    if (!gk::DrawAppIcon(side).save(QString::fromStdString(path), "PNG")) {
      std::fprintf(stderr, "make_icon: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
