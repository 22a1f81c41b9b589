// DrawSprite: clipping to the screen, copy or stretch, the key, and sprites
// that cannot be drawn.
#include "render_fixture.h"

#include "render/draw.h"

#include <climits>
#include <cstdlib>

namespace {

using namespace rt;
using vantrel::DrawSprite;

class DrawSpriteTest : public RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    // 128 x 64 of probe colours, with a keyed pixel at (65, 1).
    sheet = MakeSurface(
        128, 64, [](int32_t x, int32_t y) { return x == 65 && y == 1 ? kKey : Probe(x, y); });
    image = ImageOf(sheet);
  }

  VSprite Sprite(int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH, int32_t dstX, int32_t dstY,
                 int32_t dstW, int32_t dstH) {
    return VSprite(image, srcX, srcY, srcW, srcH, dstX, dstY, dstW, dstH, SPR_SHOWN);
  }

  // The one BltFast issued, checked for target, source surface and flags.
  FastBlit OnlyFastBlit() {
    const std::vector<FastBlit> blits = FastBlits();
    EXPECT_EQ(blits.size(), 1u);
    EXPECT_EQ(td::CountCalls("Blt"), 0);
    if (blits.empty()) {
      return FastBlit{};
    }
    EXPECT_EQ(blits[0].dst, Handle(vantrel::backBuffer));
    EXPECT_EQ(blits[0].src, Handle(sheet));
    EXPECT_EQ(blits[0].flags, kFastFlags);
    return blits[0];
  }

  StretchBlit OnlyStretchBlit() {
    const std::vector<StretchBlit> blits = StretchBlits();
    EXPECT_EQ(blits.size(), 1u);
    EXPECT_EQ(td::CountCalls("BltFast"), 0);
    if (blits.empty()) {
      return StretchBlit{};
    }
    EXPECT_EQ(blits[0].dst, Handle(vantrel::backBuffer));
    EXPECT_EQ(blits[0].src, Handle(sheet));
    EXPECT_EQ(blits[0].flags, kBltFlags);
    return blits[0];
  }

  plat::Surface sheet = nullptr;
  VImg *image = nullptr;
};

TEST_F(DrawSpriteTest, ASpriteInsideTheScreenIsCopiedAsItIs) {
  VSprite s = Sprite(64, 0, 8, 4, 10, 20, 8, 4);
  EXPECT_EQ(DrawSprite(&s), 1);
  const FastBlit b = OnlyFastBlit();
  EXPECT_EQ(b.x, 10);
  EXPECT_EQ(b.y, 20);
  EXPECT_EQ(b.srcRect, (plat::RECT{64, 0, 72, 4}));
  EXPECT_EQ(Back(10, 20), Probe(64, 0));
  EXPECT_EQ(Back(17, 23), Probe(71, 3));
  EXPECT_EQ(Back(11, 21), 0x000000u); // the keyed pixel (65, 1) left the background
  EXPECT_EQ(Back(18, 20), 0x000000u);
}

TEST_F(DrawSpriteTest, ClippedAtTheLeftThePositionAndSourceMove) {
  VSprite s = Sprite(64, 0, 32, 32, -5, 10, 32, 32);
  EXPECT_EQ(DrawSprite(&s), 1);
  const FastBlit b = OnlyFastBlit();
  EXPECT_EQ(b.x, 0);
  EXPECT_EQ(b.y, 10);
  EXPECT_EQ(b.srcRect, (plat::RECT{69, 0, 96, 32}));
  EXPECT_EQ(Back(0, 10), Probe(69, 0));
  EXPECT_EQ(Back(26, 41), Probe(95, 31));
  EXPECT_EQ(Back(27, 10), 0x000000u);
}

