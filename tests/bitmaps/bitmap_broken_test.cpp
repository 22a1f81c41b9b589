// The bitmap reader on hand-made files: broken headers and absurd sizes
// refused, short files and odd pixel data read without leaving the file's
// bytes, and the pixel rules of the Windows loader on small exact cases.
#include "bmp_maker.h"

#include "platform/soft/bitmap_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

using bmptest::BmpRecipe;
using bmptest::MakeBmp;
using bmptest::Put16;
using bmptest::Put32;

// Decodes a copy of exactly `bytes`, so that AddressSanitizer sees any read
// past its end.
bool Decode(const std::vector<uint8_t> &bytes, soft::DecodedBitmap *out) {
  std::vector<uint8_t> exact(bytes);
  exact.shrink_to_fit();
  return soft::DecodeBitmap(exact.empty() ? nullptr : exact.data(), exact.size(), out);
}

soft::DecodedBitmap MustDecode(const std::vector<uint8_t> &bytes) {
  soft::DecodedBitmap bmp;
  EXPECT_TRUE(Decode(bytes, &bmp));
  return bmp;
}

const std::vector<uint32_t> kFour = {0x112233, 0xFF0000, 0x00FF00, 0x0000FF};

// A 2x2 24-bit file: rows of 6 bytes padded to 8, bottom row first.
BmpRecipe Rgb24Spec() {
  BmpRecipe s;
  s.width = 2;
  s.height = 2;
  s.bitCount = 24;
  s.pixels = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0, //
              0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0, 0};
  return s;
}

TEST(BitmapBroken, RefusesHeadersWindowsRefuses) {
  const std::vector<uint8_t> good = MakeBmp(Rgb24Spec());
  soft::DecodedBitmap bmp;
  ASSERT_TRUE(Decode(good, &bmp));

  struct Case {
    const char *what;
    std::function<void(std::vector<uint8_t> *)> change;
  };
  const Case cases[] = {
      {"empty", [](auto *b) { b->clear(); }},
      {"one byte", [](auto *b) { b->resize(1); }},
      {"magic only", [](auto *b) { b->resize(2); }},
      {"wrong magic", [](auto *b) { (*b)[0] = 'M'; }},
      {"header size 0", [](auto *b) { Put32(b, 14, 0); }},
      {"OS/2 2.x header of 16", [](auto *b) { Put32(b, 14, 16); }},
      {"header size 41", [](auto *b) { Put32(b, 14, 41); }},
      {"header size 52", [](auto *b) { Put32(b, 14, 52); }},
      {"header size 56", [](auto *b) { Put32(b, 14, 56); }},
      {"OS/2 2.x header of 64", [](auto *b) { Put32(b, 14, 64); }},
      {"planes 0", [](auto *b) { Put16(b, 26, 0); }},
      {"planes 2", [](auto *b) { Put16(b, 26, 2); }},
      {"bit count 0", [](auto *b) { Put16(b, 28, 0); }},
      {"bit count 2", [](auto *b) { Put16(b, 28, 2); }},
      {"bit count 15", [](auto *b) { Put16(b, 28, 15); }},
      {"bit count 64", [](auto *b) { Put16(b, 28, 64); }},
      {"bit count 30000", [](auto *b) { Put16(b, 28, 30000); }},
      {"width 0", [](auto *b) { Put32(b, 18, 0); }},
      {"width -2", [](auto *b) { Put32(b, 18, static_cast<uint32_t>(-2)); }},
      {"height 0", [](auto *b) { Put32(b, 22, 0); }},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> bytes = good;
    c.change(&bytes);
    soft::DecodedBitmap out;
    out.width = 7;
    out.pixels.assign(3, 1);
    EXPECT_FALSE(Decode(bytes, &out)) << c.what;
    EXPECT_EQ(out.width, 0) << c.what;
    EXPECT_TRUE(out.pixels.empty()) << c.what;
  }
}

