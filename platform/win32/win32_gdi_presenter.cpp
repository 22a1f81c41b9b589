// win32_gdi_presenter.cpp - the soft device's front buffer in the host's
// window: each flip converted once into a 32-bit device-independent bitmap in
// the colours every other screen of ours shows (those of the replay goldens),
// then stretched with StretchDIBits to the largest size that keeps its
// aspect, nearest pixel (sharp), the rest of the client area black.
#include "capture/frame_pixels.h"
#include "platform/soft/frame_place.h"
#include "platform/soft/soft_device.h"
#include "platform/win32/win32_presentation.h"
#include "platform/win32/win32_records.h"

#include <vector>

namespace win32 {
namespace {

std::vector<uint8_t> frame; // the last frame shown, BGRX rows top to bottom
int32_t frameW = 0;
int32_t frameH = 0;
int32_t modeW = 0; // the mode set last
int32_t modeH = 0;

// Black over the parts of `client` outside `place`.
void PaintBars(::HDC dc, const ::RECT &client, const soft::FramePlace &place) {
  const auto black = static_cast<::HBRUSH>(::GetStockObject(BLACK_BRUSH));
  if (place.w <= 0 || place.h <= 0) {
    ::FillRect(dc, &client, black);
    return;
  }
  const ::RECT bars[4] = {{client.left, client.top, client.right, place.y},               // above
                          {client.left, place.y + place.h, client.right, client.bottom},  // below
                          {client.left, place.y, place.x, place.y + place.h},             // left
                          {place.x + place.w, place.y, client.right, place.y + place.h}}; // right
  for (const ::RECT &bar : bars) {
    if (bar.right > bar.left && bar.bottom > bar.top) {
      ::FillRect(dc, &bar, black);
    }
  }
}

void Paint(::HDC dc) {
  ::RECT client{};
  ::GetClientRect(reinterpret_cast<::HWND>(HostWindow()), &client);
  const bool haveFrame = frameW > 0 && frameH > 0;
  const int32_t shownW = haveFrame ? frameW : modeW;
  const int32_t shownH = haveFrame ? frameH : modeH;
  const soft::FramePlace place =
      soft::PlaceFrame(shownW, shownH, client.right - client.left, client.bottom - client.top);
  PaintBars(dc, client, place);
  if (place.w <= 0 || place.h <= 0) {
    return;
  }
  if (!haveFrame) {
    const ::RECT picture{place.x, place.y, place.x + place.w, place.y + place.h};
    ::FillRect(dc, &picture, static_cast<::HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    return;
  }
  ::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = frameW;
  info.bmiHeader.biHeight = -frameH; // rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchDIBits(dc, place.x, place.y, place.w, place.h, 0, 0, frameW, frameH, frame.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

void PaintNow() {
  const auto wnd = reinterpret_cast<::HWND>(HostWindow());
  if (wnd == nullptr) {
    return;
  }
  ::HDC dc = ::GetDC(wnd);
  if (dc != nullptr) {
    Paint(dc);
    ::ReleaseDC(wnd, dc);
  }
}

} // namespace

void NoteModeSet(int32_t w, int32_t h) {
  modeW = w;
  modeH = h;
  frameW = frameH = 0;
  if (CurrentPresentation() == Presentation::Windowed) {
    ApplyWindowShape(); // the window takes the new mode's size
  }
  PaintNow();
}

void PresentFrontBuffer() {
  soft::SurfaceView view{};
  if (!soft::View(soft::Primary(), &view) ||
      !replay::ViewToPixels32(view, replay::PixelBytes::Bgrx, &frame)) {
    return;
  }
  frameW = view.width;
  frameH = view.height;
  PaintNow();
}

void PaintLastFrame(void *dc) {
  if (dc != nullptr) {
    Paint(static_cast<::HDC>(dc));
  }
}

void ShownMode(int32_t *w, int32_t *h) {
  if (w != nullptr && h != nullptr) {
    *w = modeW;
    *h = modeH;
  }
}

} // namespace win32
