// Reading and checking the headers of a Windows bitmap file.
//
// The Windows loader (LoadImageA with LR_LOADFROMFILE | LR_CREATEDIBSECTION)
// decides in two steps. It first makes an empty DIB section from the header,
// with the compression cleared; the file is refused when that fails. Then it
// draws the file's pixels into the section, and does not look at whether the
// drawing worked: a file whose pixel coding cannot be drawn still loads, and
// keeps the section's cleared pixels. This file follows the first step; the
// second is bitmap_pixels.cpp.
#include "platform/soft/bitmap_layout.h"

namespace soft {
namespace {

constexpr uint32_t kCoreHeader = 12; // BITMAPCOREHEADER (OS/2 1.x)
constexpr uint32_t kInfoHeader = 40; // BITMAPINFOHEADER
constexpr uint32_t kV4Header = 108;  // BITMAPV4HEADER
constexpr uint32_t kV5Header = 124;  // BITMAPV5HEADER
constexpr uint32_t kFileHeader = 14; // BITMAPFILEHEADER

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Header bytes past the end of a short file read as zero, as the Windows
// loader's mapped view of the file reads them.
uint32_t ReadU16(const uint8_t *data, size_t size, uint64_t at) {
  uint32_t v = 0;
  for (uint64_t i = 0; i < 2; ++i) {
    if (at + i < size)
      v |= uint32_t{data[at + i]} << (8 * i);
  }
  return v;
}

uint32_t ReadU32(const uint8_t *data, size_t size, uint64_t at) {
  uint32_t v = 0;
  for (uint64_t i = 0; i < 4; ++i) {
    if (at + i < size)
      v |= uint32_t{data[at + i]} << (8 * i);
  }
  return v;
}

bool ValidBitCount(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Which coding the drawing step can use; anything else leaves the bitmap
// cleared. Run-length data must be bottom-up and say how long it is.
PixelCoding CodingFor(const BitmapLayout &l) {
  switch (l.compression) {
  case kBiRgb:
    if (l.bitCount <= 8)
      return PixelCoding::Indexed;
    if (l.bitCount == 24)
      return PixelCoding::Rgb24;
    return PixelCoding::Fields;
  case kBiRle8:
    return (l.bitCount == 8 && !l.topDown && l.sizeImage > 0) ? PixelCoding::Rle8
                                                              : PixelCoding::Unreadable;
  case kBiRle4:
    return (l.bitCount == 4 && !l.topDown && l.sizeImage > 0) ? PixelCoding::Rle4
                                                              : PixelCoding::Unreadable;
  case kBiBitfields:
    return (l.bitCount == 16 || l.bitCount == 32) ? PixelCoding::Fields : PixelCoding::Unreadable;
  default:
    return PixelCoding::Unreadable;
  }
}

} // namespace

bool ParseBitmapLayout(const uint8_t *data, size_t size, BitmapLayout *out) {
  if (data == nullptr || out == nullptr || size < 2)
    return false;
  if (data[0] != 'B' || data[1] != 'M')
    return false;

  BitmapLayout l;
  l.headerSize = ReadU32(data, size, kFileHeader);
  const uint64_t h = kFileHeader; // the info header starts here
  int64_t width = 0;
  int64_t height = 0;
  uint32_t planes = 0;
  uint32_t colorsUsed = 0;
  if (l.headerSize == kCoreHeader) {
    width = ReadU16(data, size, h + 4);
    height = ReadU16(data, size, h + 6);
    planes = ReadU16(data, size, h + 8);
    l.bitCount = ReadU16(data, size, h + 10);
  } else if (l.headerSize == kInfoHeader || l.headerSize == kV4Header ||
             l.headerSize == kV5Header) {
    // Other sizes (the OS/2 2.x headers of 16 to 64 bytes, the 52- and
    // 56-byte variants) are refused by the Windows loader.
    width = static_cast<int32_t>(ReadU32(data, size, h + 4));
    height = static_cast<int32_t>(ReadU32(data, size, h + 8));
    planes = ReadU16(data, size, h + 12);
    l.bitCount = ReadU16(data, size, h + 14);
    l.compression = ReadU32(data, size, h + 16);
    l.sizeImage = ReadU32(data, size, h + 20);
    colorsUsed = ReadU32(data, size, h + 32);
  } else {
    return false;
  }

  if (planes != 1 || !ValidBitCount(l.bitCount))
    return false;
  if (width <= 0 || height == 0)
    return false;
  l.topDown = height < 0;
  if (height < 0)
    height = -height; // int64_t: no overflow for INT32_MIN
  if (width > kBitmapMaxSide || height > kBitmapMaxSide || width * height > kBitmapMaxPixels) {
    return false;
  }
  l.width = static_cast<int32_t>(width);
  l.height = static_cast<int32_t>(height);
  l.stride = ((static_cast<uint64_t>(width) * l.bitCount + 31) / 32) * 4;

  // The colour table follows the info header. A core header always has the
  // full table of RGB triples; the others have biClrUsed entries (0: the
  // full table), never more than the full table.
  const bool core = l.headerSize == kCoreHeader;
  l.paletteOffset = h + l.headerSize;
  l.paletteEntrySize = core ? 3 : 4;
  if (l.bitCount <= 8) {
    const uint32_t full = 1u << l.bitCount;
    l.paletteFromFile = (core || colorsUsed == 0 || colorsUsed > full) ? full : colorsUsed;
  }

  // Bit-field masks sit right after the 40 bytes of BITMAPINFOHEADER, which
  // is also where the larger headers keep theirs.
  const bool fields = !core && l.compression == kBiBitfields;
  if (fields) {
    for (uint64_t i = 0; i < 3; ++i)
      l.masks[i] = ReadU32(data, size, h + kInfoHeader + 4 * i);
  } else if (l.bitCount == 16) {
    l.masks[0] = 0x7C00;
    l.masks[1] = 0x03E0;
    l.masks[2] = 0x001F;
  } else if (l.bitCount == 32) {
    l.masks[0] = 0x00FF0000;
    l.masks[1] = 0x0000FF00;
    l.masks[2] = 0x000000FF;
  }

  // The pixel array is at bfOffBits; when that is 0, right after the header,
  // the masks and the colour table (biClrUsed entries, at most 256, also for
  // the deeper bitmaps that carry a table they do not use).
  const uint32_t offBits = ReadU32(data, size, 10);
  if (offBits != 0) {
    l.bitsOffset = offBits;
    l.offsetInFile = true;
  } else {
    uint64_t table = 0;
    if (core) {
      table = l.bitCount <= 8 ? (uint64_t{1} << l.bitCount) * 3 : 0;
    } else {
      uint64_t colors = colorsUsed > 256 ? 256 : colorsUsed;
      if (colors == 0 && l.bitCount <= 8)
        colors = uint64_t{1} << l.bitCount;
      table = colors * 4;
    }
    uint64_t header = l.headerSize;
    if (fields && header < kInfoHeader + 12)
      header = kInfoHeader + 12;
    l.bitsOffset = h + header + table;
  }

  l.coding = CodingFor(l);
  *out = l;
  return true;
}

} // namespace soft
