// DrawSprite: clipping to the screen, copy or stretch, the key, and sprites
// that cannot be drawn.
#include "render_fixture.h"

#include "render/draw.h"

#include <climits>

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

TEST_F(DrawSpriteTest, AStretchedSpriteMovesItsSourceUnscaled) {
  // 16 x 16 drawn 32 x 32 at x = -8: the source moves in by 8 source pixels,
  // so 8 source columns fill the 24 visible columns.
  VSprite s = Sprite(0, 0, 16, 16, -8, 40, 32, 32);
  EXPECT_EQ(DrawSprite(&s), 1);
  const StretchBlit b = OnlyStretchBlit();
  EXPECT_EQ(b.dstRect, (plat::RECT{0, 40, 24, 72}));
  EXPECT_EQ(b.srcRect, (plat::RECT{8, 0, 16, 16}));
  EXPECT_EQ(Back(0, 40), Probe(8, 0));
  EXPECT_EQ(Back(23, 71), Probe(15, 15));
  EXPECT_EQ(Back(24, 40), 0x000000u);
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

TEST_F(DrawSpriteTest, ClippedByMoreThanItsSourceAStretchDrawsNothing) {
  const std::vector<uint32_t> before = BackPixels();
  VSprite s = Sprite(0, 0, 16, 16, -20, 0, 32, 32);
  EXPECT_EQ(DrawSprite(&s), 1);
  const StretchBlit b = OnlyStretchBlit();
  EXPECT_EQ(b.srcRect, (plat::RECT{20, 0, 16, 16})); // inverted
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
