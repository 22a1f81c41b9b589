// win32_window.cpp - the window class, the window, the message queue, the
// cursor and message boxes, straight over Win32 USER. The host's window takes
// the shape of the player's presentation, its messages pass the backend's
// filter first (win32_message_filter.cpp), and with a frame-rate cap an empty
// queue waits for the next idle turn.
#include "platform/platform.h"

#include "platform/win32/win32_presentation.h"
#include "platform/win32/win32_records.h"

#include <cstring>

namespace {

// The core's window procedure is a plain function with the platform's
// arguments; Windows calls window procedures with the stdcall convention.
// Each registered class gets one slot here and a stdcall trampoline that
// forwards to the core procedure kept in that slot, after the backend's own
// filter.
constexpr int kSlots = 4;
plat::WNDPROC coreProcs[kSlots] = {};

template <int N>
::LRESULT CALLBACK Trampoline(::HWND wnd, ::UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  plat::LPARAM passed = static_cast<plat::LPARAM>(lParam);
  plat::LRESULT answer = 0;
  if (win32::FilterMessage(reinterpret_cast<plat::HWND>(wnd), message, wParam, &passed, &answer)) {
    return static_cast<::LRESULT>(answer);
  }
  return static_cast<::LRESULT>(
      coreProcs[N](reinterpret_cast<plat::HWND>(wnd), message, wParam, passed));
}

constexpr ::WNDPROC kTrampolines[kSlots] = {Trampoline<0>, Trampoline<1>, Trampoline<2>,
                                            Trampoline<3>};

// The trampoline for `proc`: the slot that already holds it, else a free one.
// Null when every slot holds another procedure.
::WNDPROC TrampolineFor(plat::WNDPROC proc) {
  for (int i = 0; i < kSlots; ++i) {
    if (coreProcs[i] == proc) {
      return kTrampolines[i];
    }
  }
  for (int i = 0; i < kSlots; ++i) {
    if (coreProcs[i] == nullptr) {
      coreProcs[i] = proc;
      return kTrampolines[i];
    }
  }
  return nullptr;
}

::HWND Real(plat::HWND wnd) { return reinterpret_cast<::HWND>(wnd); }

} // namespace

uint16_t plat::RegisterClassA(const plat::WNDCLASSA *wc) {
  if (wc == nullptr) {
    return 0;
  }
  ::WNDCLASSA real{};
  std::memcpy(&real, wc, sizeof real);
  real.lpfnWndProc = ::DefWindowProcA;
  if (wc->lpfnWndProc != nullptr) {
    real.lpfnWndProc = TrampolineFor(wc->lpfnWndProc);
    if (real.lpfnWndProc == nullptr) {
      return 0;
    }
  }
  return ::RegisterClassA(&real);
}

plat::HWND plat::CreateWindowExA(uint32_t exStyle, const char *className, const char *title,
                                 uint32_t style, int32_t x, int32_t y, int32_t w, int32_t h,
                                 plat::HWND parent, void *menu, plat::HINSTANCE inst, void *param) {
  // The host's one top-level window: a window or borderless play gives it
  // that presentation's shape instead of the exclusive screen's.
  const bool hostWindow = parent == nullptr && win32::HostWindow() == nullptr;
  if (hostWindow && win32::SoftDisplay()) {
    const win32::WindowShape shape = win32::ShapeFor(0, 0);
    exStyle = shape.exStyle;
    style = shape.style;
    x = shape.x;
    y = shape.y;
    w = shape.w;
    h = shape.h;
  }
  const auto wnd = reinterpret_cast<plat::HWND>(
      ::CreateWindowExA(exStyle, className, title, style, x, y, w, h, Real(parent),
                        static_cast<::HMENU>(menu), reinterpret_cast<::HINSTANCE>(inst), param));
  if (hostWindow && wnd != nullptr) {
    win32::SetHostWindow(wnd);
  }
  return wnd;
}

int32_t plat::ShowWindow(plat::HWND wnd, int32_t showCmd) {
  return ::ShowWindow(Real(wnd), showCmd);
}

int32_t plat::UpdateWindow(plat::HWND wnd) { return ::UpdateWindow(Real(wnd)); }

plat::HWND plat::SetFocus(plat::HWND wnd) {
  return reinterpret_cast<plat::HWND>(::SetFocus(Real(wnd)));
}

int32_t plat::GetSystemMetrics(int32_t index) { return ::GetSystemMetrics(index); }

plat::HICON plat::LoadIconA(plat::HINSTANCE inst, uintptr_t id) {
  return reinterpret_cast<plat::HICON>(
      ::LoadIconA(reinterpret_cast<::HINSTANCE>(inst), MAKEINTRESOURCEA(id)));
}

plat::HCURSOR plat::LoadCursorA(plat::HINSTANCE inst, uintptr_t id) {
  return reinterpret_cast<plat::HCURSOR>(
      ::LoadCursorA(reinterpret_cast<::HINSTANCE>(inst), MAKEINTRESOURCEA(id)));
}

plat::HBRUSH plat::GetStockObject(int32_t object) {
  return reinterpret_cast<plat::HBRUSH>(::GetStockObject(object));
}

int32_t plat::PeekMessageA(plat::MSG *msg, plat::HWND wnd, uint32_t first, uint32_t last,
                           uint32_t remove) {
  const int32_t found = ::PeekMessageA(win32::AsReal<::MSG>(msg), Real(wnd), first, last, remove);
  if (found != 0 || !win32::WaitForIdleTurn()) {
    return found;
  }
  return ::PeekMessageA(win32::AsReal<::MSG>(msg), Real(wnd), first, last, remove);
}

int32_t plat::GetMessageA(plat::MSG *msg, plat::HWND wnd, uint32_t first, uint32_t last) {
  return ::GetMessageA(win32::AsReal<::MSG>(msg), Real(wnd), first, last);
}

int32_t plat::TranslateMessage(const plat::MSG *msg) {
  return ::TranslateMessage(win32::AsReal<const ::MSG>(msg));
}

plat::LRESULT plat::DispatchMessageA(const plat::MSG *msg) {
  return ::DispatchMessageA(win32::AsReal<const ::MSG>(msg));
}

int32_t plat::WaitMessage() { return ::WaitMessage(); }

uint32_t plat::MsgWaitForMultipleObjects(uint32_t count, void *const *handles, int32_t waitAll,
                                         uint32_t ms, uint32_t wakeMask) {
  return ::MsgWaitForMultipleObjects(count, reinterpret_cast<const ::HANDLE *>(handles),
                                     waitAll != 0 ? TRUE : FALSE, ms, wakeMask);
}

plat::LRESULT plat::DefWindowProcA(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                                   plat::LPARAM lParam) {
  return ::DefWindowProcA(Real(wnd), message, wParam, lParam);
}

void plat::PostQuitMessage(int32_t exitCode) { ::PostQuitMessage(exitCode); }

plat::HCURSOR plat::SetCursor(plat::HCURSOR cursor) {
  return reinterpret_cast<plat::HCURSOR>(::SetCursor(reinterpret_cast<::HCURSOR>(cursor)));
}

int32_t plat::MessageBoxA(plat::HWND owner, const char *text, const char *caption, uint32_t type) {
  return ::MessageBoxA(Real(owner), text, caption, type);
}

int32_t plat::IsWindow(plat::HWND wnd) { return ::IsWindow(Real(wnd)) ? 1 : 0; }
