// demo_art.h - the demo's two bitmaps: what is where in them, and their colours.
//
// Both bitmaps are made by make_bitmaps.cpp at build time and written next to
// prog.dll. The module only needs the file names and where each tile and
// frame lies; the colours are here so that the generator, the tests and the
// README agree on them.
//
// Transparency: the host keys every image on its own top-left pixel. Both
// bitmaps have magenta (255, 0, 255) there, so every magenta pixel of either
// image is transparent, and no other colour in them is magenta.
#ifndef VANTREL_DEMO_ART_H
#define VANTREL_DEMO_ART_H

#include <cstdint>

namespace demo {

struct Rgb {
  uint8_t r, g, b;
};

// ---------------------------------------------------------------------------
// tiles.bmp: the tileset, 4 x 2 tiles of 32 x 32 pixels (128 x 64 pixels).
// It must be the first image the module adds: every tile map is drawn from
// the first image on the host's image list.
// ---------------------------------------------------------------------------
constexpr const char *kTilesFile = "tiles.bmp";
// The SDK's font (made by the build, copied next to prog.dll), and the
// demo's sounds (made by make_sounds.cpp): a falling blip for a drop, two
// rising notes for a change of layer, a click for a change of depth.
constexpr const char *kFontFile = "vantrel-font.bmp";
constexpr const char *kDropSound = "drop.wav";
constexpr const char *kSwapSound = "swap.wav";
constexpr const char *kTickSound = "tick.wav";
constexpr int32_t kTileSize = 32;
constexpr int32_t kTilesetCols = 4;
constexpr int32_t kTilesetRows = 2;

// A tile's place in the tileset, counted in tiles (what VCell stores).
struct Tile {
  int32_t col, row;
};

constexpr Tile kHoleTile{0, 0};     // all magenta: wholly transparent
constexpr Tile kGrassTile{1, 0};    // background
constexpr Tile kSandTile{2, 0};     // background
constexpr Tile kWaterTile{3, 0};    // background
constexpr Tile kRockTile{0, 1};     // background: the world's edge
constexpr Tile kStoneTile{1, 1};    // foreground: the panel at the bottom
constexpr Tile kPortholeTile{2, 1}; // foreground: stone with a round hole
constexpr Tile kCanopyTile{3, 1};   // foreground: a round tree top on magenta

// Every background tile and the stone tile are one body colour with a 2-pixel
// bevel: the top and left 2 pixels lighter, the bottom and right 2 pixels
// darker. Pixels 2..29 x 2..29 of such a tile are the body colour.
constexpr Rgb kKey{255, 0, 255};
constexpr Rgb kGrass{56, 160, 56};
constexpr Rgb kSand{216, 192, 120};
constexpr Rgb kWater{48, 96, 200};
constexpr Rgb kRock{112, 112, 120};
constexpr Rgb kStone{136, 96, 56};
constexpr Rgb kCanopy{24, 104, 40};
constexpr int32_t kBevel = 2;
// The porthole's hole: the pixels of the porthole tile within this distance
// of the tile's centre (16, 16) are magenta, so the layer below shows.
constexpr int32_t kPortholeRadius = 11;
// The canopy: a disc of this radius around the tile's centre; magenta outside.
constexpr int32_t kCanopyRadius = 15;

// ---------------------------------------------------------------------------
// sprites.bmp: 8 frames of 32 x 32 pixels side by side (256 x 32 pixels).
// Frame f is the rectangle x = 32 f .. 32 f + 31.
// ---------------------------------------------------------------------------
constexpr const char *kSpritesFile = "sprites.bmp";
constexpr int32_t kFrameSize = 32;
constexpr int32_t kFrameCount = 8;

enum Frame : int32_t {
  kRedBall = 0,
  kGreenBall = 1,
  kBlueBall = 2,
  kYellowBall = 3,
  kCyanBall = 4,
  kStar = 5,   // the pulsing, stretched sprite
  kCursor = 6, // the sprite that follows the pointer (the host hides the system one)
  kCrate = 7,  // a square, wholly opaque
};

// A ball: a disc of radius 15 around (16, 16) (pixels whose centre lies
// within 15.5), its body colour out to radius 13, a darker rim beyond, a white
// 3 x 3 glint at frame pixels 10..12 x 10..12, magenta outside the disc.
constexpr Rgb kBallColours[5] = {
    {224, 48, 48}, {48, 192, 64}, {64, 96, 232}, {240, 216, 48}, {48, 208, 216}};
constexpr int32_t kBallRadius = 15;
constexpr int32_t kBallBodyRadius = 13;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kStarFill{248, 200, 40};
constexpr Rgb kStarEdge{200, 96, 16};
constexpr Rgb kCrateWood{168, 112, 56};
constexpr Rgb kCrateDark{104, 64, 32};

// The pointer's hot spot within the cursor frame: the cursor sprite is drawn
// with this pixel at the pointer position.
constexpr int32_t kCursorHotX = 16;
constexpr int32_t kCursorHotY = 16;

} // namespace demo

#endif // VANTREL_DEMO_ART_H
