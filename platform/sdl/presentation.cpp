// presentation.cpp - showing the soft device's front buffer in the window:
// an SDL renderer with a streaming texture of the mode's size, drawn
// letterboxed and scaled to the full screen.
#include "platform/sdl/backend_state.h"
#include "platform/soft/soft_device.h"

#include <array>
#include <cstdio>
#include <vector>

namespace sdlplat {
namespace {

SDL_Renderer *renderer = nullptr;
SDL_Texture *texture = nullptr;
int32_t modeW = 0;
int32_t modeH = 0;
int32_t modeBpp = 0;
bool haveFrame = false;
std::array<uint32_t, 256> palette{};
std::vector<uint32_t> converted; // an 8-bit frame as XRGB8888

// The texture format that takes the device's pixels as they are stored; 8-bit
// frames are converted through the palette first.
uint32_t TextureFormat(int32_t bpp) {
  switch (bpp) {
  case 8:
    return SDL_PIXELFORMAT_RGB888;
  case 16:
    return SDL_PIXELFORMAT_RGB565;
  case 24:
    return SDL_PIXELFORMAT_BGR24;
  case 32:
    return SDL_PIXELFORMAT_RGB888;
  default:
    return SDL_PIXELFORMAT_UNKNOWN;
  }
}

void ShowTexture() {
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer); // the letterbox bars
  if (haveFrame) {
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  }
  SDL_RenderPresent(renderer);
}

} // namespace

bool SetUpPresentation(SDL_Window *window, int32_t w, int32_t h, int32_t bpp) {
  const uint32_t format = TextureFormat(bpp);
  if (window == nullptr || w <= 0 || h <= 0 || format == SDL_PIXELFORMAT_UNKNOWN) {
    return false;
  }
  if (renderer == nullptr) {
    // SDL_RENDER_DRIVER in the environment chooses the renderer, if set.
    renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr) {
      std::fprintf(stderr, "vantrel: no renderer: %s\n", SDL_GetError());
      return false;
    }
  }
  if (texture != nullptr) {
    SDL_DestroyTexture(texture);
    texture = nullptr;
  }
  haveFrame = false;
  modeW = modeH = modeBpp = 0;
  texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, w, h);
  if (texture == nullptr || SDL_RenderSetLogicalSize(renderer, w, h) != 0) {
    std::fprintf(stderr, "vantrel: cannot present %dx%dx%d: %s\n", w, h, bpp, SDL_GetError());
    return false;
  }
  if (bpp == 8) {
    for (size_t i = 0; i < palette.size(); ++i) {
      palette[i] = soft::PaletteRgb(static_cast<uint8_t>(i));
    }
    converted.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  } else {
    converted.clear();
    converted.shrink_to_fit();
  }
  modeW = w;
  modeH = h;
  modeBpp = bpp;
  ShowTexture(); // a black screen until the first frame
  return true;
}

void PresentFrontBuffer() {
  soft::SurfaceView view{};
  if (renderer == nullptr || !soft::View(soft::Primary(), &view)) {
    return;
  }
  if (view.width != modeW || view.height != modeH || view.bpp != modeBpp) {
    if (!SetUpPresentation(MainSdlWindow(), view.width, view.height, view.bpp)) {
      return;
    }
  }
  if (view.bpp == 8) {
    for (int32_t y = 0; y < view.height; ++y) {
      const uint8_t *src = view.pixels + static_cast<ptrdiff_t>(y) * view.pitch;
      uint32_t *dst = converted.data() + static_cast<ptrdiff_t>(y) * view.width;
      for (int32_t x = 0; x < view.width; ++x) {
        dst[x] = palette[src[x]];
      }
    }
    SDL_UpdateTexture(texture, nullptr, converted.data(), view.width * 4);
  } else {
    SDL_UpdateTexture(texture, nullptr, view.pixels, view.pitch);
  }
  haveFrame = true;
  ShowTexture();
}

void RepresentLastFrame() {
  if (renderer != nullptr && texture != nullptr) {
    ShowTexture();
  }
}

void TearDownPresentation() {
  if (texture != nullptr) {
    SDL_DestroyTexture(texture);
    texture = nullptr;
  }
  if (renderer != nullptr) {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
  }
  modeW = modeH = modeBpp = 0;
  haveFrame = false;
}

bool PresentedModeSize(int32_t *w, int32_t *h) {
  if (texture == nullptr || w == nullptr || h == nullptr) {
    return false;
  }
  *w = modeW;
  *h = modeH;
  return true;
}

} // namespace sdlplat
