// The demo's scene: what it builds for the host to draw, and how input
// changes it, checked on the records themselves (no host needed).
#include "demo_scene.h"

#include <gtest/gtest.h>
#include <string>

#include <vector>

namespace {

using demo::Scene;

// The depths of a layer's list from first to last, checking its links.
std::vector<int32_t> Depths(const VLayer *layer) {
  std::vector<int32_t> depths;
  const VNode *prev = nullptr;
  for (const VNode *n = layer->first; n != nullptr; n = n->next) {
    EXPECT_EQ(n->prev, prev);
    EXPECT_EQ(n->owner, layer);
    depths.push_back(n->depth);
    prev = n;
  }
  EXPECT_EQ(layer->last, prev);
  return depths;
}

bool Ascending(const std::vector<int32_t> &v) {
  for (std::size_t i = 1; i < v.size(); ++i) {
    if (v[i - 1] > v[i]) {
      return false;
    }
  }
  return true;
}

class DemoScene : public ::testing::Test {
protected:
  void SetUp() override {
    scene = demo::BuildScene(&prog, &sprites, &font);
    ASSERT_NE(scene, nullptr);
  }
  void TearDown() override { demo::FreeScene(&prog, scene); }

  VLayer *Back() { return scene->layers[demo::kBackLayer]; }
  VLayer *Front() { return scene->layers[demo::kFrontLayer]; }
  VNode *NodeOf(demo::Frame frame) {
    for (auto &a : scene->start) {
      if (a.sprite.srcX == frame * demo::kFrameSize) {
        return a.node;
      }
    }
    return nullptr;
  }

