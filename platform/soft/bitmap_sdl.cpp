// Reading the plain bitmaps through SDL2's BMP reader and its pixel-format
// conversion.
//
// SDL_LoadBMP (SDL 2.26) gives the Windows picture for uncompressed palette
// and 24-bit files whose pixels are all in the file, and for 32-bit files
// with the 40-byte header. Elsewhere it falls short of the Windows loader,
// so those files go to our own decoder (bitmap_pixels.cpp):
// - it refuses files Windows reads: 32-bit BI_BITFIELDS masks that match no
//   SDL pixel format (among them g/rgb32bf.bmp), a pixel array cut short, a
//   palette index past the colour table;
// - it reads files Windows refuses (2-bit palettes, OS/2 2.x headers,
//   Huffman-coded 1-bit, a bad plane count or header size); the header check
//   of bitmap_layout.cpp runs ahead of it and refuses them;
// - its run-length decoder and its widening of bit fields do not give the
//   Windows pixels for skipped runs, broken runs and narrow fields;
// - it reads the masks of a version 4 or 5 header also for BI_RGB files.
#include "platform/soft/bitmap_layout.h"

#include <SDL.h>

#include <cstring>

namespace soft {

bool SdlReadsLayout(const BitmapLayout &l, size_t size) {
  if (l.compression != 0)
    return false;
  if (l.coding != PixelCoding::Indexed && l.coding != PixelCoding::Rgb24 &&
      !(l.bitCount == 32 && l.headerSize <= 40)) {
    return false;
  }
  // SDL always seeks to bfOffBits, and reads its own idea of the colour
  // table: the pixel array must be named and lie past the table.
  if (!l.offsetInFile)
    return false;
  const uint64_t bits = l.stride * static_cast<uint64_t>(l.height);
  if (l.bitsOffset > size || bits > size - l.bitsOffset)
    return false;
  const uint64_t table = uint64_t{l.paletteFromFile} * l.paletteEntrySize;
  if (l.paletteOffset > size || table > size - l.paletteOffset)
    return false;
  return l.bitsOffset >= l.paletteOffset + table;
}

bool DecodeWithSdl(const uint8_t *data, size_t size, const BitmapLayout &l, DecodedBitmap *out) {
  if (size > static_cast<size_t>(INT32_MAX))
    return false;
  SDL_RWops *rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr)
    return false;
  SDL_Surface *read = SDL_LoadBMP_RW(rw, 1);
  if (read == nullptr)
    return false;
  SDL_Surface *rgb = SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(read);
  if (rgb == nullptr)
    return false;

  bool ok = rgb->w == l.width && rgb->h == l.height;
  if (ok) {
    out->width = l.width;
    out->height = l.height;
    out->pixels.resize(static_cast<size_t>(l.width) * static_cast<size_t>(l.height));
    const auto w = static_cast<size_t>(l.width);
    for (int y = 0; y < rgb->h; ++y) {
      const auto *src = static_cast<const uint8_t *>(rgb->pixels) +
                        static_cast<size_t>(y) * static_cast<size_t>(rgb->pitch);
      uint32_t *dst = out->pixels.data() + static_cast<size_t>(y) * w;
      std::memcpy(dst, src, w * sizeof(uint32_t));
      for (size_t x = 0; x < w; ++x)
        dst[x] &= 0x00FFFFFFu;
    }
  }
  SDL_FreeSurface(rgb);
  return ok;
}

} // namespace soft