TEST(BitmapBroken, RefusesAbsurdSizesBeforeAllocating) {
  // Sizes from a 62-byte file: nothing is allocated for them.
  const std::pair<int64_t, int64_t> sizes[] = {
      {3000000, 2000000}, {16385, 1},     {1, 16385},     {1, -16385},
      {16384, 4097},      {INT32_MAX, 1}, {1, INT32_MIN}, {INT32_MAX, INT32_MAX},
  };
  for (const auto &[w, h] : sizes) {
    std::vector<uint8_t> bytes = MakeBmp(Rgb24Spec());
    Put32(&bytes, 18, static_cast<uint32_t>(w));
    Put32(&bytes, 22, static_cast<uint32_t>(h));
    soft::DecodedBitmap bmp;
    EXPECT_FALSE(Decode(bytes, &bmp)) << w << " x " << h;
  }
  // The largest sides are read, their missing pixels black.
  for (const auto &[w, h] : {std::pair{16384, 1}, std::pair{1, -16384}}) {
    std::vector<uint8_t> bytes = MakeBmp(Rgb24Spec());
    Put32(&bytes, 18, static_cast<uint32_t>(w));
    Put32(&bytes, 22, static_cast<uint32_t>(h));
    const soft::DecodedBitmap bmp = MustDecode(bytes);
    EXPECT_EQ(bmp.pixels.size(), 16384u);
    EXPECT_EQ(bmp.pixels.back(), 0u);
  }
}

TEST(BitmapBroken, DecodesSmallFilesOfEveryDepthExactly) {
  // 24 bits, bottom-up and top-down.
  EXPECT_EQ(MustDecode(MakeBmp(Rgb24Spec())).pixels,
            (std::vector<uint32_t>{0x131211, 0x161514, 0x030201, 0x060504}));
  BmpRecipe topDown = Rgb24Spec();
  topDown.height = -2;
  EXPECT_EQ(MustDecode(MakeBmp(topDown)).pixels,
            (std::vector<uint32_t>{0x030201, 0x060504, 0x131211, 0x161514}));

  // 1, 4 and 8 bits, and the 8 bits of a core header (RGB triples).
  BmpRecipe one;
  one.width = 3;
  one.bitCount = 1;
  one.palette = {0x0000FF, 0xFFFF00};
  one.pixels = {0xA0, 0, 0, 0}; // 1 0 1
  EXPECT_EQ(MustDecode(MakeBmp(one)).pixels, (std::vector<uint32_t>{0xFFFF00, 0x0000FF, 0xFFFF00}));
  BmpRecipe four;
  four.width = 3;
  four.bitCount = 4;
  four.palette = kFour;
  four.pixels = {0x12, 0x30, 0, 0};
  EXPECT_EQ(MustDecode(MakeBmp(four)).pixels,
            (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}));
  for (uint32_t header : {40u, 12u}) {
    BmpRecipe eight;
    eight.headerSize = header;
    eight.width = 2;
    eight.bitCount = 8;
    eight.palette.assign(header == 12 ? 256 : 4, 0);
    std::copy(kFour.begin(), kFour.end(), eight.palette.begin());
    eight.pixels = {3, 0, 0, 0};
    EXPECT_EQ(MustDecode(MakeBmp(eight)).pixels, (std::vector<uint32_t>{0x0000FF, 0x112233}))
        << "header " << header;
  }

  // 16 bits without masks: 5-5-5, each channel widened by repeating its top bits.
  BmpRecipe sixteen;
  sixteen.width = 2;
  sixteen.bitCount = 16;
  sixteen.pixels = {0x00, 0x7C, 0x21, 0x04}; // red 31; red 1, green 1, blue 1
  EXPECT_EQ(MustDecode(MakeBmp(sixteen)).pixels, (std::vector<uint32_t>{0xFF0000, 0x080808}));
}

TEST(BitmapBroken, BitFieldsWidenAsTheWindowsLoaderDoes) {
  auto decode32 = [](std::vector<uint32_t> masks, uint32_t pixel) {
    BmpRecipe s;
    s.bitCount = 32;
    s.compression = 3;
    s.masks = std::move(masks);
    s.pixels = {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8),
                static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 24)};
    return MustDecode(MakeBmp(s)).pixels.at(0);
  };
  // A 32-bit wide channel keeps its top 8 bits; empty masks give black.
  EXPECT_EQ(decode32({0xFFFFFFFF, 0, 0}, 0xAB123456), 0xAB0000u);
  EXPECT_EQ(decode32({0, 0, 0}, 0xFFFFFFFF), 0u);
  // A mask with a gap counts its lowest run of bits only.
  EXPECT_EQ(decode32({0, 0, 0xF00F}, 0x0000F00F), 0x0000FFu);
  // A 1-bit channel widens to 0xC0, a 2-bit one of 3 to 0xF0.
  EXPECT_EQ(decode32({0x1, 0x6, 0}, 0x7), 0xC0F000u);

  // 16-bit fields then pass through 5 bits a channel: 0xC0 -> 0xC6.
  BmpRecipe s;
  s.bitCount = 16;
  s.compression = 3;
  s.masks = {0x1, 0x7E, 0xF80};
  s.pixels = {0xFF, 0x0F, 0, 0};
  EXPECT_EQ(MustDecode(MakeBmp(s)).pixels.at(0), 0xC6FFFFu);
}

