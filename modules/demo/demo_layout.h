// demo_layout.h - where everything of the demo lies on the screen.
//
// Pure data and small formulas, shared by the module and its tests. The
// facts below hold in the first frames, before any input (16-bit mode, so
// compare colours with a tolerance of 8 per channel):
//
//   screen (16, 16)    rock       background cell (0, 0): the world's edge
//   screen (48, 48)    sand       background cell (1, 1)
//   screen (80, 48)    grass      background cell (2, 1); the sand/grass edge is at x = 64
//   screen (48, 272)   sand       background cell (1, 8): the river bank
//   screen (48, 304)   water      background cell (1, 9): the river
//   screen (48, 400)   stone      foreground panel, tile row 12
//   screen (16, 432)   stone      foreground panel, tile row 13, even column
//   screen (48, 432)   sand       the hole of the porthole at foreground cell (1, 13)
//                                 shows background cell (1, 13)
//   screen (112, 112)  canopy     foreground cell (3, 3)
//   screen (424, 120)  green ball over the red ball (depth 110 over 100)
//   screen (440, 136)  blue ball over the green ball (depth 120 over 110)
//   screen (216, 376)  yellow ball (background layer) ...
//   screen (216, 392)  stone      ... whose lower half lies under the foreground panel
//   screen (120, 184)  cyan ball over the crate (front layer, depth 210 over 200)
//   screen (100, 164)  crate wood
//
// One press of Right scrolls the background 16 pixels to the left: the
// sand/grass edge in row y = 32..63 moves from x = 64 to x = 48, so screen
// (56, 40) turns from sand to grass. Down scrolls it 16 pixels up: (40, 280)
// turns from sand to water. Left and Up do nothing in the first frames: the
// map's top-left corner is on screen.
//
// The pulsing star (centre (544, 176), between 32 x 32 and 96 x 96 pixels)
// and the cursor (the cross of the cursor frame, its centre on the pointer;
// it starts at (320, 240)) move; do not sample pixels there. The score lies
// over x = 440..631, y = 8..33.
#ifndef VANTREL_DEMO_LAYOUT_H
#define VANTREL_DEMO_LAYOUT_H

#include "demo_art.h"

#include <cstdint>

