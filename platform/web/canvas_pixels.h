// canvas_pixels.h - a soft device surface as the pixels of a page's canvas.
#ifndef VANTREL_PLATFORM_WEB_CANVAS_PIXELS_H
#define VANTREL_PLATFORM_WEB_CANVAS_PIXELS_H

#include "platform/soft/soft_device.h"

#include <cstdint>
#include <vector>

namespace web {

// A surface as canvas pixels: bytes red, green, blue, 255, rows top to
// bottom, in the colours the desktop shows it (those vantrel-replay writes).
// False for a view that is not one of the device's formats.
bool ViewToRgba(const soft::SurfaceView &view, std::vector<uint8_t> *rgba);

} // namespace web

#endif
