// Why a bitmap file could not be loaded, from its first bytes.
#include "images/unread_bitmap.h"

#include <cstdio>

namespace vantrel {

namespace {

uint32_t Le16(const unsigned char *p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }

uint32_t Le32(const unsigned char *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

UnreadBitmap WhyBitmapUnread(const char *name) {
  std::FILE *file = name != nullptr ? std::fopen(name, "rb") : nullptr;
  if (file == nullptr) {
    return {Why::ImageCannotOpen, 0};
  }
  // File header (14 bytes), then the info header's size and, for the 12-byte
  // core header, the depth at 24; for every larger header at 28.
  unsigned char head[30] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  if (got < 26 || head[0] != 'B' || head[1] != 'M') {
    return {Why::ImageNotBitmap, 0};
  }
  const uint32_t infoSize = Le32(head + 14);
  if (infoSize != 12 && got < 30) {
    return {Why::ImageNotBitmap, 0};
  }
  const uint32_t bits = infoSize == 12 ? Le16(head + 24) : Le16(head + 28);
  switch (bits) {
  case 1:
  case 4:
  case 8:
  case 16:
  case 24:
  case 32:
    return {Why::ImageUnreadable, bits};
  default:
    return {Why::ImageDepth, bits};
  }
}

} // namespace vantrel
