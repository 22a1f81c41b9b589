// DrawMap: the grid walk over the cell array, clipping of each tile, and maps
// that cannot be drawn.
#include "render_fixture.h"

#include "render/draw.h"

#include <climits>

namespace {

using namespace rt;
using vantrel::DrawMap;

class DrawMapTest : public RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    // A tileset of probe colours, 128 x 64; the pixel (1, 1) is keyed.
    tileset = MakeSurface(
        128, 64, [](int32_t x, int32_t y) { return x == 1 && y == 1 ? kKey : Probe(x, y); });
    UseAsTileset(tileset);
  }

  // A cols x rows map whose cell k shows tile (k % 10, k / 10).
  static void Number(VMap &map) {
    for (int32_t k = 0; k < map.cols * map.rows; ++k) {
      map.cells[k].tileCol = k % 10;
      map.cells[k].tileRow = k / 10;
    }
  }

  plat::Surface tileset = nullptr;
};

TEST_F(DrawMapTest, EachDrawnRowTakesTheNextRunOfCells) {
  // 4 x 3 view of 8 x 8 tiles over a map 10 cells wide: drawn row 1 shows
  // cells 4 to 7, not cells 10 to 13.
  VMap map(10, 3, 0, MAP_SHOWN, 16, 8, 4, 3, 8, 8, 0);
  Number(map);
  EXPECT_EQ(DrawMap(&map), 1);
  const std::vector<FastBlit> blits = FastBlits();
  ASSERT_EQ(blits.size(), 12u);
  for (int32_t r = 0; r < 3; ++r) {
    for (int32_t c = 0; c < 4; ++c) {
      const FastBlit &b = blits[static_cast<size_t>(r * 4 + c)];
      const int32_t k = r * 4 + c;
      SCOPED_TRACE(k);
      EXPECT_EQ(b.dst, Handle(vantrel::backBuffer));
      EXPECT_EQ(b.src, Handle(tileset));
      EXPECT_EQ(b.flags, kFastFlags);
      EXPECT_EQ(b.x, 16 + c * 8);
      EXPECT_EQ(b.y, 8 + r * 8);
      const int32_t sx = k % 10 * 8;
      const int32_t sy = k / 10 * 8;
      EXPECT_EQ(b.srcRect, (plat::RECT{sx, sy, sx + 8, sy + 8}));
    }
  }
  // Row 1, column 0 shows cell 4: tile (4, 0).
  EXPECT_EQ(Back(16, 16), Probe(32, 0));
  EXPECT_EQ(Back(16 + 8 * 3 + 7, 16 + 7), Probe(63, 7));
  // The keyed pixel of tile (0, 0) lets the background through.
  EXPECT_EQ(Back(17, 9), 0x000000u);
}

TEST_F(DrawMapTest, NegativeScrollClipsTheFirstTileOfEachRow) {
  VMap map(5, 2, 0, MAP_SHOWN, -10, -3, 5, 2, 32, 32, 0);
  Number(map);
  DrawMap(&map);
  const std::vector<FastBlit> blits = FastBlits();
  ASSERT_EQ(blits.size(), 10u);
  // Row 0: tile (0, 0) from source column 10, 22 wide, also 3 rows cut above.
  EXPECT_EQ(blits[0].x, 0);
  EXPECT_EQ(blits[0].y, 0);
  EXPECT_EQ(blits[0].srcRect, (plat::RECT{10, 3, 32, 32}));
  EXPECT_EQ(blits[1].x, 22);
  EXPECT_EQ(blits[1].srcRect, (plat::RECT{32, 3, 64, 32}));
  // Row 1: cell 5 = tile (5, 0), its first column cut the same way.
  EXPECT_EQ(blits[5].x, 0);
  EXPECT_EQ(blits[5].y, 29);
  EXPECT_EQ(blits[5].srcRect, (plat::RECT{5 * 32 + 10, 0, 6 * 32, 32}));
  EXPECT_EQ(Back(0, 0), Probe(10, 3));
  EXPECT_EQ(Back(22, 0), Probe(32, 3));
}

TEST_F(DrawMapTest, ZeroViewCountsDrawNothing) {
  // No columns under four billion rows: no row is walked at all (an
  // unoptimised walk of the empty rows would take many seconds).
  VMap noCols(4, 4, 0, MAP_SHOWN, 0, 0, 0, UINT32_MAX, 8, 8, 0);
  VMap noRows(4, 4, 0, MAP_SHOWN, 0, 0, UINT32_MAX, 0, 8, 8, 0);
  EXPECT_EQ(DrawMap(&noCols), 1);
  EXPECT_EQ(DrawMap(&noRows), 1);
  EXPECT_EQ(td::CountCalls("BltFast"), 0);
}

TEST_F(DrawMapTest, AHiddenMapIsDrawnWhenAskedDirectly) {
  VMap map(2, 1, 0, HIDDEN, 0, 0, 2, 1, 8, 8, 0);
  EXPECT_EQ(DrawMap(&map), 1);
  EXPECT_EQ(td::CountCalls("BltFast"), 2);
}

