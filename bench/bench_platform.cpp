// bench_platform.cpp - every plat:: function for the benchmark program: the
// soft device for DirectDraw and bitmaps, nothing for windows and messages.
#include "bench/bench_platform.h"

#include "platform/platform.h"
#include "platform/soft/soft_device.h"

#include <cstdio>

namespace bench {
namespace {
bool nullDevice = false;
} // namespace

void UseNullDevice(bool on) { nullDevice = on; }

} // namespace bench

namespace plat {

// Windows, messages, clock, modules: inert.
uint16_t RegisterClassA(const WNDCLASSA *) { return 1; }
HWND CreateWindowExA(uint32_t, const char *, const char *, uint32_t, int32_t, int32_t, int32_t,
                     int32_t, HWND, void *, HINSTANCE, void *) {
  return nullptr;
}
int32_t ShowWindow(HWND, int32_t) { return 0; }
int32_t UpdateWindow(HWND) { return 1; }
HWND SetFocus(HWND) { return nullptr; }
int32_t GetSystemMetrics(int32_t index) { return index == SM_CXSCREEN ? 640 : 480; }
HICON LoadIconA(HINSTANCE, uintptr_t) { return nullptr; }
HCURSOR LoadCursorA(HINSTANCE, uintptr_t) { return nullptr; }
HBRUSH GetStockObject(int32_t) { return nullptr; }
int32_t PeekMessageA(MSG *, HWND, uint32_t, uint32_t, uint32_t) { return 0; }
int32_t GetMessageA(MSG *, HWND, uint32_t, uint32_t) { return 0; }
int32_t TranslateMessage(const MSG *) { return 0; }
LRESULT DispatchMessageA(const MSG *) { return 0; }
int32_t WaitMessage() { return 1; }
uint32_t MsgWaitForMultipleObjects(uint32_t, void *const *, int32_t, uint32_t, uint32_t) {
  return WAIT_TIMEOUT;
}
LRESULT DefWindowProcA(HWND, uint32_t, WPARAM, LPARAM) { return 0; }
void PostQuitMessage(int32_t) {}
HCURSOR SetCursor(HCURSOR) { return nullptr; }
int32_t MessageBoxA(HWND, const char *text, const char *caption, uint32_t) {
  std::fprintf(stderr, "[%s] %s\n", caption != nullptr ? caption : "", text != nullptr ? text : "");
  return 1;
}
int32_t IsWindow(HWND wnd) { return wnd != nullptr ? 1 : 0; }
uint32_t timeGetTime() { return 0; }
uint32_t timeBeginPeriod(uint32_t) { return TIMERR_NOERROR; }
uint32_t timeEndPeriod(uint32_t) { return TIMERR_NOERROR; }
uint32_t SetThreadExecutionState(uint32_t) { return ES_CONTINUOUS; }
HMODULE LoadLibraryA(const char *) { return nullptr; }
FARPROC GetProcAddress(HMODULE, const char *) { return nullptr; }
HINSTANCE GetModuleHandleA(const char *) { return nullptr; }
void OutputDebugStringA(const char *text) { std::fputs(text != nullptr ? text : "", stderr); }

// Bitmaps and device contexts come from the soft device unchanged
// (platform/soft/plat_gdi.cpp).

// DirectDraw: the soft device, or nothing at all for blits and flips.
HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  return soft::SetDisplayMode(dd, w, h, bpp, refresh, flags);
}
HRESULT Flip(Surface s, Surface target, uint32_t flags) {
  if (bench::nullDevice) {
    return DD_OK;
  }
  return soft::Flip(s, target, flags);
}
HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags) {
  if (bench::nullDevice) {
    return DD_OK;
  }
  return soft::BltFast(dst, x, y, src, srcRect, flags);
}
HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx) {
  if (bench::nullDevice) {
    return DD_OK;
  }
  return soft::Blt(dst, dstRect, src, srcRect, flags, fx);
}

} // namespace plat
