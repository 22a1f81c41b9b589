// reference_scene.h - the scene the render-pass benchmarks draw: two layers,
// each a full-screen map of 32x32 tiles (21 x 16 drawn, scrolled so the edges
// are clipped), 500 sprites of 32x32 and 25 more stretched to 48x48, at
// depths 0..99. The first layer's tiles are opaque; the second's are
// half empty and half discs on the key colour.
#ifndef VANTREL_BENCH_REFERENCE_SCENE_H
#define VANTREL_BENCH_REFERENCE_SCENE_H

#include "vantrel.h"

#include <cstdint>

struct SDL_Surface;

namespace bench {

struct ReferenceScene {
  int32_t bpp = 0;
  VImg *images = nullptr; // the tileset, then the sprite sheet: prog.ihead
  VLayer *layers = nullptr;
  int32_t drawnItems = 0; // tiles and sprites drawn per pass
  // The same pictures for SDL2, and a 640x480 screen of the mode's format.
  SDL_Surface *sdlTiles = nullptr;
  SDL_Surface *sdlSprites = nullptr;
  SDL_Surface *sdlScreen = nullptr;
};

// The scene at `bpp`, built on first use (in that display mode) and kept.
const ReferenceScene &SceneFor(int32_t bpp);

// Makes it the module's scene: prog.layers and prog.ihead.
void Install(const ReferenceScene &scene);

// The same draws as one render pass, issued through SDL2 into sdlScreen:
// SDL_BlitSurface with the colour key for tiles and same-size sprites,
// SDL_BlitScaled for stretched sprites.
void DrawWithSdl(const ReferenceScene &scene);

} // namespace bench

#endif
