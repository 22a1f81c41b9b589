// presentation.cpp - showing the soft device's front buffer in the window:
// an SDL renderer with a streaming texture of the mode's size, drawn
// letterboxed and scaled to the full screen.
#include "platform/sdl/backend_state.h"
#include "platform/soft/soft_device.h"

#include <array>
#include <cstddef>
#include <cstdio>

namespace sdlplat {
namespace {

SDL_Renderer *renderer = nullptr;
SDL_Texture *texture = nullptr;
int32_t modeW = 0;
int32_t modeH = 0;
int32_t modeBpp = 0;
bool haveFrame = false;
std::array<uint32_t, 256> palette{};

// The device's pixel format for each depth. The texture is always XRGB8888,
// the format renderers and window surfaces scale fastest; each frame is
// converted into it on upload (8-bit frames through the palette).
uint32_t DeviceFormat(int32_t bpp) {
  switch (bpp) {
  case 8:
    return SDL_PIXELFORMAT_INDEX8;
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

constexpr uint32_t kTextureFormat = SDL_PIXELFORMAT_RGB888;

void ShowTexture() {
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer); // the letterbox bars
  if (haveFrame) {
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  }
  SDL_RenderPresent(renderer);
}

} // namespace

bool CreateRenderer(SDL_Window *window) {
  if (renderer != nullptr) {
    return true;
  }
  // SDL_RENDER_DRIVER in the environment chooses the renderer, if set.
  renderer = window != nullptr ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (renderer == nullptr) {
    std::fprintf(stderr, "vantrel: no renderer: %s\n", SDL_GetError());
    return false;
  }
  return true;
}

bool SetUpPresentation(SDL_Window *window, int32_t w, int32_t h, int32_t bpp) {
  if (window == nullptr || w <= 0 || h <= 0 || DeviceFormat(bpp) == SDL_PIXELFORMAT_UNKNOWN ||
      !CreateRenderer(window)) {
    return false;
  }
  if (texture != nullptr) {
    SDL_DestroyTexture(texture);
    texture = nullptr;
  }
  haveFrame = false;
  modeW = modeH = modeBpp = 0;
  texture = SDL_CreateTexture(renderer, kTextureFormat, SDL_TEXTUREACCESS_STREAMING, w, h);
  if (texture == nullptr || SDL_RenderSetLogicalSize(renderer, w, h) != 0) {
    std::fprintf(stderr, "vantrel: cannot present %dx%dx%d: %s\n", w, h, bpp, SDL_GetError());
    return false;
  }
  if (bpp == 8) {
    for (size_t i = 0; i < palette.size(); ++i) {
      palette[i] = soft::PaletteRgb(static_cast<uint8_t>(i));
    }
  }
  modeW = w;
  modeH = h;
  modeBpp = bpp;
  if (!exclusive) {
    ApplyWindowMode(); // the window takes the new mode's size
  }
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
  void *dst = nullptr;
  int dstPitch = 0;
  if (SDL_LockTexture(texture, nullptr, &dst, &dstPitch) != 0) {
    return;
  }
  if (view.bpp == 8) {
    for (int32_t y = 0; y < view.height; ++y) {
      const uint8_t *srcRow = view.pixels + static_cast<ptrdiff_t>(y) * view.pitch;
      auto *dstRow = reinterpret_cast<uint32_t *>(static_cast<uint8_t *>(dst) +
                                                  static_cast<ptrdiff_t>(y) * dstPitch);
      for (int32_t x = 0; x < view.width; ++x) {
        dstRow[x] = palette[srcRow[x]];
      }
    }
  } else {
    SDL_ConvertPixels(view.width, view.height, DeviceFormat(view.bpp), view.pixels, view.pitch,
                      kTextureFormat, dst, dstPitch);
  }
  SDL_UnlockTexture(texture);
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

SDL_Renderer *PresentationRenderer() { return renderer; }

bool PresentedModeSize(int32_t *w, int32_t *h) {
  if (texture == nullptr || w == nullptr || h == nullptr) {
    return false;
  }
  *w = modeW;
  *h = modeH;
  return true;
}

} // namespace sdlplat
