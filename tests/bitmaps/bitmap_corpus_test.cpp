// The bitmap reader over the BMP Suite corpus: the files the Windows loader
// accepts (windows-accepts.txt), the picture it gives, and the regression
// files found by fuzzing.
#include "platform/soft/bitmap_file.h"
#include "platform/soft/bitmap_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kData = VANTREL_TEST_DATA;
const std::string kCorpus = kData + "/bmpsuite/";

struct Answer {
  std::string file; // relative to the corpus, e.g. "g/rgb24.bmp"
  bool accepted = false;
};

std::vector<Answer> WindowsAnswers() {
  std::vector<Answer> answers;
  std::ifstream in(kCorpus + "windows-accepts.txt");
  std::string file;
  std::string word;
  while (in >> file >> word)
    answers.push_back({file, word == "ok"});
  return answers;
}

// Files on which the desktop host answers otherwise than Windows, with the
// reason. None at present: add a line here, never a silent exception.
const std::map<std::string, std::string> kDiffersFromWindows = {};

std::vector<uint8_t> FileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

soft::DecodedBitmap Read(const std::string &file) {
  soft::DecodedBitmap bmp;
  EXPECT_TRUE(soft::ReadBitmapFile((kCorpus + file).c_str(), &bmp)) << file;
  return bmp;
}

// Largest difference of one colour channel between two pictures of one size.
int MaxChannelDifference(const soft::DecodedBitmap &a, const soft::DecodedBitmap &b) {
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  if (a.pixels.size() != b.pixels.size())
    return 256;
  int most = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int ca = static_cast<int>((a.pixels[i] >> shift) & 0xFF);
      const int cb = static_cast<int>((b.pixels[i] >> shift) & 0xFF);
      most = std::max(most, std::abs(ca - cb));
    }
  }
  return most;
}

TEST(BitmapCorpus, AcceptsExactlyTheFilesWindowsAccepts) {
  const std::vector<Answer> answers = WindowsAnswers();
  ASSERT_EQ(answers.size(), 87u) << "windows-accepts.txt missing or incomplete";
  std::map<char, int> ours;
  std::map<char, int> windows;
  for (const Answer &a : answers) {
    const auto differs = kDiffersFromWindows.find(a.file);
    const bool expected = differs == kDiffersFromWindows.end() ? a.accepted : !a.accepted;
    soft::DecodedBitmap bmp;
    const bool accepted = soft::ReadBitmapFile((kCorpus + a.file).c_str(), &bmp);
    EXPECT_EQ(accepted, expected) << a.file;
    windows[a.file[0]] += a.accepted ? 1 : 0;
    ours[a.file[0]] += accepted ? 1 : 0;
    if (accepted) {
      ASSERT_GT(bmp.width, 0) << a.file;
      ASSERT_GT(bmp.height, 0) << a.file;
      ASSERT_EQ(bmp.pixels.size(), static_cast<size_t>(bmp.width) * bmp.height) << a.file;
      EXPECT_TRUE(std::all_of(bmp.pixels.begin(), bmp.pixels.end(), [](uint32_t p) {
        return (p >> 24) == 0;
      })) << a.file;
    } else {
      EXPECT_EQ(bmp.width, 0) << a.file;
      EXPECT_TRUE(bmp.pixels.empty()) << a.file;
    }
  }
  for (char folder : {'g', 'q', 'b'}) {
    std::cout << "[ accepted ] " << folder << "/: " << ours[folder] << " (Windows "
              << windows[folder] << ")\n";
  }
}

// Measured from the Windows loader: each file against g/rgb24.bmp.
TEST(BitmapCorpus, MatchesTheWindowsPixelReferences) {
  const soft::DecodedBitmap rgb24 = Read("g/rgb24.bmp");
  const std::pair<const char *, int> references[] = {
      {"g/rgb32.bmp", 0},        {"g/rgb32bf.bmp", 0},    {"g/rgb32bfdef.bmp", 0},
      {"q/rgb32-111110.bmp", 1}, {"q/rgb32-7187.bmp", 1}, {"g/rgb16.bmp", 4},
      {"g/rgb16-565.bmp", 4},
  };
  for (const auto &[file, difference] : references) {
    EXPECT_EQ(MaxChannelDifference(Read(file), rgb24), difference) << file;
  }
}

