// Writes the desktop icon: the stacked sheets of a series with the shapes glyph in front.
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "platform/glyphs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUT.png\n");
    return 2;
  }
  QImage icon(gk::GlyphSide, gk::GlyphSide, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  {
    QPainter painter(&icon);
    painter.drawImage(0, 0, gk::DrawGlyph(gk::Glyph::StackedSheets));
    painter.drawImage(8, 8, gk::DrawGlyph(gk::Glyph::Shapes).scaled(24, 24));
  }
  if (!icon.save(argv[1], "PNG")) {
    std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
