// win32_presentation.cpp - the player's choice of presentation, and the
// host window's shape in each: exclusive and borderless cover the screen, a
// window is the mode times the scale, centred in the work area, with a title
// bar the player can drag, minimise, resize or close.
#include "platform/win32/win32_presentation.h"

#include "platform/win32/win32_records.h"

#include <cstdio>

namespace win32 {
namespace {

Presentation presentation = Presentation::Exclusive;
int32_t scale = 1;
plat::HWND hostWindow = nullptr;

// A window's size before the module sets its first mode.
constexpr int32_t kFirstModeW = 640;
constexpr int32_t kFirstModeH = 480;

::HWND Real(plat::HWND wnd) { return reinterpret_cast<::HWND>(wnd); }

} // namespace

void ChoosePresentation(Presentation chosen, int32_t windowScale) {
  presentation = chosen;
  scale = windowScale >= 1 ? windowScale : 1;
}

Presentation CurrentPresentation() { return presentation; }

int32_t WindowScale() { return scale; }

bool SoftDisplay() { return presentation != Presentation::Exclusive; }

void FallBackToBorderless(const char *what, plat::HRESULT result) {
  if (presentation != Presentation::Exclusive) {
    return;
  }
  presentation = Presentation::Borderless;
  char line[200];
  std::snprintf(line, sizeof line,
                "vantrel: %s failed (0x%08X): no exclusive full screen here, playing "
                "borderless instead\n",
                what, static_cast<unsigned>(result));
  ::OutputDebugStringA(line);
  ApplyWindowShape();
}

void SetHostWindow(plat::HWND wnd) { hostWindow = wnd; }

plat::HWND HostWindow() { return hostWindow; }

WindowShape ShapeFor(int32_t modeW, int32_t modeH) {
  const int32_t screenW = ::GetSystemMetrics(SM_CXSCREEN);
  const int32_t screenH = ::GetSystemMetrics(SM_CYSCREEN);
  switch (presentation) {
  case Presentation::Exclusive:
    return {WS_POPUP, WS_EX_TOPMOST, 0, 0, screenW, screenH};
  case Presentation::Borderless:
    return {WS_POPUP, 0, 0, 0, screenW, screenH};
  case Presentation::Windowed:
    break;
  }
  if (modeW <= 0 || modeH <= 0) {
    modeW = kFirstModeW;
    modeH = kFirstModeH;
  }
  constexpr uint32_t style = WS_OVERLAPPEDWINDOW;
  ::RECT work{0, 0, screenW, screenH};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  // The scale asked for, or the largest below it whose window fits the work
  // area (Windows would cut a larger one to the screen, and the picture with
  // it): at least 1.
  int32_t w = 0;
  int32_t h = 0;
  for (int32_t s = scale; s >= 1; --s) {
    ::RECT outer{0, 0, modeW * s, modeH * s};
    ::AdjustWindowRectEx(&outer, style, FALSE, 0);
    w = outer.right - outer.left;
    h = outer.bottom - outer.top;
    if (w <= work.right - work.left && h <= work.bottom - work.top) {
      break;
    }
  }
  int32_t x = work.left + (work.right - work.left - w) / 2;
  int32_t y = work.top + (work.bottom - work.top - h) / 2;
  // A window larger than the work area keeps its title bar on the screen.
  x = x < work.left ? work.left : x;
  y = y < work.top ? work.top : y;
  return {style, 0, x, y, w, h};
}

void ApplyWindowShape() {
  ::HWND wnd = Real(hostWindow);
  if (wnd == nullptr) {
    return;
  }
  int32_t modeW = 0;
  int32_t modeH = 0;
  ShownMode(&modeW, &modeH);
  const WindowShape shape = ShapeFor(modeW, modeH);
  const bool visible = ::IsWindowVisible(wnd) != FALSE;
  ::SetWindowLongPtrA(wnd, GWL_STYLE,
                      static_cast<LONG_PTR>(shape.style | (visible ? WS_VISIBLE : 0u)));
  ::SetWindowLongPtrA(wnd, GWL_EXSTYLE, static_cast<LONG_PTR>(shape.exStyle));
  ::SetWindowPos(wnd, (shape.exStyle & WS_EX_TOPMOST) != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, shape.x,
                 shape.y, shape.w, shape.h, SWP_FRAMECHANGED | SWP_NOACTIVATE);
  ::InvalidateRect(wnd, nullptr, FALSE);
}

void SwitchWindowAndBorderless() {
  if (presentation == Presentation::Exclusive) {
    return;
  }
  presentation =
      presentation == Presentation::Windowed ? Presentation::Borderless : Presentation::Windowed;
  ApplyWindowShape();
}

} // namespace win32