// Files that store one picture in different ways give that picture exactly:
// header versions, bottom-up and top-down, run-length coding, colour tables
// of any length, odd fields of the file header, bit-field masks.
TEST(BitmapCorpus, OnePictureStoredDifferentlyDecodesAlike) {
  const std::map<std::string, std::vector<std::string>> alike = {
      {"g/pal1.bmp",
       {"g/pal1wb.bmp", "b/badbitssize.bmp", "b/baddens1.bmp", "b/baddens2.bmp",
        "b/badfilesize.bmp"}},
      {"g/pal4.bmp", {"g/pal4rle.bmp"}},
      {"g/pal8.bmp",
       {"g/pal8-0.bmp", "g/pal8os2.bmp", "g/pal8rle.bmp", "g/pal8topdown.bmp", "g/pal8v4.bmp",
        "g/pal8v5.bmp", "q/pal8offs.bmp", "q/pal8os2-hs.bmp", "q/pal8os2-sz.bmp", "q/pal8os2sp.bmp",
        "q/pal8os2v2-40sz.bmp", "q/pal8oversizepal.bmp", "b/badpalettesize.bmp"}},
      {"g/rgb16.bmp", {"g/rgb16bfdef.bmp", "q/rgb16faketrns.bmp", "q/rgba16-5551.bmp"}},
      {"g/rgb16-565.bmp", {"g/rgb16-565pal.bmp"}},
      {"g/rgb24.bmp",
       {"g/rgb24pal.bmp", "q/rgb24largepal.bmp", "g/rgb32.bmp", "g/rgb32bf.bmp", "g/rgb32bfdef.bmp",
        "q/rgb32-xbgr.bmp", "q/rgb32fakealpha.bmp"}},
  };
  for (const auto &[base, files] : alike) {
    const soft::DecodedBitmap want = Read(base);
    for (const std::string &file : files) {
      EXPECT_EQ(Read(file).pixels, want.pixels) << file << " against " << base;
    }
  }
}

// What Windows leaves where a file gives no pixel: its cleared bitmap, that
// is palette entry 0 for the palette depths and black for the others.
TEST(BitmapCorpus, PixelsAFileDoesNotGiveAreTheClearedBitmap) {
  // Run-length data stored top-down is not drawn at all: palette entry 0.
  const soft::DecodedBitmap topDown = Read("b/rletopdown.bmp");
  EXPECT_TRUE(std::all_of(topDown.pixels.begin(), topDown.pixels.end(),
                          [](uint32_t p) { return p == 0x000000; }));

  // Alpha bit fields (compression 6) are not drawn: black.
  const soft::DecodedBitmap alphaFields = Read("q/rgba32abf.bmp");
  EXPECT_TRUE(std::all_of(alphaFields.pixels.begin(), alphaFields.pixels.end(),
                          [](uint32_t p) { return p == 0; }));

  // The short file holds its bottom 13 rows and 3 bytes of the 14th (16 bytes
  // a row); every pixel above is index 0, black in its palette.
  const soft::DecodedBitmap shortFile = Read("b/shortfile.bmp");
  const soft::DecodedBitmap whole = Read("g/pal1.bmp");
  const size_t w = static_cast<size_t>(whole.width);
  const size_t kept = 13 * w + 24; // 13 rows and 24 pixels of the next
  for (size_t row = 0; row < 64; ++row) {
    for (size_t x = 0; x < w; ++x) {
      const size_t fromBottom = (63 - row) * w + x;
      const uint32_t want = fromBottom < kept ? whole.pixels[row * w + x] : 0x000000;
      ASSERT_EQ(shortFile.pixels[row * w + x], want) << "row " << row << " x " << x;
    }
  }

  // Skipped run-length pixels (here the letters of the picture, and all
  // rows after a cut) are palette entry 0; every other pixel is the picture
  // of the complete file.
  const std::pair<const char *, const char *> skipping[] = {
      {"q/pal8rletrns.bmp", "g/pal8.bmp"},
      {"q/pal4rletrns.bmp", "g/pal4.bmp"},
      {"q/pal8rlecut.bmp", "g/pal8.bmp"},
      {"q/pal4rlecut.bmp", "g/pal4.bmp"},
  };
  for (const auto &[file, base] : skipping) {
    const std::vector<uint8_t> bytes = FileBytes(kCorpus + file);
    ASSERT_GT(bytes.size(), 58u);
    const uint32_t entry0 = (uint32_t{bytes[56]} << 16) | (uint32_t{bytes[55]} << 8) | bytes[54];
    const soft::DecodedBitmap skipped = Read(file);
    const soft::DecodedBitmap full = Read(base);
    ASSERT_EQ(skipped.pixels.size(), full.pixels.size());
    size_t cleared = 0;
    for (size_t i = 0; i < full.pixels.size(); ++i) {
      if (skipped.pixels[i] == full.pixels[i])
        continue;
      ASSERT_EQ(skipped.pixels[i], entry0) << file << " pixel " << i;
      ++cleared;
    }
    EXPECT_GT(cleared, 400u) << file;
  }

  // Indices past the 101 colours of the table are black.
  const std::vector<uint8_t> bytes = FileBytes(kCorpus + "b/pal8badindex.bmp");
  const soft::DecodedBitmap badIndex = Read("b/pal8badindex.bmp");
  size_t black = 0;
  for (size_t stored = 0; stored < 64; ++stored) { // bottom row first, 128 bytes a row
    for (size_t x = 0; x < 127; ++x) {
      if (bytes[458 + stored * 128 + x] < 101)
        continue;
      ASSERT_EQ(badIndex.pixels[(63 - stored) * 127 + x], 0u) << "row " << stored << " x " << x;
      ++black;
    }
  }
  EXPECT_GT(black, 0u);
}

