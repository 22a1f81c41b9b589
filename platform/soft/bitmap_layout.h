// The parts of a Windows bitmap file that the reader works from: what the
// headers say, checked against the rules of the Windows loader, before any
// pixel is read. Internal to the bitmap reader (bitmap_*.cpp) and its tests.
#ifndef VANTREL_PLATFORM_SOFT_BITMAP_LAYOUT_H
#define VANTREL_PLATFORM_SOFT_BITMAP_LAYOUT_H

#include "platform/soft/bitmap_file.h"

#include <cstddef>
#include <cstdint>

namespace soft {

// Largest bitmap the reader builds: 16384 pixels a side and 64 Mi pixels
// (256 MiB decoded). Larger headers are refused before anything is allocated.
inline constexpr int32_t kBitmapMaxSide = 16384;
inline constexpr int64_t kBitmapMaxPixels = int64_t{64} * 1024 * 1024;

// How the pixel array is stored.
enum class PixelCoding {
  Indexed,   // 1, 4 or 8 bits: palette indices
  Rgb24,     // 8-bit blue, green, red
  Fields,    // 16 or 32 bits: three channel masks (BI_RGB uses the default ones)
  Rle8,      // run-length coded palette indices
  Rle4,      // run-length coded 4-bit palette indices
  Unreadable // a header Windows accepts, a pixel coding it cannot draw: the
             // bitmap keeps its cleared pixels (palette entry 0, or black)
};

struct BitmapLayout {
  int32_t width = 0;
  int32_t height = 0; // always positive
  bool topDown = false;
  uint32_t headerSize = 0;
  uint32_t bitCount = 0;
  uint32_t compression = 0;
  PixelCoding coding = PixelCoding::Unreadable;

  // Palette (bit counts of 8 and less): `paletteFromFile` entries of
  // `paletteEntrySize` bytes (3 or 4, blue first) at `paletteOffset`; the
  // table always has 2^bitCount entries, those past the file's count black.
  uint64_t paletteOffset = 0;
  uint32_t paletteEntrySize = 4;
  uint32_t paletteFromFile = 0;

  // Channel masks of the Fields coding.
  uint32_t masks[3] = {0, 0, 0};

  // Where the pixel array starts (`offsetInFile`: as bfOffBits gives it,
  // rather than right after the colour table), and the byte count the header
  // gives it (used by the run-length codings only).
  uint64_t bitsOffset = 0;
  bool offsetInFile = false;
  uint32_t sizeImage = 0;

  // Bytes per row of the uncompressed codings, rows padded to 4 bytes.
  uint64_t stride = 0;
};

// Reads and checks the headers. Answers false for every file the Windows
// loader refuses, and for bitmaps over the size limits above.
bool ParseBitmapLayout(const uint8_t *data, size_t size, BitmapLayout *out);

// Our own decoder: every coding, bytes past the end of `data` read as zero.
// `out` receives layout.width x layout.height pixels.
void DecodeBitmapPixels(const uint8_t *data, size_t size, const BitmapLayout &layout,
                        DecodedBitmap *out);

// Whether SDL2's BMP reader gives the Windows picture for this layout, and
// the reading through it. DecodeWithSdl answers false when SDL refuses.
bool SdlReadsLayout(const BitmapLayout &layout, size_t size);
bool DecodeWithSdl(const uint8_t *data, size_t size, const BitmapLayout &layout,
                   DecodedBitmap *out);

} // namespace soft

#endif