TEST_F(DrawMapTest, TilesOffTheScreenStillIssueTheirBlits) {
  const std::vector<uint32_t> before = BackPixels();
  // One row starting right of the screen, one column below it.
  VMap right(3, 1, 0, MAP_SHOWN, kScreenW + 8, 0, 3, 1, 16, 16, 0);
  VMap below(1, 3, 0, MAP_SHOWN, 0, kScreenH, 1, 3, 16, 16, 0);
  DrawMap(&right);
  DrawMap(&below);
  const std::vector<FastBlit> blits = FastBlits();
  ASSERT_EQ(blits.size(), 6u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(blits[i].x, kScreenW + 8 + 16 * static_cast<int32_t>(i));
    EXPECT_LE(blits[i].srcRect.right, blits[i].srcRect.left);
  }
  for (size_t i = 3; i < 6; ++i) {
    EXPECT_GE(blits[i].y, kScreenH);
    EXPECT_LE(blits[i].srcRect.bottom, blits[i].srcRect.top);
  }
  EXPECT_EQ(BackPixels(), before);
}

TEST_F(DrawMapTest, TheWalkStopsAtTheEndOfTheCellArray) {
  // 2 x 2 cells under a 3 x 3 view: the first four grid positions only.
  VMap small(2, 2, 0, MAP_SHOWN, 0, 0, 3, 3, 8, 8, 0);
  DrawMap(&small);
  const std::vector<FastBlit> blits = FastBlits();
  ASSERT_EQ(blits.size(), 4u);
  EXPECT_EQ(blits[3].x, 0); // cell 3 is row 1, column 0 of the view
  EXPECT_EQ(blits[3].y, 8);

  // A huge view over a small array costs only the array's cells.
  td::ClearLog();
  VMap huge(3, 1, 0, MAP_SHOWN, 0, 0, UINT32_MAX, UINT32_MAX, 8, 8, 0);
  DrawMap(&huge);
  EXPECT_EQ(td::CountCalls("BltFast"), 3);
}

TEST_F(DrawMapTest, AMapWithoutTilesetOrCellsIsSkipped) {
  VMap map(2, 2, 0, MAP_SHOWN, 0, 0, 2, 2, 8, 8, 0);
  VMap noCells;
  noCells.viewCols = 2;
  noCells.viewRows = 2;
  noCells.tileW = 8;
  noCells.tileH = 8;
  EXPECT_EQ(DrawMap(nullptr), 1);
  EXPECT_EQ(DrawMap(&noCells), 1);

  vantrel::prog.ihead->surf->surface = nullptr; // first image without surface
  EXPECT_EQ(DrawMap(&map), 1);
  delete vantrel::prog.ihead->surf;
  vantrel::prog.ihead->surf = nullptr; // first image without holder
  EXPECT_EQ(DrawMap(&map), 1);
  delete vantrel::prog.ihead;
  vantrel::prog.ihead = nullptr; // empty list
  EXPECT_EQ(DrawMap(&map), 1);

  // Cell counts that describe no array.
  UseAsTileset(tileset);
  VMap negative(2, 2, 0, MAP_SHOWN, 0, 0, 2, 2, 8, 8, 0);
  negative.cols = -2;
  negative.rows = -2;
  EXPECT_EQ(DrawMap(&negative), 1);
  negative.cols = 2;
  negative.rows = 2;
  EXPECT_EQ(td::CountCalls("BltFast"), 0);
}

TEST_F(DrawMapTest, TheTilesetIsAlwaysTheFirstImage) {
  // A later image does not replace the head as tileset.
  plat::Surface other = MakeSurface(8, 8, [](int32_t, int32_t) { return 0x00FF00u; });
  vantrel::prog.ihead->next = new VImg(new VSurf(), "other", IMG_LOAD);
  vantrel::prog.ihead->next->surf->surface = other;
  VMap map(1, 1, 0, MAP_SHOWN, 0, 0, 1, 1, 8, 8, 0);
  DrawMap(&map);
  ASSERT_EQ(FastBlits().size(), 1u);
  EXPECT_EQ(FastBlits()[0].src, Handle(tileset));
}

TEST_F(DrawMapTest, BeforeAnyModeNothingIsDrawn) {
  td::Reset();
  ASSERT_EQ(vantrel::InitDisplay(), 1);
  UseAsTileset(MakeSurface(8, 8, [](int32_t, int32_t) { return 0x00FF00u; }));
  VMap map(1, 1, 0, MAP_SHOWN, 0, 0, 1, 1, 8, 8, 0);
  EXPECT_EQ(DrawMap(&map), 1);
  EXPECT_EQ(td::CountCalls("BltFast"), 0);
}

TEST_F(DrawMapTest, HostileNumbersWrapWithoutHarm) {
  const int32_t values[] = {INT_MIN, -1, 0, 1, 7, INT_MAX};
  VMap map(2, 2, 0, MAP_SHOWN, 0, 0, 2, 2, 8, 8, 0);
  int blits = 0;
  for (int32_t a : values) {
    for (int32_t b : values) {
      map.x = a;
      map.y = b;
      map.tileW = b;
      map.tileH = a;
      map.cells[0].tileCol = a;
      map.cells[1].tileRow = b;
      map.cells[2].tileCol = INT_MAX;
      map.cells[3].tileRow = INT_MIN;
      ASSERT_EQ(DrawMap(&map), 1);
      blits += 4;
    }
  }
  EXPECT_EQ(td::CountCalls("BltFast"), blits);
}

} // namespace
