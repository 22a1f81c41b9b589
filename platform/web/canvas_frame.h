// canvas_frame.h - the soft device's visible surface put on the page's canvas.
#ifndef VANTREL_PLATFORM_WEB_CANVAS_FRAME_H
#define VANTREL_PLATFORM_WEB_CANVAS_FRAME_H

namespace web {

// Puts the visible surface (the last frame flipped) on the canvas. False
// before a display mode is set.
bool ShowVisibleSurface();

} // namespace web

#endif
