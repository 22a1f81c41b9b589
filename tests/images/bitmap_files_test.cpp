// Bitmap files of every depth and row order reach the surface pixel for
// pixel; broken files fail the load cleanly.
#include "image_fixture.h"

#include "images/image_list.h"

#include <filesystem>

namespace {

// A pattern with distinct neighbours, odd width so every row is padded.
bmp::Image Pattern(int bpp, bool topDown) {
  bmp::Image image;
  image.width = 7;
  image.height = 5;
  image.bpp = bpp;
  image.topDown = topDown;
  if (bpp <= 8) {
    const uint32_t entries = 1u << bpp;
    for (uint32_t i = 0; i < entries; ++i) {
      image.palette.push_back((i * 0x3F1u + 0x10u) * 0x010307u & 0xFFFFFFu);
    }
  }
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      const uint32_t n = static_cast<uint32_t>(y * image.width + x);
      image.pixels.push_back(bpp <= 8 ? (n * 5u + static_cast<uint32_t>(y)) % (1u << bpp)
                                      : (n * 0x2F1B37u + 0x0A0B0Cu) & 0xFFFFFFu);
    }
  }
  return image;
}

class BitmapFileTest : public ImageTest {
protected:
  void SetUp() override {
    ImageTest::SetUp();
    OpenDisplay(32);
  }
};

class EveryDepthTest : public BitmapFileTest,
                       public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(EveryDepthTest, ReachesTheSurfacePixelForPixel) {
  const auto [bpp, topDown] = GetParam();
  const bmp::Image image = Pattern(bpp, topDown);
  VImg *added = vantrel::AddImage(Write("pattern.bmp", image).c_str(), IMG_LOAD);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->surf->width, image.width);
  EXPECT_EQ(added->surf->height, image.height);
  plat::Surface surface = SurfaceOf(added);
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      ASSERT_EQ(soft::PixelRgb(surface, x, y), bmp::ColourAt(image, x, y))
          << "at " << x << ", " << y;
    }
  }
  EXPECT_EQ(View(surface).key & 0xFFFFFFu, bmp::ColourAt(image, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Files, EveryDepthTest,
                         ::testing::Combine(::testing::Values(1, 4, 8, 24, 32), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<int, bool>> &row) {
                           return std::to_string(std::get<0>(row.param)) + "bpp" +
                                  (std::get<1>(row.param) ? "TopDown" : "BottomUp");
                         });

// Byte offsets in a file written by bmp::Encode.
constexpr size_t kMagic = 0;
constexpr size_t kOffBits = 10;
constexpr size_t kInfoSize = 14;
constexpr size_t kWidth = 18;
constexpr size_t kHeight = 22;
constexpr size_t kBitCount = 28;
constexpr size_t kCompression = 30;

void Poke32(std::vector<uint8_t> &bytes, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) {
    bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
  }
}

struct Broken {
  const char *name;
  std::vector<uint8_t> (*make)();
};

std::vector<uint8_t> Good() { return bmp::Encode(bmp::Solid(4, 4, 0x336699)); }

const Broken kBroken[] = {
    {"Empty", [] { return std::vector<uint8_t>{}; }},
    {"WrongMagic",
     [] {
       auto b = Good();
       b[kMagic] = 'X';
       return b;
     }},
    {"TextFile",
     [] {
       const std::string text = "this is not a bitmap at all\n";
       return std::vector<uint8_t>(text.begin(), text.end());
     }},
    {"OnlyTheFileHeader",
     [] {
       auto b = Good();
       b.resize(14);
       return b;
     }},
    {"InfoHeaderTooSmall",
     [] {
       auto b = Good();
       Poke32(b, kInfoSize, 5);
       return b;
     }},
    {"SevenBitsPerPixel",
     [] {
       auto b = Good();
       b[kBitCount] = 7;
       return b;
     }},
    {"AbsurdSize",
     [] {
       auto b = Good();
       Poke32(b, kWidth, 1000000000u);
       Poke32(b, kHeight, 1000000000u);
       return b;
     }},
    {"NegativeWidth",
     [] {
       auto b = Good();
       Poke32(b, kWidth, static_cast<uint32_t>(-4));
       return b;
     }},
};

