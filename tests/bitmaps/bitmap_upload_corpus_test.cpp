// Every corpus file the reader accepts, through the host's upload path into
// surfaces of 8, 16, 24 and 32 bits: each pixel stored as the device stores
// the decoded colour.
#include "upload_path.h"

#include "platform/soft/bitmap_file.h"
#include "platform/soft/pixel_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = VANTREL_TEST_DATA "/bmpsuite/";

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::ifstream in(kCorpus + "windows-accepts.txt");
  std::string file;
  std::string word;
  while (in >> file >> word)
    files.push_back(file);
  return files;
}

uint32_t Stored(const soft::SurfaceView &v, int32_t x, int32_t y) {
  const uint8_t *p = v.pixels + static_cast<size_t>(y) * static_cast<size_t>(v.pitch) +
                     static_cast<size_t>(x) * static_cast<size_t>(v.bpp / 8);
  uint32_t value = 0;
  for (int i = 0; i < v.bpp / 8; ++i)
    value |= uint32_t{p[i]} << (8 * i);
  return value;
}

TEST(BitmapUpload, EveryAcceptedCorpusFileReachesSurfacesOfEveryDepth) {
  const std::vector<std::string> files = CorpusFiles();
  ASSERT_EQ(files.size(), 87u);
  for (uint32_t bpp : {8u, 16u, 24u, 32u}) {
    plat::DirectDraw4 dd = bmptest::OpenDeviceInMode(bpp);
    ASSERT_NE(dd, nullptr) << bpp;
    int uploaded = 0;
    for (const std::string &file : files) {
      const std::string path = kCorpus + file;
      soft::DecodedBitmap want;
      const bool readable = soft::ReadBitmapFile(path.c_str(), &want);
      int32_t w = 0;
      int32_t h = 0;
      plat::Surface s = bmptest::UploadFile(dd, path.c_str(), &w, &h);
      ASSERT_EQ(s != nullptr, readable) << file << " at " << bpp;
      if (s == nullptr)
        continue;
      ++uploaded;
      soft::SurfaceView view{};
      ASSERT_TRUE(soft::View(s, &view));
      ASSERT_EQ(view.bpp, static_cast<int32_t>(bpp));
      ASSERT_EQ(view.width, want.width);
      ASSERT_EQ(view.height, want.height);
      for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
          const uint32_t rgb =
              want.pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
          ASSERT_EQ(Stored(view, x, y), soft::EncodeRgb(static_cast<int32_t>(bpp), rgb))
              << file << " at " << bpp << " bits, pixel " << x << "," << y;
        }
      }
      soft::ReleaseSurface(s);
    }
    EXPECT_EQ(uploaded, 70) << bpp;
  }
  soft::ResetDevice();
}

// Both conversions into the stored pixels of one depth, rows padded to a
// multiple of 4 bytes and the padding pre-filled, as a surface's are: every
// byte written must agree, and neither may touch the padding.
void ExpectSameConversion(const std::vector<uint32_t> &rgb, int32_t w, int32_t h, int32_t bpp,
                          const std::string &what) {
  const int64_t pitch = ((int64_t{w} * (bpp / 8)) + 3) / 4 * 4 + 4;
  std::vector<uint8_t> own(static_cast<size_t>(pitch * h), 0xA5);
  std::vector<uint8_t> viaSdl(own);
  const int64_t srcPitch = int64_t{w} * 4;
  ASSERT_TRUE(soft::ConvertFromRgbOwn(rgb.data(), srcPitch, own.data(), pitch, bpp, w, h)) << what;
  ASSERT_TRUE(soft::ConvertFromRgbSdl(rgb.data(), srcPitch, viaSdl.data(), pitch, bpp, w, h))
      << what;
  ASSERT_EQ(own, viaSdl) << what << " at " << bpp << " bits";
  EXPECT_EQ(own.back(), 0xA5) << what << " at " << bpp << " bits: padding written";
}

// The conversion of builds without SDL2 stores what SDL's stores, for every
// picture of the corpus and for every level of every channel.
TEST(BitmapUpload, OwnConversionStoresWhatSdlStores) {
  int compared = 0;
  for (const std::string &file : CorpusFiles()) {
    soft::DecodedBitmap bmp;
    if (!soft::ReadBitmapFile((kCorpus + file).c_str(), &bmp))
      continue;
    for (int32_t bpp : {16, 24, 32})
      ExpectSameConversion(bmp.pixels, bmp.width, bmp.height, bpp, file);
    ++compared;
  }
  EXPECT_EQ(compared, 70);

  // Every red and green level against a blue that runs through its own, and
  // an unused top byte that is not zero: 32 bits keeps it, the others drop it.
  std::vector<uint32_t> levels(256 * 256);
  for (uint32_t i = 0; i < levels.size(); ++i)
    levels[i] = ((i & 0xFF) << 24) | (i << 8) | ((i * 7) & 0xFF);
  for (int32_t bpp : {16, 24, 32})
    ExpectSameConversion(levels, 253, 259, bpp, "channel levels");

  uint8_t out[8] = {};
  const uint32_t one = 0x123456;
  for (int32_t bpp : {0, 8, 15, 64})
    EXPECT_FALSE(soft::ConvertFromRgbOwn(&one, 4, out, 8, bpp, 1, 1)) << bpp;
  EXPECT_TRUE(soft::ConvertFromRgbOwn(&one, 4, out, 8, 16, 0, 5)); // nothing to convert
}

} // namespace
