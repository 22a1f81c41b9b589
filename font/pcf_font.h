// pcf_font.h - reading an X11 bitmap font in PCF form (the form Debian's
// font packages ship, gzip-compressed) into glyph bitmaps, and laying its
// characters out as a grid image, for the SDK's font bitmap.
#ifndef VANTREL_FONT_PCF_FONT_H
#define VANTREL_FONT_PCF_FONT_H

#include <cstdint>
#include <string>
#include <vector>

namespace font {

struct Glyph {
  bool present = false;
  int32_t left = 0;            // left side bearing: the bitmap's first column in the cell
  int32_t width = 0;           // bitmap columns (right bearing - left bearing)
  int32_t ascent = 0;          // rows above the baseline
  int32_t descent = 0;         // rows below it
  std::vector<uint8_t> pixels; // width x (ascent + descent), 1 = ink, row by row
};

struct PcfFont {
  int32_t ascent = 0; // the font's, above the baseline
  int32_t descent = 0;
  std::vector<Glyph> byCode; // indexed by character code 0..255
};

// Reads a gzip-compressed (or plain) file whole, as Debian ships its fonts.
// False when it cannot be opened or read.
bool ReadGzipFile(const std::string &path, std::vector<uint8_t> *bytes);

// Reads the PCF bytes (not compressed). False with the reason in `why`.
bool ParsePcf(const std::vector<uint8_t> &bytes, PcfFont *out, std::string *why);

// A grid of `columns` cells of cellW x cellH for the codes first..last, as
// 24-bit RGB rows (top row first): the background magenta (the colour key,
// also the top-left pixel, as cell 0 is the space), ink white with a black
// shadow one pixel right and down where the cell has room.
struct Grid {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
};
Grid LayOut(const PcfFont &font, int32_t cellW, int32_t cellH, int32_t first, int32_t last,
            int32_t columns);

// Writes a 24-bit Windows bitmap file. False when it cannot be written.
bool WriteBmp(const std::string &path, const Grid &grid);

} // namespace font

#endif
