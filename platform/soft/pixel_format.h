// pixel_format.h - the device's four pixel formats.
//
//   8 bits: an index into one fixed 256-colour palette (see PaletteRgb)
//  16 bits: RGB565
//  24 bits: three bytes blue, green, red (0x00RRGGBB in little-endian order)
//  32 bits: XRGB8888
#ifndef VANTREL_PLATFORM_SOFT_PIXEL_FORMAT_H
#define VANTREL_PLATFORM_SOFT_PIXEL_FORMAT_H

#include "platform/platform.h"

#include <cstdint>

namespace soft {

bool IsDeviceBpp(int64_t bpp);

// Reads and writes one stored pixel value of `bytes` bytes, little-endian.
uint32_t LoadPixel(const uint8_t *p, int32_t bytes);
void StorePixel(uint8_t *p, int32_t bytes, uint32_t value);

// The palette index closest to 0x00RRGGBB (least squared RGB distance).
uint8_t NearestPaletteIndex(uint32_t rgb);

// A stored value of a `bpp`-bit pixel as 0x00RRGGBB.
uint32_t DecodePixel(int32_t bpp, uint32_t value);

// The pixel format record Lock reports for a surface of `bpp` bits.
plat::DDPIXELFORMAT PixelFormatFor(int32_t bpp);

// The `bpp` a pixel format record describes, or 0 when it is not one of ours.
int32_t BppOfPixelFormat(const plat::DDPIXELFORMAT &pf);

// Converts a rectangle of 0x00RRGGBB pixels into `bpp`-bit stored pixels.
// False when the conversion could not be done.
bool ConvertFromRgb(const uint32_t *src, int64_t srcPitch, uint8_t *dst, int64_t dstPitch,
                    int32_t bpp, int32_t width, int32_t height);

// The two ways of converting into 16, 24 and 32 bits that ConvertFromRgb
// chooses from: SDL2's (the desktop build) and our own (builds without SDL2).
// They give the same bytes: in 16 bits each channel keeps its high bits; in
// 24 bits the bytes are blue, green, red; 32 bits are copied as they are.
// False for another depth.
bool ConvertFromRgbOwn(const uint32_t *src, int64_t srcPitch, uint8_t *dst, int64_t dstPitch,
                       int32_t bpp, int32_t width, int32_t height);
bool ConvertFromRgbSdl(const uint32_t *src, int64_t srcPitch, uint8_t *dst, int64_t dstPitch,
                       int32_t bpp, int32_t width, int32_t height);

} // namespace soft

#endif
