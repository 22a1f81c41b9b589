// Reading Windows bitmap files for the software display device.
#ifndef VANTREL_PLATFORM_SOFT_BITMAP_FILE_H
#define VANTREL_PLATFORM_SOFT_BITMAP_FILE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soft {

// A decoded bitmap: width x height pixels, top row first, each 0x00RRGGBB.
struct DecodedBitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Reads the bitmap file at `path`. Answers false (and leaves `out` empty)
// when the file is missing or is not a bitmap the Windows loader accepts.
bool ReadBitmapFile(const char *path, DecodedBitmap *out);

// The same for a file already in memory.
bool DecodeBitmap(const uint8_t *data, size_t size, DecodedBitmap *out);

} // namespace soft

#endif
