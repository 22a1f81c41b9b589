// canvas_frame.h - the soft device's visible surface put on the page's canvas.
#ifndef VANTREL_PLATFORM_WEB_CANVAS_FRAME_H
#define VANTREL_PLATFORM_WEB_CANVAS_FRAME_H

#include "platform/soft/soft_device.h"

#include <cstdint>
#include <vector>

namespace web {

// A surface as canvas pixels: bytes red, green, blue, 255, rows top to
// bottom, in the colours the desktop shows it. False for a view that is not
// one of the device's formats.
bool ViewToRgba(const soft::SurfaceView &view, std::vector<uint8_t> *rgba);

// Puts the visible surface (the last frame flipped) on the canvas. False
// before a display mode is set.
bool ShowVisibleSurface();

} // namespace web

#endif