TEST_F(DrawSpriteTest, EdgesExactlyOnTheScreenEdgeAreNotClipped) {
  VSprite topLeft = Sprite(0, 0, 16, 16, 0, 0, 16, 16);
  VSprite bottomRight = Sprite(0, 0, 16, 16, kScreenW - 16, kScreenH - 16, 16, 16);
  DrawSprite(&topLeft);
  DrawSprite(&bottomRight);
  const std::vector<FastBlit> blits = FastBlits();
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].x, 0);
  EXPECT_EQ(blits[0].y, 0);
  EXPECT_EQ(blits[0].srcRect, (plat::RECT{0, 0, 16, 16}));
  EXPECT_EQ(blits[1].x, kScreenW - 16);
  EXPECT_EQ(blits[1].y, kScreenH - 16);
  EXPECT_EQ(blits[1].srcRect, (plat::RECT{0, 0, 16, 16}));
  EXPECT_EQ(Back(kScreenW - 1, kScreenH - 1), Probe(15, 15));
}

TEST_F(DrawSpriteTest, ThreePixelsPastTheRightAndBottomEdges) {
  VSprite s = Sprite(10, 20, 16, 16, kScreenW - 13, kScreenH - 13, 16, 16);
  DrawSprite(&s);
  const FastBlit b = OnlyFastBlit();
  EXPECT_EQ(b.x, kScreenW - 13);
  EXPECT_EQ(b.y, kScreenH - 13);
  EXPECT_EQ(b.srcRect, (plat::RECT{10, 20, 23, 33}));
  EXPECT_EQ(Back(kScreenW - 1, kScreenH - 1), Probe(22, 32));
}

TEST_F(DrawSpriteTest, OverhangOnBothSidesMovesTheSourceInOnBoth) {
  // 10 past the left, 20 past the right; 4 above, 6 below.
  VSprite s = Sprite(0, 0, kScreenW + 30, kScreenH + 10, -10, -4, kScreenW + 30, kScreenH + 10);
  DrawSprite(&s);
  const FastBlit b = OnlyFastBlit();
  EXPECT_EQ(b.x, 0);
  EXPECT_EQ(b.y, 0);
  EXPECT_EQ(b.srcRect, (plat::RECT{10, 4, kScreenW + 10, kScreenH + 4}));
}