  VProg prog;
  VImg sprites;
  VImg font;
  Scene *scene = nullptr;
};

TEST_F(DemoScene, HangsTwoDrawableLayersOnProg) {
  ASSERT_EQ(prog.layers, Back());
  ASSERT_EQ(Back()->next, Front());
  ASSERT_EQ(Front()->next, scene->hud);
  EXPECT_EQ(scene->hud->next, nullptr);
  EXPECT_EQ(scene->hud->map->state, HIDDEN); // the score's layer draws only its sprites
  // The host draws viewCols x viewRows cells of every layer's map, in array
  // order: the arrays must hold that many.
  for (VLayer *layer : scene->layers) {
    const VMap *map = layer->map;
    ASSERT_NE(map, nullptr);
    ASSERT_NE(map->cells, nullptr);
    EXPECT_EQ(int64_t(map->viewCols) * map->viewRows, int64_t(map->cols) * map->rows);
    EXPECT_EQ(map->tileW, demo::kTileSize);
    EXPECT_NE(map->state, HIDDEN);
  }
  EXPECT_TRUE(Ascending(Depths(Back())));
  EXPECT_TRUE(Ascending(Depths(Front())));
  // The cursor is drawn over everything.
  EXPECT_EQ(Front()->last, scene->cursor.node);
  for (VLayer *layer : scene->layers) {
    for (VNode *n = layer->first; n != nullptr; n = n->next) {
      ASSERT_NE(n->sprite, nullptr);
      EXPECT_EQ(n->sprite->image, &sprites);
    }
  }
}

TEST_F(DemoScene, BackgroundIsOpaqueEverywhereAndCellsMatchTheLayout) {
  // The back buffer is never cleared, so a hole in the bottom map would show
  // stale pixels: every background cell must be an opaque tile.
  const VMap *back = Back()->map;
  for (int32_t r = 0; r < back->rows; ++r) {
    for (int32_t c = 0; c < back->cols; ++c) {
      const VCell &cell = back->cells[r * back->cols + c];
      EXPECT_FALSE(cell.tileCol == demo::kHoleTile.col && cell.tileRow == demo::kHoleTile.row);
      EXPECT_FALSE(cell.tileCol == demo::kCanopyTile.col && cell.tileRow == demo::kCanopyTile.row);
      ASSERT_EQ(cell.tileCol, demo::BackgroundTile(c, r).col);
      ASSERT_EQ(cell.tileRow, demo::BackgroundTile(c, r).row);
      ASSERT_LT(cell.tileCol, demo::kTilesetCols);
      ASSERT_LT(cell.tileRow, demo::kTilesetRows);
    }
  }
  // The background covers the screen, the foreground is exactly one screen.
  EXPECT_GE(back->cols * back->tileW, demo::kScreenW * 2);
  EXPECT_GE(back->rows * back->tileH, demo::kScreenH * 2);
  const VMap *front = Front()->map;
  EXPECT_EQ(front->cols * front->tileW, demo::kScreenW);
  EXPECT_EQ(front->rows * front->tileH, demo::kScreenH);
}

TEST_F(DemoScene, ScrollingStopsWhereTheMapEnds) {
  VMap *back = Back()->map;
  demo::ScrollBackground(*scene, 16, 16); // left/up at the top-left corner: no move
  EXPECT_EQ(back->x, 0);
  EXPECT_EQ(back->y, 0);
  demo::ScrollBackground(*scene, -16, -16);
  EXPECT_EQ(back->x, -16);
  EXPECT_EQ(back->y, -16);
  for (int i = 0; i < 100; ++i) {
    demo::ScrollBackground(*scene, -16, -16);
  }
  // The map's bottom-right corner meets the screen's.
  EXPECT_EQ(back->x + back->cols * back->tileW, demo::kScreenW);
  EXPECT_EQ(back->y + back->rows * back->tileH, demo::kScreenH);
}

TEST_F(DemoScene, StarStretchesAroundItsCentre) {
  const VSprite &s = scene->star.sprite;
  for (uint32_t t = 0; t < 2 * demo::kPulsePeriodMs; t += 37) {
    demo::PulseStar(*scene, t);
    EXPECT_GE(s.dstW, 32);
    EXPECT_LE(s.dstW, 96);
    EXPECT_EQ(s.dstW, s.dstH);
    EXPECT_EQ(s.dstX + s.dstW / 2, demo::kPulseX);
    EXPECT_EQ(s.dstY + s.dstH / 2, demo::kPulseY);
    EXPECT_EQ(s.srcW, 32); // the source stays one frame
  }
  demo::PulseStar(*scene, demo::kPulsePeriodMs / 2);
  EXPECT_EQ(s.dstW, 96);
  demo::PulseStar(*scene, demo::kPulsePeriodMs);
  EXPECT_EQ(s.dstW, 32);
}

TEST_F(DemoScene, TopmostAtFollowsDrawingOrderAndSkipsTheCursor) {
  demo::MoveCursor(*scene, 424, 120);
  // Red (100) and green (110) overlap at (424, 120): green is drawn later.
  EXPECT_EQ(demo::TopmostAt(*scene, 424, 120), NodeOf(demo::kGreenBall));
  EXPECT_EQ(demo::TopmostAt(*scene, 5, 5), nullptr);
  // The yellow ball sits in the back layer; the crate/cyan pair in front.
  EXPECT_EQ(demo::TopmostAt(*scene, 120, 184), NodeOf(demo::kCyanBall));
  // A hidden sprite is not hit.
  NodeOf(demo::kGreenBall)->sprite->state = HIDDEN;
  EXPECT_EQ(demo::TopmostAt(*scene, 424, 120), NodeOf(demo::kRedBall));
}

TEST_F(DemoScene, RaiseAndLowerStepOverOneNeighbour) {
  VNode *red = NodeOf(demo::kRedBall);
  VNode *green = NodeOf(demo::kGreenBall);
  VNode *blue = NodeOf(demo::kBlueBall);
  EXPECT_TRUE(demo::Raise(*scene, red)); // over green, still under blue
  EXPECT_EQ(green->next, red);
  EXPECT_EQ(red->next, blue);
  EXPECT_EQ(demo::TopmostAt(*scene, 424, 120), red);
  EXPECT_TRUE(demo::Lower(red));
  EXPECT_EQ(Back()->first, red);
  EXPECT_FALSE(demo::Lower(red)); // already first
  EXPECT_TRUE(Ascending(Depths(Back())));
  // In the front layer nothing is raised over the cursor.
  VNode *star = scene->star.node;
  EXPECT_FALSE(demo::Raise(*scene, star));
  EXPECT_EQ(Front()->last, scene->cursor.node);
}

TEST_F(DemoScene, SwapLayerKeepsDepthAndCursorOnTop) {
  VNode *yellow = NodeOf(demo::kYellowBall);
  const int32_t depth = yellow->depth;
  demo::SwapLayer(*scene, yellow);
  EXPECT_EQ(yellow->owner, Front());
  EXPECT_EQ(yellow->depth, depth);
  EXPECT_EQ(Front()->last, scene->cursor.node);
  EXPECT_TRUE(Ascending(Depths(Front())));
  demo::SwapLayer(*scene, yellow);
  EXPECT_EQ(yellow->owner, Back());
  EXPECT_TRUE(Ascending(Depths(Back())));
}

TEST_F(DemoScene, AtMost64DropsThenTheOldestIsReused) {
  const std::size_t frontBefore = Depths(Front()).size();
  for (int i = 0; i < demo::kMaxDrops; ++i) {
    ASSERT_TRUE(demo::DropSprite(*scene, 10 * i, 100));
  }
  EXPECT_EQ(Depths(Front()).size(), frontBefore + demo::kMaxDrops);
  EXPECT_EQ(scene->dropCount, demo::kMaxDrops);

  // The oldest drop, moved to the back layer, comes back on top of the front.
  VNode *oldest = scene->drops[0].node;
  demo::SwapLayer(*scene, oldest);
  ASSERT_TRUE(demo::DropSprite(*scene, 300, 200));
  EXPECT_EQ(Depths(Front()).size(), frontBefore + demo::kMaxDrops);
  EXPECT_EQ(oldest->owner, Front());
  EXPECT_EQ(oldest->next, scene->cursor.node);
  EXPECT_EQ(scene->drops[0].sprite.dstX, 300 - 16); // centred on the click
  EXPECT_EQ(scene->drops[0].sprite.dstY, 200 - 16);
  EXPECT_EQ(demo::TopmostAt(*scene, 300, 200), oldest);
  EXPECT_TRUE(Ascending(Depths(Front())));
}

// The score: twelve characters of the font at twice their size in the top
// right corner, on the layer over the others; points add up to at most
// 999999, and showing a new score allocates nothing.
TEST_F(DemoScene, TheScoreIsTextOnTheTopLayer) {
  const auto shown = [this] {
    std::string text;
    int32_t x = demo::kScoreX;
    int shownChars = 0;
    for (VNode *n = scene->hud->first; n != nullptr; n = n->next) {
      const VSprite &s = *n->sprite;
      if (s.state == HIDDEN) {
        continue; // the space
      }
      ++shownChars;
      EXPECT_EQ(s.image, &font);
      EXPECT_EQ(s.dstY, demo::kScoreY);
      EXPECT_EQ(s.dstW, 16);
      EXPECT_EQ(s.dstH, 26);
      x = s.dstX < x ? s.dstX : x;
    }
    EXPECT_EQ(x, demo::kScoreX);
    EXPECT_EQ(shownChars, 11);
    return std::string(scene->scoreText.Text());
  };
  EXPECT_EQ(shown(), "SCORE 000000");
  EXPECT_EQ(demo::kScoreX + scene->scoreText.Width(), demo::kScreenW - 8);
  const size_t nodes = scene->scoreText.Capacity();
  demo::AddPoints(*scene, demo::kPointsForDrop);
  demo::AddPoints(*scene, demo::kPointsForSwap);
  EXPECT_EQ(shown(), "SCORE 000035");
  demo::AddPoints(*scene, 2000000000);
  EXPECT_EQ(shown(), "SCORE 999999");
  demo::AddPoints(*scene, demo::kPointsForDrop);
  EXPECT_EQ(shown(), "SCORE 999999");
  EXPECT_EQ(scene->scoreText.Capacity(), nodes);
}

TEST(DemoSceneFree, TakesTheSceneOffProgAndFreesIt) {
  // Run under LeakSanitizer in the test build: a record left behind fails.
  VProg prog;
  VImg sprites;
  VImg font;
  Scene *scene = demo::BuildScene(&prog, &sprites, &font);
  ASSERT_NE(scene, nullptr);
  for (int i = 0; i < 70; ++i) {
    demo::DropSprite(*scene, i, i);
  }
  demo::SwapLayer(*scene, scene->drops[3].node);
  demo::FreeScene(&prog, scene);
  EXPECT_EQ(prog.layers, nullptr);
  demo::FreeScene(&prog, nullptr); // nothing to free
}

} // namespace
