// Reading Windows bitmap files for the software display device: the files
// the Windows loader accepts, with the picture it gives.
//
// Our header check (bitmap_layout.cpp) decides which files are read. In the
// desktop build the plain ones are then read by SDL2 (bitmap_sdl.cpp); the
// rest, any SDL refuses, and every file in builds without SDL2, by our own
// decoder (bitmap_pixels.cpp), which gives the same picture where SDL reads. Neither reads outside
// the file's bytes: bytes a short file lacks read as zero.
#include "platform/soft/bitmap_file.h"
#include "platform/soft/bitmap_layout.h"

#include <cstdio>

namespace soft {
namespace {

// The largest file read: room for the largest bitmap decoded (256 MiB of
// 32-bit pixels) and its headers. Larger files are refused unread.
constexpr long kMaxFileBytes = 320L * 1024 * 1024;

void Clear(DecodedBitmap *out) {
  out->width = 0;
  out->height = 0;
  out->pixels.clear();
  out->pixels.shrink_to_fit();
}

bool ReadWholeFile(const char *path, std::vector<uint8_t> *bytes) {
  std::FILE *f = std::fopen(path, "rb");
  if (f == nullptr)
    return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(f) : -1;
  ok = ok && length >= 0 && length <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(length));
    ok = length == 0 || std::fread(bytes->data(), 1, bytes->size(), f) == bytes->size();
  }
  std::fclose(f);
  return ok;
}

} // namespace

bool DecodeBitmap(const uint8_t *data, size_t size, DecodedBitmap *out) {
  if (out == nullptr)
    return false;
  Clear(out);
  BitmapLayout layout;
  if (!ParseBitmapLayout(data, size, &layout))
    return false;
#if VANTREL_SOFT_SDL
  if (SdlReadsLayout(layout, size) && DecodeWithSdl(data, size, layout, out))
    return true;
#endif
  DecodeBitmapPixels(data, size, layout, out);
  return true;
}

bool ReadBitmapFile(const char *path, DecodedBitmap *out) {
  if (out == nullptr)
    return false;
  Clear(out);
  if (path == nullptr)
    return false;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes))
    return false;
  return DecodeBitmap(bytes.data(), bytes.size(), out);
}

} // namespace soft