namespace demo {

// The display mode the demo asks for.
constexpr int32_t kScreenW = 640;
constexpr int32_t kScreenH = 480;
constexpr int32_t kScreenBpp = 16;

// ---------------------------------------------------------------------------
// The background map: 40 x 30 tiles (1280 x 960 pixels), twice the screen
// each way, scrolled with the arrow keys by kScrollStep pixels a press.
// ---------------------------------------------------------------------------
constexpr int32_t kBackCols = 40;
constexpr int32_t kBackRows = 30;
constexpr int32_t kScrollStep = 16;
// The map's position runs from its top-left corner on screen (0, 0) to its
// bottom-right corner on screen (kMinMapX, kMinMapY).
constexpr int32_t kMinMapX = kScreenW - kBackCols * kTileSize; // -640
constexpr int32_t kMinMapY = kScreenH - kBackRows * kTileSize; // -480
constexpr int32_t kRiverRow = 9;                               // rows 9 and 10 are water

// The tile of background cell (col, row).
constexpr Tile BackgroundTile(int32_t col, int32_t row) {
  if (col == 0 || row == 0 || col == kBackCols - 1 || row == kBackRows - 1) {
    return kRockTile;
  }
  if (row == kRiverRow || row == kRiverRow + 1) {
    return kWaterTile;
  }
  if (row == kRiverRow - 1 || row == kRiverRow + 2) {
    return kSandTile; // the river's banks
  }
  // Elsewhere diagonal bands of 2 x 2 sand blocks across the grass.
  return (col / 2 + row / 2) % 3 == 0 ? kSandTile : kGrassTile;
}

// Clamps a background position so the map always covers the screen.
constexpr int32_t ClampMapX(int32_t x) { return x > 0 ? 0 : (x < kMinMapX ? kMinMapX : x); }
constexpr int32_t ClampMapY(int32_t y) { return y > 0 ? 0 : (y < kMinMapY ? kMinMapY : y); }

// ---------------------------------------------------------------------------
// The foreground map: exactly one screen (20 x 15 tiles), never scrolled.
// Mostly holes (wholly transparent tiles), three tree tops, and a stone panel
// over the bottom three tile rows with portholes in its middle row.
// ---------------------------------------------------------------------------
constexpr int32_t kForeCols = kScreenW / kTileSize; // 20
constexpr int32_t kForeRows = kScreenH / kTileSize; // 15
constexpr int32_t kPanelRow = 12;                   // rows 12, 13 and 14 are the panel

constexpr Tile ForegroundTile(int32_t col, int32_t row) {
  if (row >= kPanelRow) {
    return (row == kPanelRow + 1 && col % 2 == 1) ? kPortholeTile : kStoneTile;
  }
  if ((col == 3 && row == 3) || (col == 10 && row == 6) || (col == 16 && row == 8)) {
    return kCanopyTile;
  }
  return kHoleTile;
}

// ---------------------------------------------------------------------------
// Sprites
// ---------------------------------------------------------------------------
enum Layer : int32_t { kBackLayer = 0, kFrontLayer = 1 };

// A sprite of the first frame: its frame in sprites.bmp, its top-left corner
// on the screen, the layer it starts in and its depth there.
struct Placement {
  Frame frame;
  int32_t x, y;
  Layer layer;
  int32_t depth;
};

constexpr Placement kStartSprites[] = {
    // Three balls overlapping at rising depths: the later covers the earlier.
    {kRedBall, 400, 96, kBackLayer, 100},
    {kGreenBall, 416, 112, kBackLayer, 110},
    {kBlueBall, 432, 128, kBackLayer, 120},
    // A ball in the background layer whose lower half is under the panel.
    {kYellowBall, 200, 368, kBackLayer, 130},
    // A ball over a crate in the front layer.
    {kCrate, 96, 160, kFrontLayer, 200},
    {kCyanBall, 112, 176, kFrontLayer, 210},
};
constexpr int32_t kStartSpriteCount = sizeof kStartSprites / sizeof kStartSprites[0];

// The star in the front layer, stretched from kFrameSize up to 3 x kFrameSize
// and back every kPulsePeriodMs, always centred on (kPulseX, kPulseY).
constexpr int32_t kPulseX = 544;
constexpr int32_t kPulseY = 176;
constexpr int32_t kPulseDepth = 300;
constexpr uint32_t kPulsePeriodMs = 1200;

// The pulsing star's edge length after `clockMs` milliseconds: a triangle wave
// from 32 up to 96 and back down to 32, in steps of 2 pixels so it stays
// centred on a whole pixel.
constexpr int32_t PulseSize(uint32_t clockMs) {
  const uint32_t half = kPulsePeriodMs / 2;
  const uint32_t t = clockMs % kPulsePeriodMs;
  const uint32_t up = t < half ? t : kPulsePeriodMs - t; // 0 .. half
  return kFrameSize + 2 * static_cast<int32_t>(up * static_cast<uint32_t>(kFrameSize) / half);
}

// The cursor: the front layer's topmost sprite, its hot spot on the pointer.
constexpr int32_t kCursorStartX = kScreenW / 2;
constexpr int32_t kCursorStartY = kScreenH / 2;
constexpr int32_t kCursorDepth = 1000000000;

// Sprites dropped with the left button go into the front layer at rising
// depths, at most kMaxDrops of them; after that the oldest is picked up again.
constexpr int32_t kMaxDrops = 64;
constexpr int32_t kFirstDropDepth = 1000;
constexpr int32_t kDropDepthStep = 10;

// Shift held down (GetKeyState) makes an arrow key scroll this many steps.
constexpr int32_t kFastScrollSteps = 4;

// ---------------------------------------------------------------------------
// The score: "SCORE 000000" in the top right corner, drawn at twice its size
// with the SDK's font (vantrel-font.bmp, 8 x 13 cells) by the module kit's
// text, on a layer of its own over the two others. Points for each change
// of the scene the player makes.
// ---------------------------------------------------------------------------
constexpr int32_t kScoreScale = 2;
constexpr int32_t kScoreChars = 12;                                       // "SCORE " and six digits
constexpr int32_t kScoreX = kScreenW - 8 - kScoreChars * 8 * kScoreScale; // 440
constexpr int32_t kScoreY = 8;
constexpr int32_t kScoreDepth = 1;
constexpr int32_t kPointsForDrop = 10;
constexpr int32_t kPointsForSwap = 25;
constexpr int32_t kPointsForReorder = 5;
constexpr int32_t kMaxScore = 999999;

} // namespace demo

#endif // VANTREL_DEMO_LAYOUT_H