// Where SDL2's reader serves, it and our own decoder give one picture.
TEST(BitmapCorpus, SdlAndOwnDecoderAgreeWhereSdlServes) {
  int compared = 0;
  for (const Answer &a : WindowsAnswers()) {
    const std::vector<uint8_t> bytes = FileBytes(kCorpus + a.file);
    soft::BitmapLayout layout;
    if (!soft::ParseBitmapLayout(bytes.data(), bytes.size(), &layout))
      continue;
    if (!soft::SdlReadsLayout(layout, bytes.size()))
      continue;
    soft::DecodedBitmap viaSdl;
    soft::DecodedBitmap own;
    soft::DecodeBitmapPixels(bytes.data(), bytes.size(), layout, &own);
    if (!soft::DecodeWithSdl(bytes.data(), bytes.size(), layout, &viaSdl))
      continue;
    EXPECT_EQ(viaSdl.pixels, own.pixels) << a.file;
    ++compared;
  }
  EXPECT_GE(compared, 30);
}

// Inputs on which the reader once misread, each with the picture the
// Windows loader gives (0xRRGGBB, top row first; empty: refused). Through
// the whole reader, SDL2's path included where it serves, and through our
// own decoder alike. Every file of the folder must have a row.
struct Regression {
  const char *file;
  int32_t width;
  int32_t height;
  std::vector<uint32_t> pixels;
};

// The four colours of the files' table, indices 0 to 3.
constexpr uint32_t kB = 0x0000FF, kG = 0x00FF00, kR = 0xFF0000, kW = 0xFFFFFF;

const std::vector<Regression> &Regressions() {
  static const std::vector<Regression> rows = {
      // bfOffBits 0: the pixel array follows the colour table. SDL2 seeks to
      // offset 0 and read the headers as pixels.
      {"offbits-zero-8bpp.bmp", 4, 2, {kW, kR, kG, kB, kB, kG, kR, kW}},
      // bfOffBits inside the colour table: the pixels are the table's last
      // eight bytes (the entries of red and white: indices 0, 0, 255, 0 and
      // 255, 255, 255, 0); index 255 is past the four colours used and reads
      // as black. SDL2 took its own idea of the table and gave other colours.
      {"offbits-in-colour-table-8bpp.bmp", 4, 2, {0, 0, 0, kB, kB, kB, 0, kB}},
  };
  return rows;
}

TEST(BitmapCorpus, RegressionFilesGiveTheWindowsPicture) {
  const std::filesystem::path dir = kData + "/regress";
  std::vector<std::string> unlisted;
  for (const auto &entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".bmp" &&
        std::none_of(Regressions().begin(), Regressions().end(),
                     [&](const Regression &r) { return name == r.file; })) {
      unlisted.push_back(name);
    }
  }
  EXPECT_TRUE(unlisted.empty()) << "files without a row: " << ::testing::PrintToString(unlisted);

  for (const Regression &row : Regressions()) {
    SCOPED_TRACE(row.file);
    const std::vector<uint8_t> bytes = FileBytes((dir / row.file).string());
    ASSERT_FALSE(bytes.empty());
    soft::DecodedBitmap whole;
    const bool accepted = soft::DecodeBitmap(bytes.data(), bytes.size(), &whole);
    ASSERT_EQ(accepted, !row.pixels.empty());
    EXPECT_EQ(whole.width, accepted ? row.width : 0);
    EXPECT_EQ(whole.height, accepted ? row.height : 0);
    EXPECT_EQ(whole.pixels, row.pixels);
    soft::BitmapLayout layout;
    if (accepted && soft::ParseBitmapLayout(bytes.data(), bytes.size(), &layout)) {
      soft::DecodedBitmap own;
      soft::DecodeBitmapPixels(bytes.data(), bytes.size(), layout, &own);
      EXPECT_EQ(own.pixels, row.pixels) << "our own decoder";
    }
  }
}

} // namespace
