// The module kit (vantrel_kit.h): rectangles, the frame pacer, the module's
// folder and text drawn as sprites; and the SDK's font bitmap, made by the
// build from the misc-fixed 8x13 font.
#include "failing_new.h"
#include "pcf_font.h"
#include "vantrel_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(KitRect, OverlapAndContainment) {
  const struct {
    VRect a;
    VRect b;
    bool overlap;
    bool aHoldsB;
  } rows[] = {
      {{0, 0, 10, 10}, {5, 5, 10, 10}, true, false},
      {{0, 0, 10, 10}, {10, 0, 5, 5}, false, false}, // touching edges: right is exclusive
      {{0, 0, 10, 10}, {0, 10, 5, 5}, false, false},
      {{0, 0, 10, 10}, {9, 9, 1, 1}, true, true},
      {{0, 0, 10, 10}, {0, 0, 10, 10}, true, true},
      {{0, 0, 10, 10}, {-1, 0, 5, 5}, true, false},
      {{-20, -20, 15, 15}, {-10, -10, 2, 2}, true, true},
      {{0, 0, 10, 10}, {3, 3, 0, 4}, false, false}, // empty: nothing
      {{0, 0, 0, 0}, {0, 0, 0, 0}, false, false},
      {{0, 0, 10, 10}, {2, 2, -3, 4}, false, false},
      // Far edges without overflow.
      {{INT32_MAX - 5, 0, INT32_MAX, 10}, {INT32_MAX - 1, 5, 1, 1}, true, true},
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {-2, -2, 1, 1}, true, true},
  };
  for (const auto &r : rows) {
    EXPECT_EQ(VRectsOverlap(r.a, r.b), r.overlap) << r.b.x << "," << r.b.y;
    EXPECT_EQ(VRectsOverlap(r.b, r.a), r.overlap) << r.b.x << "," << r.b.y;
    EXPECT_EQ(VRectContains(r.a, r.b), r.aHoldsB) << r.b.x << "," << r.b.y;
  }
  const VRect r{10, 20, 5, 5};
  EXPECT_TRUE(VRectContainsPoint(r, 10, 20));
  EXPECT_TRUE(VRectContainsPoint(r, 14, 24));
  EXPECT_FALSE(VRectContainsPoint(r, 15, 24));
  EXPECT_FALSE(VRectContainsPoint(r, 9, 20));
  EXPECT_FALSE(VRectContainsPoint({0, 0, 0, 5}, 0, 0));
  VSprite s(nullptr, 1, 2, 3, 4, 50, 60, 70, 80, SPR_SHOWN);
  const VRect fromSprite = VSpriteRect(s);
  EXPECT_EQ(fromSprite.x, 50);
  EXPECT_EQ(fromSprite.y, 60);
  EXPECT_EQ(fromSprite.w, 70);
  EXPECT_EQ(fromSprite.h, 80);
}

int FramesOver(VFramePacer &pacer, int calls, int32_t msEach) {
  int frames = 0;
  for (int i = 0; i < calls; ++i) {
    frames += VPaceFrame(pacer, msEach) ? 1 : 0;
  }
  return frames;
}

TEST(KitPacer, TheRateWhateverTheCallRate) {
  const struct {
    uint32_t fps;
    int calls;
    int32_t msEach;
    int frames;
  } rows[] = {
      {60, 1000, 1, 60}, {60, 100, 10, 60}, {60, 4000, 0, 0},  {60, 60, 17, 60},
      {30, 1000, 1, 30}, {50, 250, 4, 50},  {1000, 10, 1, 10}, {0, 2000, 1, 2}, // 0: 1 a second
      {5000, 10, 1, 10},                                                        // at most 1000
  };
  for (const auto &r : rows) {
    VFramePacer p;
    p.framesPerSecond = r.fps;
    EXPECT_EQ(FramesOver(p, r.calls, r.msEach), r.frames) << r.fps << " " << r.msEach;
  }
}

TEST(KitPacer, PausesAndOddTimes) {
  VFramePacer p;
  EXPECT_FALSE(VPaceFrame(p, 16)); // 960/1000 of a frame
  EXPECT_TRUE(VPaceFrame(p, 1));
  EXPECT_TRUE(VPaceFrame(p, 5000)); // a long pause: one frame, not a burst
  EXPECT_FALSE(VPaceFrame(p, 0));
  EXPECT_FALSE(VPaceFrame(p, -20)); // counts as 0
  EXPECT_TRUE(VPaceFrame(p, INT32_MAX));
  EXPECT_LT(p.owed, 1000u);
}

