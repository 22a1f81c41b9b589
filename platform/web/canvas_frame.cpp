// canvas_frame.cpp - the visible surface put on the page's canvas.
#include "platform/web/canvas_frame.h"

#include "capture/frame_pixels.h"
#include "platform/web/page_bridge.h"

#include <vector>

namespace web {

bool ShowVisibleSurface() {
  static std::vector<uint8_t> rgba; // kept: a frame allocates nothing
  const plat::Surface primary = soft::Primary();
  soft::SurfaceView view{};
  if (primary == nullptr || !soft::View(primary, &view) ||
      !replay::ViewToPixels32(view, replay::PixelBytes::Rgba, &rgba)) {
    return false;
  }
  page::PutFrame(rgba.data(), view.width, view.height);
  return true;
}

} // namespace web