// A stretched sprite cut at an edge: its source moves in by the clip amount
// times the stretch ratio, rounded down.
TEST_F(DrawSpriteTest, AStretchCutAtAnEdgeMovesItsSourceByTheRatio) {
  struct Case {
    const char *what;
    int32_t srcW, srcH, dstX, dstY, dstW, dstH;
    plat::RECT dstRect;
    plat::RECT srcRect;
  };
  const Case cases[] = {
      {"2x, 8 past the left", 16, 16, -8, 40, 32, 32, {0, 40, 24, 72}, {4, 0, 16, 16}},
      {"2x, 8 past the top", 16, 16, 40, -8, 32, 32, {40, 0, 72, 24}, {0, 4, 16, 16}},
      {"2x, 8 past the right",
       16,
       16,
       kScreenW - 24,
       40,
       32,
       32,
       {kScreenW - 24, 40, kScreenW, 72},
       {0, 0, 12, 16}},
      {"2x, 8 past the bottom",
       16,
       16,
       40,
       kScreenH - 24,
       32,
       32,
       {40, kScreenH - 24, 72, kScreenH},
       {0, 0, 16, 12}},
      {"1.5x rounds down", 16, 16, -7, 0, 24, 24, {0, 0, 17, 24}, {4, 0, 16, 16}},
      {"halved", 32, 32, -5, 0, 16, 16, {0, 0, 11, 16}, {10, 0, 32, 32}},
      {"one column left keeps one source pixel",
       16,
       16,
       -31,
       0,
       32,
       32,
       {0, 0, 1, 32},
       {15, 0, 16, 16}},
      {"height only: the width moves unscaled",
       16,
       16,
       -3,
       0,
       16,
       32,
       {0, 0, 13, 32},
       {3, 0, 16, 16}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    td::ClearLog();
    VSprite s = Sprite(0, 0, c.srcW, c.srcH, c.dstX, c.dstY, c.dstW, c.dstH);
    EXPECT_EQ(DrawSprite(&s), 1);
    const StretchBlit b = OnlyStretchBlit();
    EXPECT_EQ(b.dstRect, c.dstRect);
    EXPECT_EQ(b.srcRect, c.srcRect);
  }
}

// What shows of a stretched sprite cut at an edge is what the same sprite
// shows drawn whole onto a surface large enough to hold it, within one source
// pixel, at every edge and at several ratios.
TEST_F(DrawSpriteTest, AStretchCutAtAnEdgeKeepsItsShape) {
  constexpr int32_t kMargin = 200;
  const plat::Surface whole = MakeSurface(kScreenW + 2 * kMargin, kScreenH + 2 * kMargin,
                                          [](int32_t, int32_t) { return 0u; });
  struct Case {
    int32_t srcW, srcH, dstX, dstY, dstW, dstH;
  };
  const Case cases[] = {
      {16, 16, -8, 30, 32, 32},
      {16, 16, 30, -8, 32, 32},
      {16, 16, kScreenW - 20, 30, 32, 32},
      {16, 16, 30, kScreenH - 20, 32, 32},
      {12, 10, -50, -41, 100, 90},
      {40, 30, -13, kScreenH - 9, 17, 23},
      {16, 16, -60, -50, kScreenW + 100, kScreenH + 90},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(::testing::Message() << c.srcW << "x" << c.srcH << " to " << c.dstW << "x"
                                      << c.dstH << " at " << c.dstX << "," << c.dstY);
    Fill(vantrel::backBuffer, 0x000000);
    Fill(whole, 0x000000);
    VSprite s = Sprite(0, 0, c.srcW, c.srcH, c.dstX, c.dstY, c.dstW, c.dstH);
    DrawSprite(&s);
    plat::RECT to{c.dstX + kMargin, c.dstY + kMargin, c.dstX + kMargin + c.dstW,
                  c.dstY + kMargin + c.dstH};
    plat::RECT from{0, 0, c.srcW, c.srcH};
    ASSERT_EQ(soft::Blt(whole, &to, sheet, &from, plat::DDBLT_KEYSRC, nullptr), plat::DD_OK);
    int32_t shown = 0;
    for (int32_t y = 0; y < kScreenH; ++y) {
      for (int32_t x = 0; x < kScreenW; ++x) {
        const uint32_t want = soft::PixelRgb(whole, x + kMargin, y + kMargin);
        const uint32_t got = Back(x, y);
        ASSERT_EQ(got == 0, want == 0) << "at " << x << "," << y;
        if (got != 0) {
          ++shown;
          ASSERT_LE(std::abs(static_cast<int32_t>((got >> 8) & 0xFF) -
                             static_cast<int32_t>((want >> 8) & 0xFF)),
                    1)
              << "source column at " << x << "," << y;
          ASSERT_LE(std::abs(static_cast<int32_t>(got & 0xFF) - static_cast<int32_t>(want & 0xFF)),
                    1)
              << "source row at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(shown, 0);
  }
}

TEST_F(DrawSpriteTest, OnlyTheSpritesOwnSizesChooseTheStretch) {
  VSprite wider = Sprite(0, 0, 8, 8, 0, 0, 9, 8);
  VSprite taller = Sprite(0, 0, 8, 8, 0, 0, 8, 9);
  // Clipping makes source and destination differ, yet it stays a copy.
  VSprite clipped = Sprite(0, 0, 8, 8, -3, 0, 8, 8);
  DrawSprite(&wider);
  DrawSprite(&taller);
  DrawSprite(&clipped);
  EXPECT_EQ(td::CountCalls("Blt"), 2);
  EXPECT_EQ(td::CountCalls("BltFast"), 1);
}

TEST_F(DrawSpriteTest, AStretchCutByItsWholeWidthDrawsNothing) {
  const std::vector<uint32_t> before = BackPixels();
  VSprite s = Sprite(0, 0, 16, 16, -32, 0, 32, 32);
  EXPECT_EQ(DrawSprite(&s), 1);
  const StretchBlit b = OnlyStretchBlit();
  EXPECT_EQ(b.dstRect, (plat::RECT{0, 0, 0, 32})); // empty: the device refuses it
  EXPECT_EQ(BackPixels(), before);
}

TEST_F(DrawSpriteTest, WhollyOffTheScreenTheBlitIsStillIssued) {
  const std::vector<uint32_t> before = BackPixels();
  VSprite right = Sprite(0, 0, 16, 16, kScreenW + 5, 10, 16, 16);
  VSprite above = Sprite(0, 0, 16, 16, 10, -40, 16, 16);
  EXPECT_EQ(DrawSprite(&right), 1);
  EXPECT_EQ(DrawSprite(&above), 1);
  const std::vector<FastBlit> blits = FastBlits();
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].x, kScreenW + 5);
  EXPECT_LE(blits[0].srcRect.right, blits[0].srcRect.left);
  EXPECT_EQ(blits[1].y, 0);
  EXPECT_LE(blits[1].srcRect.bottom, blits[1].srcRect.top);
  EXPECT_EQ(BackPixels(), before);
}

TEST_F(DrawSpriteTest, OnlyHiddenHides) {
  VSprite s = Sprite(0, 0, 4, 4, 0, 0, 4, 4);
  s.state = HIDDEN;
  EXPECT_EQ(DrawSprite(&s), 1);
  EXPECT_EQ(td::CountCalls("BltFast"), 0);
  const int32_t states[] = {SPR_SHOWN, 0, MAP_SHOWN, -4, -6, INT_MIN};
  for (int32_t state : states) {
    s.state = state;
    DrawSprite(&s);
  }
  EXPECT_EQ(td::CountCalls("BltFast"), 6);
}

TEST_F(DrawSpriteTest, ASpriteWithoutPixelsIsSkipped) {
  VSprite noImage(nullptr, 0, 0, 4, 4, 0, 0, 4, 4, SPR_SHOWN);
  VImg noHolder(nullptr, "x", IMG_LOAD);
  VSprite noSurf(&noHolder, 0, 0, 4, 4, 0, 0, 4, 4, SPR_SHOWN);
  VSprite noSurface(ImageOf(nullptr), 0, 0, 4, 4, 0, 0, 4, 4, SPR_SHOWN);
  EXPECT_EQ(DrawSprite(nullptr), 1);
  EXPECT_EQ(DrawSprite(&noImage), 1);
  EXPECT_EQ(DrawSprite(&noSurf), 1);
  EXPECT_EQ(DrawSprite(&noSurface), 1);
  EXPECT_EQ(td::CountCalls("BltFast") + td::CountCalls("Blt"), 0);
}

TEST_F(DrawSpriteTest, BeforeAnyModeNothingIsDrawn) {
  td::Reset();
  ASSERT_EQ(vantrel::InitDisplay(), 1);
  VSprite s(ImageOf(sheet), 0, 0, 4, 4, 0, 0, 4, 4, SPR_SHOWN);
  EXPECT_EQ(DrawSprite(&s), 1);
  EXPECT_EQ(td::CountCalls("BltFast") + td::CountCalls("Blt"), 0);
}

TEST_F(DrawSpriteTest, HostileNumbersWrapWithoutHarm) {
  // Sums and clip amounts wrap modulo 2^32; the sanitizers stop the run on
  // any signed overflow.
  const int32_t values[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, kScreenW, INT_MAX - 1, INT_MAX};
  int blits = 0;
  for (int32_t a : values) {
    for (int32_t b : values) {
      VSprite copy = Sprite(a, b, b, a, a, b, b, a);
      VSprite stretch = Sprite(b, a, a, a, a, b, b, b);
      ASSERT_EQ(DrawSprite(&copy), 1);
      ASSERT_EQ(DrawSprite(&stretch), 1);
      blits += 2;
    }
  }
  EXPECT_EQ(td::CountCalls("BltFast") + td::CountCalls("Blt"), blits);
  // dstX + dstW past INT_MAX wraps to a negative right edge: no clipping.
  td::ClearLog();
  VSprite wrapped = Sprite(0, 0, 2, 2, INT_MAX, 0, 2, 2);
  DrawSprite(&wrapped);
  const FastBlit b = OnlyFastBlit();
  EXPECT_EQ(b.x, INT_MAX);
  EXPECT_EQ(b.srcRect, (plat::RECT{0, 0, 2, 2}));
}

} // namespace
