#include "bmp_maker.h"

namespace bmptest {

void Put16(std::vector<uint8_t> *bytes, size_t at, uint32_t v) {
  if (bytes->size() < at + 2)
    bytes->resize(at + 2);
  (*bytes)[at] = static_cast<uint8_t>(v);
  (*bytes)[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t> *bytes, size_t at, uint32_t v) {
  Put16(bytes, at, v & 0xFFFF);
  Put16(bytes, at + 2, v >> 16);
}

std::vector<uint8_t> MakeBmp(const BmpRecipe &s) {
  std::vector<uint8_t> b(14 + s.headerSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(&b, 14, s.headerSize);
  if (s.headerSize == 12) {
    Put16(&b, 18, static_cast<uint32_t>(s.width));
    Put16(&b, 20, static_cast<uint32_t>(s.height));
    Put16(&b, 22, s.planes);
    Put16(&b, 24, s.bitCount);
  } else {
    Put32(&b, 18, static_cast<uint32_t>(s.width));
    Put32(&b, 22, static_cast<uint32_t>(s.height));
    Put16(&b, 26, s.planes);
    Put16(&b, 28, s.bitCount);
    Put32(&b, 30, s.compression);
    Put32(&b, 34, s.sizeImageFromPixels ? static_cast<uint32_t>(s.pixels.size()) : 0);
    Put32(&b, 46, static_cast<uint32_t>(s.palette.size()));
  }
  for (uint32_t m : s.masks)
    Put32(&b, b.size(), m);
  for (uint32_t c : s.palette) {
    b.push_back(static_cast<uint8_t>(c));
    b.push_back(static_cast<uint8_t>(c >> 8));
    b.push_back(static_cast<uint8_t>(c >> 16));
    if (s.headerSize != 12)
      b.push_back(0);
  }
  Put32(&b, 10, static_cast<uint32_t>(b.size()));
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  Put32(&b, 2, static_cast<uint32_t>(b.size()));
  return b;
}

} // namespace bmptest
