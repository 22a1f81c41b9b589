// pixel_convert_sdl.cpp - SDL2's conversion of 0x00RRGGBB rows into the
// device's 16, 24 and 32-bit pixels (the desktop build's).
#include "platform/soft/pixel_format.h"

#include <SDL.h>

namespace soft {

bool ConvertFromRgbSdl(const uint32_t *src, int64_t srcPitch, uint8_t *dst, int64_t dstPitch,
                       int32_t bpp, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    return bpp == 16 || bpp == 24 || bpp == 32;
  }
  if (srcPitch > INT32_MAX || dstPitch > INT32_MAX) {
    return false; // SDL takes pitches as int
  }
  Uint32 format = 0;
  switch (bpp) {
  case 16:
    format = SDL_PIXELFORMAT_RGB565;
    break;
  case 24:
    format = SDL_PIXELFORMAT_BGR24; // bytes blue, green, red: the Windows order
    break;
  case 32:
    format = SDL_PIXELFORMAT_XRGB8888;
    break;
  default:
    return false;
  }
  return SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_XRGB8888, src, static_cast<int>(srcPitch),
                           format, dst, static_cast<int>(dstPitch)) == 0;
}

} // namespace soft