TEST(KitModuleFolder, TheFolderOfTheFileThatHoldsTheKit) {
  // Here the kit is linked into the test program, so its file is the program.
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  std::string exe(self, static_cast<size_t>(n));
  const std::string folder = exe.substr(0, exe.find_last_of('/') + 1);
  // dladdr names the program as it was started, which may be a relative path.
  const std::string got = VModuleFolder();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), '/');
  EXPECT_EQ(std::string(realpath(got.c_str(), self)) + "/", folder);
  EXPECT_EQ(VModuleFile("tiles.bmp"), got + "tiles.bmp");
  const std::string longName(260, 'x');
  EXPECT_EQ(VModuleFile(longName.c_str()), longName); // too long for an image name
}

// The nodes of a layer's list, first to last.
std::vector<VNode *> Nodes(const VLayer &layer) {
  std::vector<VNode *> nodes;
  for (VNode *n = layer.first; n != nullptr; n = n->next) {
    nodes.push_back(n);
  }
  return nodes;
}

struct Drawn {
  int32_t srcX, srcY, dstX, dstY, dstW, dstH;
  bool operator==(const Drawn &) const = default;
};

std::vector<Drawn> Shown(const VLayer &layer) {
  std::vector<Drawn> shown;
  for (VNode *n : Nodes(layer)) {
    const VSprite &s = *n->sprite;
    if (s.state != HIDDEN) {
      EXPECT_EQ(s.srcW, 8);
      EXPECT_EQ(s.srcH, 13);
      shown.push_back({s.srcX, s.srcY, s.dstX, s.dstY, s.dstW, s.dstH});
    }
  }
  // Characters of one depth share no pixel: their order in the list is of
  // no matter, so they are compared line by line, left to right.
  std::sort(shown.begin(), shown.end(), [](const Drawn &a, const Drawn &b) {
    return a.dstY != b.dstY ? a.dstY < b.dstY : a.dstX < b.dstX;
  });
  return shown;
}

class KitText : public ::testing::Test {
protected:
  VImg image;
  VFont font{&image};
  VLayer layer;
  VLayer other;
};

// The cell of a character in vantrel-font.bmp: 16 to a row from ' '.
Drawn At(int code, int32_t x, int32_t y, int32_t scale = 1) {
  const int32_t cell = code - 32;
  return {cell % 16 * 8, cell / 16 * 13, x, y, 8 * scale, 13 * scale};
}

TEST_F(KitText, EachCharacterIsASpriteFromItsCell) {
  VText text(font);
  ASSERT_TRUE(text.Place(&layer, 7, 100, 50));
  ASSERT_TRUE(text.Set("AB\nC d\x01\xe9"));
  EXPECT_EQ(Nodes(layer).size(), 8u); // one node per character, drawn or not
  for (VNode *n : Nodes(layer)) {
    EXPECT_EQ(n->depth, 7);
  }
  EXPECT_EQ(Shown(layer), (std::vector<Drawn>{At('A', 100, 50), At('B', 108, 50), At('C', 100, 63),
                                              At('d', 116, 63), At('?', 124, 63), // not in the font
                                              At(0xE9, 132, 63)}));
  EXPECT_EQ(text.Width(), 5 * 8);
  EXPECT_EQ(text.Height(), 2 * 13);
  EXPECT_STREQ(text.Text(), "AB\nC d\x01\xe9");

  text.MoveTo(0, 0);
  text.Place(&layer, 7, 10, 20, 3); // three times the size
  EXPECT_EQ(Shown(layer).front(), At('A', 10, 20, 3));
  EXPECT_EQ(Shown(layer).at(2), At('C', 10, 59, 3));
  text.Show(false);
  EXPECT_TRUE(Shown(layer).empty());
  text.Show(true);
  EXPECT_EQ(Shown(layer).size(), 6u);
  VFont noImage = font;
  noImage.image = nullptr; // AddImage failed: nothing is drawn
  text.SetFont(noImage);
  EXPECT_TRUE(Shown(layer).empty());
}

TEST_F(KitText, ShorterAndEqualStringsAllocateNothing) {
  VText text(font);
  text.Place(&layer, 3, 0, 0);
  ASSERT_TRUE(text.Set("Score 000000"));
  const size_t capacity = text.Capacity();
  failnew::FailAllocation(-1); // counts from here
  char score[16];
  for (int frame = 0; frame < 300; ++frame) {
    std::snprintf(score, sizeof score, "Score %06d", frame * 37);
    text.Set(score);
    text.Set(frame % 2 == 0 ? "Game over" : "");
  }
  EXPECT_EQ(failnew::Count(), 0);
  EXPECT_EQ(text.Capacity(), capacity);
  EXPECT_EQ(Nodes(layer).size(), capacity);
  text.Set("Score 000111, well done"); // longer: grows once
  EXPECT_GT(failnew::Count(), 0);
  EXPECT_EQ(Nodes(layer).size(), 23u);
  EXPECT_EQ(Shown(layer).size(), 20u); // three spaces
}

