// Hand-made bitmap files for the reader's tests.
#ifndef VANTREL_TESTS_BITMAPS_BMP_MAKER_H
#define VANTREL_TESTS_BITMAPS_BMP_MAKER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmptest {

struct BmpRecipe {
  int32_t width = 1;
  int32_t height = 1; // negative: top-down
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint16_t planes = 1;
  uint32_t headerSize = 40;        // 12 writes a core header
  std::vector<uint32_t> palette;   // 0x00RRGGBB entries written after the header
  std::vector<uint32_t> masks;     // written right after a 40-byte header
  std::vector<uint8_t> pixels;     // the pixel array, as stored
  bool sizeImageFromPixels = true; // biSizeImage = pixels.size(), else 0
};

// A whole file: file header, info header, masks, palette, pixels; bfOffBits
// points at the pixels.
std::vector<uint8_t> MakeBmp(const BmpRecipe &recipe);

void Put16(std::vector<uint8_t> *bytes, size_t at, uint32_t v);
void Put32(std::vector<uint8_t> *bytes, size_t at, uint32_t v);

} // namespace bmptest

#endif
