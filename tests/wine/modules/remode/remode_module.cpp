// remode_module.cpp - a game module that sets its display mode again after
// loading its bitmaps, and draws stretched sprites cut at the screen edges.
//
// It sets 640x480x16 and adds "tiles.bmp" (the tileset) and "sprite.bmp" (a
// 16x16 sprite whose every pixel tells its own column and row), both written
// by the test. Its scene: a map of 32x32 tiles over the whole screen, one
// copy of the sprite stretched to 64x64 whole in the middle of the screen,
// and four more cut by 24 pixels at the left, top, right and bottom edges.
// Every call answers non-zero, so every idle turn draws a frame. M sets the
// mode once more, N sets 640x480x32; each writes "setmode again BPP -> R" to
// "remode.txt".
#include "vantrel.h"

#include <cstdio>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;

void Note(const char *text, int32_t a, int32_t b) {
  if (FILE *f = std::fopen("remode.txt", "a")) {
    std::fprintf(f, text, a, b);
    std::fclose(f);
  }
}

void Init() {
  Note("setmode %d -> %d\n", 16, prog->SetMode(640, 480, 16));
  VImg *tiles = prog->AddImage("tiles.bmp", IMG_LOAD);
  VImg *sprite = prog->AddImage("sprite.bmp", IMG_LOAD);
  Note("images %d %d\n", tiles != nullptr ? 1 : 0, sprite != nullptr ? 1 : 0);

  auto *map = new VMap(20, 15, 0, MAP_SHOWN, 0, 0, 20, 15, 32, 32, 0);
  for (int32_t i = 0; i < 20 * 15; ++i) {
    map->cells[i].tileCol = 1; // tile 0 holds the key colour
  }
  auto *layer = new VLayer();
  layer->map = map;
  const int32_t places[][2] = {{400, 100}, {-24, 100}, {200, -24}, {600, 200}, {300, 440}};
  int32_t index = 0;
  for (const auto &at : places) {
    auto *s = new VSprite(sprite, 0, 0, 16, 16, at[0], at[1], 64, 64, SPR_SHOWN);
    layer->Add(index, index, 0)->sprite = s;
    ++index;
  }
  prog->layers = layer;
}

} // namespace

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  prog->version = 1;
  return 1;
}

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t) {
  const VEvent &e = prog->event;
  if (e.code == EV_INIT) {
    Init();
  } else if (e.code == EV_KEYDOWN && (e.key == 'M' || e.key == 'N')) {
    const int32_t bpp = e.key == 'M' ? 16 : 32;
    Note("setmode again %d -> %d\n", bpp, prog->SetMode(640, 480, bpp));
  }
  return 1;
}