TEST_F(KitText, AFailedAllocationShowsWhatFits) {
  VText text(font);
  text.Place(&layer, 1, 0, 0);
  ASSERT_TRUE(text.Set("abc"));
  for (int failing = 0; failing < 8; ++failing) {
    failnew::FailAllocation(failing);
    EXPECT_FALSE(text.Set("abcdefgh")) << failing;
    failnew::Disarm();
    // The arrays did not grow: the old three characters and nodes stand.
    EXPECT_LE(text.Capacity(), 8u) << failing;
    EXPECT_EQ(Nodes(layer).size(), text.Capacity()) << failing;
    EXPECT_EQ(text.Length(), text.Capacity() < 8 ? text.Capacity() : 8u) << failing;
    text.Remove();
    text.Place(&layer, 1, 0, 0);
    ASSERT_TRUE(text.Set("abc"));
  }
}

TEST_F(KitText, SetBeforePlacePlaceAgainAndRemove) {
  VText text(font);
  ASSERT_TRUE(text.Set("hi")); // sprites now, nodes once placed
  EXPECT_TRUE(Nodes(layer).empty());
  ASSERT_TRUE(text.Place(&layer, 5, 0, 0));
  ASSERT_EQ(Nodes(layer).size(), 2u);
  VNode *mine = other.Add(4, 0, 0);
  VNode *high = other.Add(9, 0, 0);
  ASSERT_TRUE(text.Place(&other, 6, 0, 0)); // between the two
  EXPECT_TRUE(Nodes(layer).empty());
  const std::vector<VNode *> order = Nodes(other);
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order.front(), mine);
  EXPECT_EQ(order.back(), high);
  EXPECT_FALSE(text.Place(nullptr, 1, 0, 0));
  text.Remove();
  EXPECT_EQ(Nodes(other), (std::vector<VNode *>{mine, high}));
  EXPECT_STREQ(text.Text(), "");
  EXPECT_EQ(text.Width(), 0);
  EXPECT_EQ(text.Height(), 0);
  mine->Unlink();
  high->Unlink();
  delete mine;
  delete high;
}

// The font bitmap the build made: 16 x 14 cells of 8x13, magenta key in the
// top-left (the space), white ink with a black shadow.
TEST(KitFont, TheBuildsBitmapHoldsEveryCharacter) {
  std::FILE *f = std::fopen(VANTREL_FONT_BMP, "rb");
  ASSERT_NE(f, nullptr) << VANTREL_FONT_BMP;
  std::vector<uint8_t> b(200000);
  b.resize(std::fread(b.data(), 1, b.size(), f));
  std::fclose(f);
  ASSERT_GE(b.size(), 54u);
  const auto u32 = [&b](size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
  };
  ASSERT_EQ(u32(18), 128u);
  ASSERT_EQ(u32(22), 182u);
  ASSERT_EQ(b.size(), 54u + 128 * 3 * 182);
  const auto rgb = [&](int x, int y) { // top-down coordinates
    const size_t at = 54 + static_cast<size_t>((181 - y) * 128 + x) * 3;
    return uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 1]} << 8 | b[at];
  };
  EXPECT_EQ(rgb(0, 0), 0xFF00FFu);
  const auto ink = [&](int code) {
    const int cell = code - 32;
    int n = 0;
    for (int y = 0; y < 13; ++y) {
      for (int x = 0; x < 8; ++x) {
        const uint32_t c = rgb(cell % 16 * 8 + x, cell / 16 * 13 + y);
        EXPECT_TRUE(c == 0xFF00FFu || c == 0xFFFFFFu || c == 0) << code;
        n += c == 0xFFFFFFu ? 1 : 0;
      }
    }
    return n;
  };
  EXPECT_EQ(ink(' '), 0);
  for (int code = 33; code < 127; ++code) {
    EXPECT_GT(ink(code), 0) << code;
  }
  EXPECT_GT(ink(0xE9), 0); // é
  EXPECT_EQ(ink(0x7F), 0); // no glyph: blank
}

// The font reader over every truncation of the real font: a clear refusal,
// never a read past the end (under the sanitizers).
TEST(KitFont, TheReaderRefusesTruncatedFonts) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(font::ReadGzipFile(VANTREL_FIXED_FONT, &bytes));
  font::PcfFont pcf;
  std::string why;
  ASSERT_TRUE(font::ParsePcf(bytes, &pcf, &why)) << why;
  EXPECT_EQ(pcf.ascent + pcf.descent, 13);
  EXPECT_TRUE(pcf.byCode['A'].present);
  for (size_t cut = 0; cut < bytes.size(); cut += 97) {
    const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut));
    font::PcfFont partial;
    EXPECT_FALSE(font::ParsePcf(part, &partial, &why)) << cut;
  }
}

} // namespace
