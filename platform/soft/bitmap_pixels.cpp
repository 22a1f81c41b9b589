// Our own decoding of a bitmap's pixels, giving the picture the Windows
// loader gives.
//
// The Windows loader draws the file into a DIB section of the file's own
// depth and colour table (16-bit files into a 5-5-5 section, 32-bit files
// into 8-8-8), which starts cleared: index 0 for the palette depths, black
// for the others. What the drawing does not reach keeps that value:
// - bytes missing from a short file read as zero (the loader reads them from
//   the zero-filled tail of its mapped view);
// - palette indices past the file's colour table are black;
// - run-length pixels skipped by a delta or an early end of line or bitmap,
//   and the whole bitmap when the run-length data cannot be drawn, are
//   palette entry 0;
// - bit-field channels are widened to 8 bits by the loader's own rule
//   (field's top bits, low bits filled once from its top), and 16-bit
//   pictures then pass through 5 bits a channel.
#include "platform/soft/bitmap_layout.h"

#include <algorithm>
#include <cstring>

namespace soft {
namespace {

// The byte at `at`, zero past the end of the file.
uint8_t ByteAt(const uint8_t *data, size_t size, uint64_t at) { return at < size ? data[at] : 0; }

// Copies `count` bytes from `at` into `dst`, zero-filling what lies past the
// end of the file.
void CopyPadded(const uint8_t *data, size_t size, uint64_t at, uint8_t *dst, size_t count) {
  size_t have = 0;
  if (at < size)
    have = static_cast<size_t>(std::min<uint64_t>(count, size - at));
  if (have > 0)
    std::memcpy(dst, data + at, have);
  if (have < count)
    std::memset(dst + have, 0, count - have);
}

struct Palette {
  uint32_t colors[256] = {};
};

Palette ReadPalette(const uint8_t *data, size_t size, const BitmapLayout &l) {
  Palette p;
  for (uint32_t i = 0; i < l.paletteFromFile && i < 256; ++i) {
    const uint64_t at = l.paletteOffset + uint64_t{i} * l.paletteEntrySize;
    const uint32_t b = ByteAt(data, size, at);
    const uint32_t g = ByteAt(data, size, at + 1);
    const uint32_t r = ByteAt(data, size, at + 2);
    p.colors[i] = (r << 16) | (g << 8) | b;
  }
  return p;
}

// A channel mask: its lowest run of set bits.
struct Field {
  int shift = 0;
  int len = 0;
};

Field FieldOf(uint32_t mask) {
  Field f;
  if (mask == 0)
    return f;
  while ((mask & 1u) == 0) {
    mask >>= 1;
    ++f.shift;
  }
  while ((mask & 1u) == 1u) {
    mask >>= 1;
    ++f.len;
  }
  return f;
}

// The loader's widening of a channel to 8 bits: the field's top bits (at
// most 8), and below them the field once more.
uint32_t Widen(uint32_t pixel, const Field &f) {
  static constexpr uint8_t kTopBits[9] = {0x00, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};
  const int shift = f.shift - (8 - f.len);
  uint32_t v = shift < 0 ? pixel << -shift : pixel >> shift;
  v &= kTopBits[std::min(f.len, 8)];
  if (f.len < 8)
    v |= v >> f.len; // wider fields have nothing below their top 8 bits
  return v;
}

// A 16-bit picture is held at 5 bits a channel, widened again when copied
// into a deeper surface.
uint32_t Through5Bits(uint32_t c8) {
  const uint32_t c5 = c8 >> 3;
  return (c5 << 3) | (c5 >> 2);
}

void DecodeRows(const uint8_t *data, size_t size, const BitmapLayout &l, const Palette &pal,
                uint32_t *pixels) {
  const auto w = static_cast<size_t>(l.width);
  const auto stride = static_cast<size_t>(l.stride);
  std::vector<uint8_t> row(stride);
  const Field fr = FieldOf(l.masks[0]);
  const Field fg = FieldOf(l.masks[1]);
  const Field fb = FieldOf(l.masks[2]);

  for (int32_t r = 0; r < l.height; ++r) {
    CopyPadded(data, size, l.bitsOffset + uint64_t{static_cast<uint32_t>(r)} * l.stride, row.data(),
               stride);
    const int32_t y = l.topDown ? r : l.height - 1 - r;
    uint32_t *out = pixels + static_cast<size_t>(y) * w;
    const uint8_t *in = row.data();
    switch (l.bitCount) {
    case 1:
      for (size_t x = 0; x < w; ++x)
        out[x] = pal.colors[(in[x / 8] >> (7 - x % 8)) & 1u];
      break;
    case 4:
      for (size_t x = 0; x < w; ++x)
        out[x] = pal.colors[(in[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu];
      break;
    case 8:
      for (size_t x = 0; x < w; ++x)
        out[x] = pal.colors[in[x]];
      break;
    case 24:
      for (size_t x = 0; x < w; ++x) {
        const uint8_t *p = in + 3 * x;
        out[x] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      }
      break;
    case 16:
      for (size_t x = 0; x < w; ++x) {
        const uint32_t v = uint32_t{in[2 * x]} | (uint32_t{in[2 * x + 1]} << 8);
        out[x] = (Through5Bits(Widen(v, fr)) << 16) | (Through5Bits(Widen(v, fg)) << 8) |
                 Through5Bits(Widen(v, fb));
      }
      break;
    case 32:
      for (size_t x = 0; x < w; ++x) {
        const uint8_t *p = in + 4 * x;
        const uint32_t v = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                           (uint32_t{p[3]} << 24);
        out[x] = (Widen(v, fr) << 16) | (Widen(v, fg) << 8) | Widen(v, fb);
      }
      break;
    default:
      break;
    }
  }
}

// Run-length data into one palette index a pixel (cleared to 0), following
// the loader's reading of it: runs are cut at the right edge, a delta stops
// at the right edge, the data ends at biSizeImage bytes, at an end-of-bitmap
// code or when a row below the bottom is reached; a literal run that would
// end past biSizeImage ends the data before it.
void DecodeRle(const uint8_t *data, size_t size, const BitmapLayout &l, const Palette &pal,
               uint32_t *pixels) {
  const int64_t width = l.width;
  std::vector<uint8_t> index(static_cast<size_t>(l.width) * static_cast<size_t>(l.height), 0);
  const bool four = l.coding == PixelCoding::Rle4;
  const uint64_t end = l.sizeImage;
  const uint64_t base = l.bitsOffset;
  auto at = [&](uint64_t i) { return ByteAt(data, size, base + i); };
  // Rows are stored bottom-up: row y of the file is picture row height-1-y.
  auto put = [&](int64_t x, int64_t y, uint8_t v) {
    index[static_cast<size_t>(l.height - 1 - y) * static_cast<size_t>(width) +
          static_cast<size_t>(x)] = v;
  };

  uint64_t i = 0;
  int64_t x = 0;
  int64_t y = 0; // counted from the bottom row
  // Past the end of the file the data reads as zero, that is end-of-line
  // codes, so the loop ends after at most one pass down the rows.
  while (i + 1 < end) {
    const uint32_t count = at(i);
    const uint8_t value = at(i + 1);
    i += 2;
    if (count != 0) {
      const int64_t n = std::min<int64_t>(count, width - x);
      for (int64_t k = 0; k < n; ++k) {
        const uint8_t v = four ? static_cast<uint8_t>(k % 2 ? value & 0xF : value >> 4) : value;
        put(x + k, y, v);
      }
      x += n;
      continue;
    }
    if (value == 0) { // end of line
      x = 0;
      if (++y >= l.height)
        break;
    } else if (value == 1) { // end of bitmap
      break;
    } else if (value == 2) { // delta: right and up
      if (i + 1 >= end)
        break;
      x = std::min<int64_t>(x + at(i), width);
      y += at(i + 1);
      if (y >= l.height)
        break;
      i += 2;
    } else { // literal run of `value` pixels, padded to a 16-bit boundary
      const uint64_t bytes = four ? (uint64_t{value} + 1) / 2 : value;
      if (i + bytes > end)
        break;
      const int64_t n = std::min<int64_t>(value, width - x);
      for (int64_t k = 0; k < n; ++k) {
        uint8_t v = 0;
        if (four) {
          const uint8_t b = at(i + static_cast<uint64_t>(k / 2));
          v = static_cast<uint8_t>(k % 2 ? b & 0xF : b >> 4);
        } else {
          v = at(i + static_cast<uint64_t>(k));
        }
        put(x + k, y, v);
      }
      x += n;
      i += (bytes + 1) & ~uint64_t{1};
    }
  }

  for (size_t p = 0; p < index.size(); ++p)
    pixels[p] = pal.colors[index[p]];
}

} // namespace

void DecodeBitmapPixels(const uint8_t *data, size_t size, const BitmapLayout &l,
                        DecodedBitmap *out) {
  out->width = l.width;
  out->height = l.height;
  out->pixels.assign(static_cast<size_t>(l.width) * static_cast<size_t>(l.height), 0);
  const Palette pal = ReadPalette(data, size, l);
  switch (l.coding) {
  case PixelCoding::Indexed:
  case PixelCoding::Rgb24:
  case PixelCoding::Fields:
    DecodeRows(data, size, l, pal, out->pixels.data());
    break;
  case PixelCoding::Rle8:
  case PixelCoding::Rle4:
    DecodeRle(data, size, l, pal, out->pixels.data());
    break;
  case PixelCoding::Unreadable:
    // The cleared bitmap: palette entry 0 for the palette depths.
    if (l.bitCount <= 8)
      std::fill(out->pixels.begin(), out->pixels.end(), pal.colors[0]);
    break;
  }
}

} // namespace soft
