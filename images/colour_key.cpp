#include "images/colour_key.h"

#include <cstring>

namespace vantrel {

uint32_t ColourKeyFromFirstWord(const void *firstPixel, uint32_t bits) {
  uint8_t b[4];
  std::memcpy(b, firstPixel, sizeof b);
  const uint32_t word =
      uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
  if (bits >= 32) {
    return word;
  }
  return word & ((uint32_t{1} << bits) - 1u);
}

} // namespace vantrel
