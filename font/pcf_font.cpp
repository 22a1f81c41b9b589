// pcf_font.cpp - the PCF tables the grid needs: accelerators (the font's
// ascent and descent), metrics, bitmaps and encodings.
#include "pcf_font.h"

#include <zlib.h>

#include <cstdio>

namespace font {
namespace {

constexpr uint32_t PCF_ACCELERATORS = 1u << 1;
constexpr uint32_t PCF_METRICS = 1u << 2;
constexpr uint32_t PCF_BITMAPS = 1u << 3;
constexpr uint32_t PCF_BDF_ENCODINGS = 1u << 5;
constexpr uint32_t PCF_BDF_ACCELERATORS = 1u << 8;
constexpr uint32_t PCF_COMPRESSED_METRICS = 0x100;

// A reader of one table, in the byte order its format word names.
struct Reader {
  const std::vector<uint8_t> &bytes;
  size_t at;
  bool msb = false;
  bool ok = true;

  uint32_t Bytes(int n) {
    if (at + static_cast<size_t>(n) > bytes.size()) {
      ok = false;
      return 0;
    }
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
      const uint32_t b = bytes[at + static_cast<size_t>(i)];
      v |= msb ? b << (8 * (n - 1 - i)) : b << (8 * i);
    }
    at += static_cast<size_t>(n);
    return v;
  }
  void Skip(size_t n) {
    if (at + n > bytes.size()) {
      ok = false;
      return;
    }
    at += n;
  }
  int32_t I32() { return static_cast<int32_t>(Bytes(4)); }
  int32_t I16() { return static_cast<int16_t>(static_cast<uint16_t>(Bytes(2))); }
  int32_t U8() { return static_cast<int32_t>(Bytes(1)); }
  // The format word is always least significant byte first.
  uint32_t Format() {
    msb = false;
    const uint32_t format = Bytes(4);
    msb = (format & 4u) != 0;
    return format;
  }
};

struct Table {
  uint32_t type = 0;
  uint32_t offset = 0;
  bool found = false;
};

bool Fail(std::string *why, const char *reason) {
  *why = reason;
  return false;
}

} // namespace

