// win32_message_filter.cpp - window messages the backend answers before the
// host's window procedure, or changes on their way to it.
//
// Over the soft device the picture is scaled into the window, so the pointer
// is given in mode pixels (as in exclusive play, where the window is the
// mode); the window paints its last frame itself; the title bar keeps its
// pointer; Alt+Enter switches between a window and borderless. In every
// presentation Print Screen saves the frame and the window is then told of
// the key's release as before.
#include "platform/soft/frame_place.h"
#include "platform/win32/win32_presentation.h"
#include "platform/win32/win32_records.h"

namespace win32 {
namespace {

bool PointerMessage(uint32_t message) {
  switch (message) {
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    return true;
  default:
    return false;
  }
}

// The client point in `lParam` as the mode pixel under it.
plat::LPARAM InModePixels(::HWND wnd, plat::LPARAM lParam) {
  int32_t modeW = 0;
  int32_t modeH = 0;
  ShownMode(&modeW, &modeH);
  ::RECT client{};
  if (modeW <= 0 || modeH <= 0 || ::GetClientRect(wnd, &client) == FALSE) {
    return lParam;
  }
  const soft::FramePlace place =
      soft::PlaceFrame(modeW, modeH, client.right - client.left, client.bottom - client.top);
  // Signed 16-bit halves: a pointer held outside the window is negative.
  const auto cx = static_cast<int16_t>(static_cast<uint32_t>(lParam) & 0xFFFF);
  const auto cy = static_cast<int16_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFF);
  int32_t mx = 0;
  int32_t my = 0;
  soft::ClientToMode(place, modeW, modeH, cx, cy, &mx, &my);
  return static_cast<plat::LPARAM>((static_cast<uint32_t>(my) << 16) |
                                   (static_cast<uint32_t>(mx) & 0xFFFF));
}

constexpr plat::LPARAM kAltHeld = plat::LPARAM{1} << 29;

} // namespace

bool FilterMessage(plat::HWND platWnd, uint32_t message, plat::WPARAM wParam, plat::LPARAM *lParam,
                   plat::LRESULT *result) {
  const auto wnd = reinterpret_cast<::HWND>(platWnd);
  if ((message == WM_KEYUP || message == WM_SYSKEYUP) && wParam == VK_SNAPSHOT) {
    SaveScreenshot();
    return false; // the host's procedure hears of the release too
  }
  if (!SoftDisplay() || platWnd != HostWindow()) {
    return false;
  }
  switch (message) {
  case WM_PAINT: {
    ::PAINTSTRUCT paint{};
    ::HDC dc = ::BeginPaint(wnd, &paint);
    PaintLastFrame(dc);
    ::EndPaint(wnd, &paint);
    *result = 0;
    return true;
  }
  case WM_DISPLAYCHANGE:
    // The desktop's own mode changed: borderless covers it again.
    ApplyWindowShape();
    return false;
  case WM_ERASEBKGND:
    *result = 1; // the paint covers every pixel; no flash of the brush first
    return true;
  case WM_SETCURSOR:
    // The pointer is hidden over the picture only: the title bar and the
    // frame of a window keep theirs.
    if ((static_cast<uint32_t>(*lParam) & 0xFFFF) != HTCLIENT) {
      *result = ::DefWindowProcA(wnd, message, wParam, *lParam);
      return true;
    }
    return false;
  case WM_SYSKEYDOWN:
    if (wParam == VK_RETURN && (*lParam & kAltHeld) != 0) {
      if ((*lParam & (plat::LPARAM{1} << 30)) == 0) { // not a held key's repeat
        SwitchWindowAndBorderless();
      }
      *result = 0;
      return true;
    }
    return false;
  case WM_SYSCHAR:
    if (wParam == '\r') {
      *result = 0; // no beep for the Alt+Enter just taken
      return true;
    }
    return false;
  default:
    break;
  }
  if (PointerMessage(message)) {
    *lParam = InModePixels(wnd, *lParam);
  }
  return false;
}

} // namespace win32