class BrokenFileTest : public BitmapFileTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenFileTest, FailsTheLoadCleanly) {
  const std::string path = dir.File("broken.bmp");
  ASSERT_TRUE(bmp::WriteFile(path, GetParam().make()));
  EXPECT_EQ(vantrel::AddImage(path.c_str(), IMG_LOAD), nullptr);
  ASSERT_EQ(td::Boxes().size(), 1u);
  EXPECT_EQ(td::Boxes()[0].text, "Head image could not be loaded and/or found");
  ASSERT_NE(vantrel::prog.ihead, nullptr);
  EXPECT_EQ(SurfaceOf(vantrel::prog.ihead), nullptr);
  EXPECT_EQ(vantrel::prog.ihead->surf->width, 0);
  EXPECT_EQ(td::CountCalls("CreateSurface"), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenFileTest, ::testing::ValuesIn(kBroken),
                         [](const ::testing::TestParamInfo<Broken> &row) {
                           return std::string(row.param.name);
                         });

TEST_F(BitmapFileTest, AFolderOrAMissingFileIsNoBitmap) {
  EXPECT_EQ(vantrel::AddImage(dir.Path().c_str(), IMG_LOAD), nullptr);
  EXPECT_EQ(vantrel::AddImage(dir.File("missing.bmp").c_str(), IMG_LOAD), nullptr);
  EXPECT_EQ(vantrel::AddImage("", IMG_LOAD), nullptr);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 3);
  EXPECT_EQ(td::CountCalls("CreateSurface"), 0);
}

// Files cut short or oddly coded: whether the loader takes them is the loader's affair,
// but the image either has its full surface or none, and nothing breaks.
TEST_F(BitmapFileTest, TruncatedFilesLeaveAConsistentImage) {
  const std::vector<uint8_t> whole = bmp::Encode(bmp::Solid(6, 6, 0x445566));
  for (size_t keep : {size_t{30}, size_t{54}, size_t{60}, whole.size() - 1}) {
    SCOPED_TRACE(keep);
    const std::string path = dir.File("cut" + std::to_string(keep) + ".bmp");
    ASSERT_TRUE(bmp::WriteFile(path, std::vector<uint8_t>(whole.begin(), whole.begin() + keep)));
    VImg *added = vantrel::AddImage(path.c_str(), IMG_LOAD);
    VImg *tail = List().back();
    if (added != nullptr) {
      EXPECT_NE(SurfaceOf(tail), nullptr);
      EXPECT_EQ(tail->surf->width, 6);
    } else {
      EXPECT_EQ(SurfaceOf(tail), nullptr);
    }
  }
  // An offset to the pixels past the end of the file.
  std::vector<uint8_t> farOff = whole;
  Poke32(farOff, kOffBits, 0x7FFFFFF0u);
  ASSERT_TRUE(bmp::WriteFile(dir.File("faroff.bmp"), farOff));
  vantrel::AddImage(dir.File("faroff.bmp").c_str(), IMG_LOAD);
  // A pixel coding the loader does not know.
  std::vector<uint8_t> unknown = whole;
  Poke32(unknown, kCompression, 99);
  ASSERT_TRUE(bmp::WriteFile(dir.File("unknown.bmp"), unknown));
  vantrel::AddImage(dir.File("unknown.bmp").c_str(), IMG_LOAD);
  EXPECT_EQ(List().size(), 6u);
  for (VImg *image : List()) {
    if (SurfaceOf(image) != nullptr) {
      EXPECT_EQ(image->surf->width, 6);
      EXPECT_EQ(image->surf->height, 6);
    }
  }
}

} // namespace