bool ParsePcf(const std::vector<uint8_t> &bytes, PcfFont *out, std::string *why) {
  Reader head{bytes, 0};
  if (head.Bytes(4) != 0x70636601u) { // "\1fcp", read least significant first
    return Fail(why, "not a PCF font");
  }
  const int32_t count = head.I32();
  Table accel;
  Table metrics;
  Table bitmaps;
  Table encodings;
  for (int32_t i = 0; i < count && head.ok; ++i) {
    const uint32_t type = head.Bytes(4);
    head.Bytes(4); // format, repeated at the table
    head.Bytes(4); // size
    const uint32_t offset = head.Bytes(4);
    for (Table *t : {&accel, &metrics, &bitmaps, &encodings}) {
      const uint32_t want = t == &accel     ? PCF_BDF_ACCELERATORS
                            : t == &metrics ? PCF_METRICS
                            : t == &bitmaps ? PCF_BITMAPS
                                            : PCF_BDF_ENCODINGS;
      if (type == want || (t == &accel && type == PCF_ACCELERATORS && !t->found)) {
        *t = Table{type, offset, true};
      }
    }
  }
  if (!head.ok || !accel.found || !metrics.found || !bitmaps.found || !encodings.found) {
    return Fail(why, "a table the grid needs is missing");
  }

  PcfFont font;
  Reader a{bytes, accel.offset};
  a.Format();
  a.Skip(8); // the flags and padding
  font.ascent = a.I32();
  font.descent = a.I32();
  if (!a.ok || font.ascent < 0 || font.descent < 0 || font.ascent + font.descent > 64) {
    return Fail(why, "bad accelerators");
  }

  Reader m{bytes, metrics.offset};
  const uint32_t metricsFormat = m.Format();
  std::vector<Glyph> glyphs;
  const bool compressed = (metricsFormat & PCF_COMPRESSED_METRICS) != 0;
  const int32_t glyphCount = compressed ? m.I16() : m.I32();
  if (!m.ok || glyphCount <= 0 || glyphCount > 70000) {
    return Fail(why, "bad metrics");
  }
  glyphs.resize(static_cast<size_t>(glyphCount));
  for (Glyph &g : glyphs) {
    int32_t lsb, rsb;
    if (compressed) {
      lsb = m.U8() - 0x80;
      rsb = m.U8() - 0x80;
      m.U8(); // the advance
      g.ascent = m.U8() - 0x80;
      g.descent = m.U8() - 0x80;
    } else {
      lsb = m.I16();
      rsb = m.I16();
      m.I16();
      g.ascent = m.I16();
      g.descent = m.I16();
      m.I16(); // attributes
    }
    g.left = lsb;
    g.width = rsb - lsb;
    if (g.width < 0 || g.width > 64 || g.ascent + g.descent < 0 || g.ascent + g.descent > 64) {
      return Fail(why, "a glyph's metrics are out of range");
    }
  }

  Reader b{bytes, bitmaps.offset};
  const uint32_t bitmapFormat = b.Format();
  if (b.I32() != glyphCount) {
    return Fail(why, "the bitmaps do not match the metrics");
  }
  std::vector<uint32_t> offsets(static_cast<size_t>(glyphCount));
  for (uint32_t &o : offsets) {
    o = static_cast<uint32_t>(b.I32());
  }
  int32_t sizes[4];
  for (int32_t &s : sizes) {
    s = b.I32();
  }
  const size_t dataAt = b.at;
  const uint32_t pad = 1u << (bitmapFormat & 3u);
  const bool msbBit = (bitmapFormat & 8u) != 0;
  const bool msbByte = (bitmapFormat & 4u) != 0;
  const uint32_t unit = 1u << ((bitmapFormat >> 4) & 3u);
  const size_t dataSize = static_cast<size_t>(sizes[bitmapFormat & 3u]);
  if (!b.ok || dataAt + dataSize > bytes.size()) {
    return Fail(why, "the bitmaps run past the end");
  }
  for (size_t i = 0; i < glyphs.size(); ++i) {
    Glyph &g = glyphs[i];
    const int32_t rows = g.ascent + g.descent;
    const uint32_t rowBytes = ((static_cast<uint32_t>(g.width) + 7) / 8 + pad - 1) / pad * pad;
    if (offsets[i] + static_cast<size_t>(rowBytes) * static_cast<size_t>(rows) > dataSize) {
      return Fail(why, "a glyph's bitmap runs past the end");
    }
    g.pixels.assign(static_cast<size_t>(g.width * rows), 0);
    for (int32_t y = 0; y < rows; ++y) {
      for (int32_t x = 0; x < g.width; ++x) {
        uint32_t index = static_cast<uint32_t>(x) / 8;
        if (unit > 1 && msbByte != msbBit) {
          index = (index & ~(unit - 1)) + (unit - 1 - (index & (unit - 1)));
        }
        const uint8_t byte = bytes[dataAt + offsets[i] + static_cast<size_t>(y) * rowBytes + index];
        const uint8_t bit =
            msbBit ? static_cast<uint8_t>(0x80u >> (x % 8)) : static_cast<uint8_t>(1u << (x % 8));
        g.pixels[static_cast<size_t>(y * g.width + x)] = (byte & bit) != 0 ? 1 : 0;
      }
    }
    g.present = true;
  }

  Reader e{bytes, encodings.offset};
  e.Format();
  const int32_t min2 = e.I16();
  const int32_t max2 = e.I16();
  const int32_t min1 = e.I16();
  const int32_t max1 = e.I16();
  e.I16(); // the default character
  if (!e.ok || min2 > max2 || min1 > max1 || max2 > 255 || max1 > 255) {
    return Fail(why, "bad encodings");
  }
  font.byCode.assign(256, Glyph{});
  for (int32_t b1 = min1; b1 <= max1; ++b1) {
    for (int32_t b2 = min2; b2 <= max2; ++b2) {
      const auto index = static_cast<uint32_t>(static_cast<uint16_t>(e.I16()));
      const int32_t code = (b1 << 8) | b2;
      if (!e.ok) {
        return Fail(why, "the encodings run past the end");
      }
      if (code < 256 && index != 0xFFFF && index < glyphs.size()) {
        font.byCode[static_cast<size_t>(code)] = glyphs[index];
      }
    }
  }
  *out = std::move(font);
  return true;
}

