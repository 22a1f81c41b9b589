// reference_scene.cpp - building the benchmark scene and drawing it with SDL2.
#include "bench/reference_scene.h"

#include "bench/bench_surfaces.h"
#include "module/prog_instance.h"
#include "platform/soft/soft_device.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace bench {
namespace {

constexpr int32_t kTile = 32;
constexpr int32_t kSheetCells = 8; // both pictures are 8 x 8 cells of 32x32
constexpr int32_t kViewCols = 21;
constexpr int32_t kViewRows = 16;
constexpr int32_t kSpritesPerLayer = 500;  // same size, 32x32
constexpr int32_t kStretchedPerLayer = 25; // 32x32 shown at 48x48

// The tileset: row 0 is empty (all key), rows 1..3 discs, rows 4..7 opaque.
plat::Surface MakeTileset() {
  plat::Surface s = NewSurface(kTile * kSheetCells, kTile * kSheetCells);
  PaintCells(s, kTile, false, 11);
  soft::SurfaceView v{};
  soft::View(s, &v);
  const uint32_t key = KeyValue(v.bpp);
  std::mt19937 rnd(12);
  const int32_t bytes = v.bpp / 8;
  for (int32_t y = 0; y < v.height; ++y) {
    uint8_t *row = v.pixels + static_cast<int64_t>(y) * v.pitch;
    for (int32_t x = 0; x < v.width; ++x) {
      uint32_t value = key;
      if (y >= 4 * kTile) {
        do {
          value = soft::EncodeRgb(v.bpp, static_cast<uint32_t>(rnd()) & 0xFFFFFF);
        } while (value == key);
      } else if (y >= kTile) {
        continue; // keep the disc
      }
      for (int32_t i = 0; i < bytes; ++i) {
        row[x * bytes + i] = static_cast<uint8_t>(value >> (8 * i));
      }
    }
  }
  return s;
}

VImg *ImageOf(plat::Surface s, const char *name) {
  auto *holder = new VSurf();
  soft::SurfaceView v{};
  soft::View(s, &v);
  holder->surface = s;
  holder->width = v.width;
  holder->height = v.height;
  return new VImg(holder, name, IMG_LOAD);
}

VMap *MakeMap(std::mt19937 &rnd, bool upper) {
  auto *map =
      new VMap(kViewCols, kViewRows, 0, MAP_SHOWN, -7, -5, kViewCols, kViewRows, kTile, kTile, 0);
  for (int32_t i = 0; i < kViewCols * kViewRows; ++i) {
    VCell &c = map->cells[i];
    c.tileCol = static_cast<int32_t>(rnd() % kSheetCells);
    if (upper) {
      c.tileRow = rnd() % 2 == 0 ? 0 : 1 + static_cast<int32_t>(rnd() % 3);
    } else {
      c.tileRow = 4 + static_cast<int32_t>(rnd() % 4);
    }
  }
  return map;
}

void AddSprites(std::mt19937 &rnd, VLayer *layer, VImg *sheet) {
  for (int32_t i = 0; i < kSpritesPerLayer + kStretchedPerLayer; ++i) {
    const bool stretched = i % 21 == 0 && i / 21 < kStretchedPerLayer;
    const int32_t size = stretched ? 48 : kTile;
    auto *sprite =
        new VSprite(sheet, static_cast<int32_t>(rnd() % kSheetCells) * kTile,
                    static_cast<int32_t>(rnd() % kSheetCells) * kTile, kTile, kTile,
                    static_cast<int32_t>(rnd() % (640 + size)) - size / 2,
                    static_cast<int32_t>(rnd() % (480 + size)) - size / 2, size, size, SPR_SHOWN);
    VNode *node = layer->Add(static_cast<int32_t>(rnd() % 100), i, 0);
    if (node == nullptr) {
      std::fprintf(stderr, "vantrel_bench: no memory for the scene\n");
      std::exit(1);
    }
    node->sprite = sprite;
  }
}

ReferenceScene Build(int32_t bpp) {
  UseMode(bpp);
  ReferenceScene scene;
  scene.bpp = bpp;
  plat::Surface tiles = MakeTileset();
  plat::Surface sheet = NewSurface(kTile * kSheetCells, kTile * kSheetCells);
  PaintCells(sheet, kTile, false, 21);
  scene.images = ImageOf(tiles, "tiles.bmp");
  scene.images->next = ImageOf(sheet, "sprites.bmp");

  std::mt19937 rnd(31);
  auto *bottom = new VLayer();
  auto *top = new VLayer();
  bottom->next = top;
  bottom->map = MakeMap(rnd, false);
  top->map = MakeMap(rnd, true);
  AddSprites(rnd, bottom, scene.images->next);
  AddSprites(rnd, top, scene.images->next);
  scene.layers = bottom;
  scene.drawnItems = 2 * (kViewCols * kViewRows + kSpritesPerLayer + kStretchedPerLayer);

#if defined(VANTREL_BENCH_SDL2)
  scene.sdlTiles = AsSdl(tiles);
  scene.sdlSprites = AsSdl(sheet);
  scene.sdlScreen =
      SDL_CreateRGBSurfaceWithFormat(0, 640, 480, bpp, scene.sdlTiles->format->format);
  if (scene.sdlScreen == nullptr) {
    std::fprintf(stderr, "vantrel_bench: %s\n", SDL_GetError());
    std::exit(1);
  }
  if (bpp == 8) {
    SDL_SetSurfacePalette(scene.sdlScreen, scene.sdlTiles->format->palette);
  }
#endif
  return scene;
}

#if defined(VANTREL_BENCH_SDL2)
void DrawMapWithSdl(const VMap &map, SDL_Surface *tiles, SDL_Surface *screen) {
  int32_t k = 0;
  for (uint32_t r = 0; r < map.viewRows; ++r) {
    for (uint32_t c = 0; c < map.viewCols; ++c, ++k) {
      const VCell &cell = map.cells[k];
      SDL_Rect src{cell.tileCol * map.tileW, cell.tileRow * map.tileH, map.tileW, map.tileH};
      SDL_Rect dst{map.x + static_cast<int32_t>(c) * map.tileW,
                   map.y + static_cast<int32_t>(r) * map.tileH, map.tileW, map.tileH};
      SDL_BlitSurface(tiles, &src, screen, &dst);
    }
  }
}
#endif

} // namespace

