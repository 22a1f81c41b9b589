// make_font.cpp - makes the SDK's font bitmap from an X11 bitmap font.
//
//   make_font FONT.pcf.gz OUT.bmp
//
// The font is read as Debian's font packages ship it (PCF, gzip-compressed)
// and its characters 32 (space) to 255 (ISO 8859-1) are laid out 16 to a
// row in cells of the font's own size: for the SDK, the public-domain
// "misc-fixed" 8x13 of the xfonts-base package, 128x182 pixels.
#include "pcf_font.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_font FONT.pcf.gz OUT.bmp\n");
    return 2;
  }
  std::vector<uint8_t> bytes;
  if (!font::ReadGzipFile(argv[1], &bytes)) {
    std::fprintf(stderr, "make_font: cannot read %s (install the xfonts-base package)\n", argv[1]);
    return 1;
  }
  font::PcfFont pcf;
  std::string why;
  if (!font::ParsePcf(bytes, &pcf, &why)) {
    std::fprintf(stderr, "make_font: %s: %s\n", argv[1], why.c_str());
    return 1;
  }
  int32_t cellW = 0;
  for (int code = 32; code < 256; ++code) {
    const font::Glyph &g = pcf.byCode[static_cast<size_t>(code)];
    if (g.present && g.left + g.width > cellW) {
      cellW = g.left + g.width;
    }
  }
  const int32_t cellH = pcf.ascent + pcf.descent;
  if (cellW <= 0 || cellH <= 0) {
    std::fprintf(stderr, "make_font: %s has no characters to lay out\n", argv[1]);
    return 1;
  }
  const font::Grid grid = font::LayOut(pcf, cellW, cellH, 32, 255, 16);
  if (!font::WriteBmp(argv[2], grid)) {
    std::fprintf(stderr, "make_font: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("make_font: %s: %dx%d cells, %dx%d pixels\n", argv[2], cellW, cellH, grid.width,
              grid.height);
  return 0;
}