Grid LayOut(const PcfFont &font, int32_t cellW, int32_t cellH, int32_t first, int32_t last,
            int32_t columns) {
  const int32_t count = last - first + 1;
  Grid grid;
  grid.width = cellW * columns;
  grid.height = cellH * ((count + columns - 1) / columns);
  grid.rgb.assign(static_cast<size_t>(grid.width * grid.height) * 3, 0);
  enum : uint8_t { kKey, kInk, kShadow };
  std::vector<uint8_t> cell(static_cast<size_t>(grid.width * grid.height), kKey);
  for (int32_t code = first; code <= last; ++code) {
    const Glyph &g = font.byCode[static_cast<size_t>(code)];
    const int32_t n = code - first;
    const int32_t cx = (n % columns) * cellW;
    const int32_t cy = (n / columns) * cellH;
    const int32_t top = font.ascent - g.ascent;
    const auto inCell = [&](int32_t x, int32_t y) {
      return x >= 0 && x < cellW && y >= 0 && y < cellH;
    };
    for (int32_t pass = 0; pass < 2 && g.present; ++pass) {
      for (int32_t y = 0; y < g.ascent + g.descent; ++y) {
        for (int32_t x = 0; x < g.width; ++x) {
          if (g.pixels[static_cast<size_t>(y * g.width + x)] == 0) {
            continue;
          }
          // The shadow first, then the ink over it.
          const int32_t px = g.left + x + (pass == 0 ? 1 : 0);
          const int32_t py = top + y + (pass == 0 ? 1 : 0);
          if (inCell(px, py)) {
            cell[static_cast<size_t>((cy + py) * grid.width + cx + px)] =
                pass == 0 ? kShadow : kInk;
          }
        }
      }
    }
  }
  for (size_t i = 0; i < cell.size(); ++i) {
    const uint8_t r = cell[i] == kShadow ? 0 : 255;
    const uint8_t g = cell[i] == kInk ? 255 : 0;
    const uint8_t b = cell[i] == kShadow ? 0 : 255;
    grid.rgb[i * 3] = r;
    grid.rgb[i * 3 + 1] = g;
    grid.rgb[i * 3 + 2] = b;
  }
  return grid;
}

bool WriteBmp(const std::string &path, const Grid &grid) {
  const uint32_t rowBytes = (static_cast<uint32_t>(grid.width) * 3 + 3) / 4 * 4;
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(grid.height);
  std::vector<uint8_t> b;
  const auto put = [&b](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) {
      b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
  };
  b.push_back('B');
  b.push_back('M');
  put(54 + dataBytes, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<uint32_t>(grid.width), 4);
  put(static_cast<uint32_t>(grid.height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(dataBytes, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int32_t y = grid.height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < grid.width; ++x) {
      const size_t i = static_cast<size_t>(y * grid.width + x) * 3;
      b.push_back(grid.rgb[i + 2]);
      b.push_back(grid.rgb[i + 1]);
      b.push_back(grid.rgb[i]);
    }
    b.resize(b.size() + (rowBytes - static_cast<uint32_t>(grid.width) * 3), 0);
  }
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    return false;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

bool ReadGzipFile(const std::string &path, std::vector<uint8_t> *bytes) {
  gzFile in = gzopen(path.c_str(), "rb");
  if (in == nullptr) {
    return false;
  }
  bytes->clear();
  uint8_t buffer[65536];
  int n = 0;
  while ((n = gzread(in, buffer, sizeof buffer)) > 0) {
    bytes->insert(bytes->end(), buffer, buffer + n);
  }
  gzclose(in);
  return n == 0;
}

} // namespace font