const ReferenceScene &SceneFor(int32_t bpp) {
  static std::array<ReferenceScene, 4> scenes{};
  ReferenceScene &s = scenes[static_cast<size_t>(bpp / 8 - 1) % scenes.size()];
  if (s.bpp != bpp) {
    s = Build(bpp);
  }
  return s;
}

void Install(const ReferenceScene &scene) {
  vantrel::prog.layers = scene.layers;
  vantrel::prog.ihead = scene.images;
}

#if defined(VANTREL_BENCH_SDL2)
void DrawWithSdl(const ReferenceScene &scene) {
  for (const VLayer *layer = scene.layers; layer != nullptr; layer = layer->next) {
    if (layer->map != nullptr && layer->map->state != HIDDEN) {
      DrawMapWithSdl(*layer->map, scene.sdlTiles, scene.sdlScreen);
    }
    for (const VNode *node = layer->first; node != nullptr; node = node->next) {
      const VSprite *sp = node->sprite;
      if (sp == nullptr || sp->state == HIDDEN) {
        continue;
      }
      SDL_Rect src{sp->srcX, sp->srcY, sp->srcW, sp->srcH};
      SDL_Rect dst{sp->dstX, sp->dstY, sp->dstW, sp->dstH};
      if (sp->dstW == sp->srcW && sp->dstH == sp->srcH) {
        SDL_BlitSurface(scene.sdlSprites, &src, scene.sdlScreen, &dst);
      } else {
        SDL_BlitScaled(scene.sdlSprites, &src, scene.sdlScreen, &dst);
      }
    }
  }
}

#endif

} // namespace bench