TEST(BitmapBroken, EveryTruncationIsReadWithinTheFile) {
  // 5 x 3 at 8 bits: rows of 8 bytes, 4 colours.
  BmpRecipe s;
  s.width = 5;
  s.height = 3;
  s.bitCount = 8;
  s.palette = kFour;
  s.pixels = {1, 2, 3, 1, 2, 0, 0, 0, //
              2, 3, 1, 2, 3, 0, 0, 0, //
              3, 1, 2, 3, 1, 0, 0, 0};
  const std::vector<uint8_t> whole = MakeBmp(s);
  const std::vector<uint32_t> full = MustDecode(whole).pixels;
  // Bytes past the cut read as zero: a missing index is index 0, a missing
  // colour byte a zero channel.
  const size_t pixelsAt = 14 + 40 + 16;
  for (size_t length = 0; length < whole.size(); ++length) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(length));
    auto byte = [&](size_t at) { return at < length ? uint32_t{whole[at]} : 0u; };
    soft::DecodedBitmap bmp;
    const bool accepted = Decode(cut, &bmp);
    if (length < 14 + 15) { // the bit count is missing
      EXPECT_FALSE(accepted) << length;
      continue;
    }
    ASSERT_TRUE(accepted) << length;
    ASSERT_EQ(bmp.pixels.size(), 15u);
    for (size_t i = 0; i < 15; ++i) {
      const size_t stored = (2 - i / 5) * 8 + i % 5; // rows bottom-up
      const size_t entry = 14 + 40 + 4 * byte(pixelsAt + stored);
      const uint32_t want = (byte(entry + 2) << 16) | (byte(entry + 1) << 8) | byte(entry);
      ASSERT_EQ(bmp.pixels[i], want) << "length " << length << " pixel " << i;
      if (length == whole.size() - 1) {
        EXPECT_EQ(want, full[i]);
      }
    }
  }
}

TEST(BitmapBroken, PixelArrayOffsetAnywhereIsReadSafely) {
  BmpRecipe s;
  s.width = 2;
  s.bitCount = 8;
  s.palette = kFour;
  s.pixels = {2, 3, 0, 0};
  const std::vector<uint8_t> good = MakeBmp(s);

  std::vector<uint8_t> far = good;
  Put32(&far, 10, 0xFFFFFFF0); // past the end: the cleared bitmap
  EXPECT_EQ(MustDecode(far).pixels, (std::vector<uint32_t>{0x112233, 0x112233}));

  std::vector<uint8_t> none = good;
  Put32(&none, 10, 0); // 0: right after the colour table
  EXPECT_EQ(MustDecode(none).pixels, (std::vector<uint32_t>{0x00FF00, 0x0000FF}));

  for (uint32_t offset : {1u, 13u, 54u, static_cast<uint32_t>(good.size() - 1)}) {
    std::vector<uint8_t> odd = good;
    Put32(&odd, 10, offset);
    EXPECT_EQ(MustDecode(odd).pixels.size(), 2u) << offset;
  }
}

// Run-length files of 4 x 2 pixels; index i has colour kFour[i].
std::vector<uint32_t> DecodeRle(uint16_t bits, std::vector<uint8_t> data, int32_t height = 2,
                                bool sizeImage = true) {
  BmpRecipe s;
  s.width = 4;
  s.height = height;
  s.bitCount = bits;
  s.compression = bits == 8 ? 1 : 2;
  s.palette = kFour;
  s.pixels = std::move(data);
  s.sizeImageFromPixels = sizeImage;
  return MustDecode(MakeBmp(s)).pixels;
}

