// canvas_frame.cpp - frames on the canvas, converted as the replay runner
// converts them, so a page shows the colours of the desktop and its goldens.
#include "platform/web/canvas_frame.h"

#include "platform/web/page_bridge.h"
#include "replay/frame_image.h"

namespace web {

bool ViewToRgba(const soft::SurfaceView &view, std::vector<uint8_t> *rgba) {
  static replay::RgbImage rgb; // kept between frames: no allocation a frame
  if (!replay::ViewToRgb(view, &rgb)) {
    return false;
  }
  const size_t pixels = static_cast<size_t>(rgb.width) * static_cast<size_t>(rgb.height);
  rgba->resize(pixels * 4);
  const uint8_t *src = rgb.rgb.data();
  uint8_t *dst = rgba->data();
  for (size_t i = 0; i < pixels; ++i, src += 3, dst += 4) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
    dst[3] = 255;
  }
  return true;
}

bool ShowVisibleSurface() {
  static std::vector<uint8_t> rgba; // kept: a frame a turn allocates nothing
  const plat::Surface primary = soft::Primary();
  soft::SurfaceView view{};
  if (primary == nullptr || !soft::View(primary, &view) || !ViewToRgba(view, &rgba)) {
    return false;
  }
  page::PutFrame(rgba.data(), view.width, view.height);
  return true;
}

} // namespace web
