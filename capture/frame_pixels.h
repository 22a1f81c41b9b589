// frame_pixels.h - a soft device surface as 32-bit pixels for a screen: a
// page's canvas or a Windows device-independent bitmap.
#ifndef VANTREL_CAPTURE_FRAME_PIXELS_H
#define VANTREL_CAPTURE_FRAME_PIXELS_H

#include "platform/soft/soft_device.h"

#include <cstdint>
#include <vector>

namespace replay {

// The order of a pixel's four bytes in memory.
enum class PixelBytes {
  Rgba, // red, green, blue, 255: a canvas's ImageData
  Bgrx, // blue, green, red, 0: a 32-bit BI_RGB bitmap
};

// A surface as `width * height` pixels of four bytes, rows top to bottom with
// no padding, in the colours the desktop shows it (those vantrel-replay
// writes), so every screen shows what the goldens hold. False for a view that
// is not one of the device's formats.
bool ViewToPixels32(const soft::SurfaceView &view, PixelBytes order, std::vector<uint8_t> *out);

} // namespace replay

#endif