TEST(BitmapBroken, RunLengthDataIsReadAsTheWindowsLoaderReadsIt) {
  const uint32_t c0 = kFour[0], c1 = kFour[1], c2 = kFour[2], c3 = kFour[3];
  // Rows bottom-up; a run is cut at the right edge and does not wrap.
  EXPECT_EQ(DecodeRle(8, {2, 1, 2, 2, 0, 0, 9, 3, 0, 1}),
            (std::vector<uint32_t>{c3, c3, c3, c3, c1, c1, c2, c2}));
  // Skipped pixels (delta, early end of line and of bitmap) stay index 0.
  EXPECT_EQ(DecodeRle(8, {0, 2, 1, 1, 1, 3, 0, 1}),
            (std::vector<uint32_t>{c0, c3, c0, c0, c0, c0, c0, c0}));
  // A delta past the top ends the data, as does a literal past biSizeImage.
  EXPECT_EQ(DecodeRle(8, {1, 1, 0, 2, 0, 5, 1, 2}),
            (std::vector<uint32_t>{c0, c0, c0, c0, c1, c0, c0, c0}));
  EXPECT_EQ(DecodeRle(8, {1, 2, 0, 4, 3, 3}),
            (std::vector<uint32_t>{c0, c0, c0, c0, c2, c0, c0, c0}));
  // A literal run, padded to an even byte count.
  EXPECT_EQ(DecodeRle(8, {0, 3, 1, 2, 3, 0, 1, 3, 0, 1}),
            (std::vector<uint32_t>{c0, c0, c0, c0, c1, c2, c3, c3}));
  // 4 bits: an encoded run alternates its two nibbles, a literal reads them in order.
  EXPECT_EQ(DecodeRle(4, {3, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1}),
            (std::vector<uint32_t>{c3, c1, c2, c0, c1, c2, c1, c0}));
  // Data that is not drawn at all: no biSizeImage, stored top-down.
  EXPECT_EQ(DecodeRle(8, {4, 1, 0, 1}, 2, false), std::vector<uint32_t>(8, c0));
  EXPECT_EQ(DecodeRle(8, {4, 1, 0, 1}, -2), std::vector<uint32_t>(8, c0));
  // Data cut short: the rest reads as zero, that is end-of-line codes.
  std::vector<uint8_t> cut = MakeBmp([] {
    BmpRecipe s;
    s.width = 4;
    s.height = 2;
    s.bitCount = 8;
    s.compression = 1;
    s.palette = kFour;
    s.pixels = {4, 1, 0, 0, 4, 2};
    return s;
  }());
  Put32(&cut, 34, 0x7FFFFFFF); // biSizeImage far past the end
  EXPECT_EQ(MustDecode(cut).pixels, (std::vector<uint32_t>{c2, c2, c2, c2, c1, c1, c1, c1}));
}

TEST(BitmapBroken, CodingsWindowsCannotDrawLeaveTheBitmapCleared) {
  // Accepted with the header Windows accepts, drawn as nothing.
  BmpRecipe rleOn24 = Rgb24Spec();
  rleOn24.compression = 1;
  EXPECT_EQ(MustDecode(MakeBmp(rleOn24)).pixels, std::vector<uint32_t>(4, 0));
  BmpRecipe jpeg = Rgb24Spec();
  jpeg.compression = 4;
  EXPECT_EQ(MustDecode(MakeBmp(jpeg)).pixels, std::vector<uint32_t>(4, 0));
  BmpRecipe fieldsOn8;
  fieldsOn8.width = 2;
  fieldsOn8.bitCount = 8;
  fieldsOn8.compression = 3;
  fieldsOn8.palette = kFour;
  fieldsOn8.pixels = {1, 2, 0, 0};
  EXPECT_EQ(MustDecode(MakeBmp(fieldsOn8)).pixels, std::vector<uint32_t>(2, 0x112233));
}

TEST(BitmapBroken, FilesAndArgumentsThatAreNotThere) {
  soft::DecodedBitmap bmp;
  EXPECT_FALSE(soft::ReadBitmapFile(nullptr, &bmp));
  EXPECT_FALSE(soft::ReadBitmapFile("/nonexistent/none.bmp", &bmp));
  EXPECT_FALSE(soft::ReadBitmapFile(VANTREL_TEST_DATA, &bmp)); // a folder
  EXPECT_FALSE(soft::ReadBitmapFile(VANTREL_TEST_DATA "/bmpsuite/g/rgb24.bmp", nullptr));
  EXPECT_FALSE(soft::DecodeBitmap(nullptr, 100, &bmp));
  const std::vector<uint8_t> good = MakeBmp(Rgb24Spec());
  EXPECT_FALSE(soft::DecodeBitmap(good.data(), good.size(), nullptr));
  EXPECT_TRUE(soft::DecodeBitmap(good.data(), good.size(), &bmp));
}

} // namespace
