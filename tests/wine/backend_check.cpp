// backend_check.cpp - the Windows backend (platform/win32) against the real
// API, under Wine: window procedures through the stdcall trampolines, the
// message queue records passed straight through, null interfaces refused,
// and DirectDraw surfaces described, locked, keyed and blitted the way the
// core does it (surface descriptions sized 124, as on the reference build).
// Prints one line per check and exits with the number of failed checks.
#include "platform/platform.h"

// After platform.h: windows.h defines macros named as its USER constants, so
// those are written here as the Windows macros.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

int failures = 0;

void Check(bool ok, const char *what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) {
    ++failures;
  }
}

struct Seen {
  plat::HWND wnd;
  uint32_t message;
  plat::WPARAM wParam;
  plat::LPARAM lParam;
};
Seen seen[5];

template <int N>
plat::LRESULT CoreProc(plat::HWND wnd, uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
  if (message >= WM_USER) {
    seen[N] = Seen{wnd, message, wParam, lParam};
    return 40 + N;
  }
  return plat::DefWindowProcA(wnd, message, wParam, lParam);
}

uint16_t Register(const char *name, plat::WNDPROC proc) {
  plat::WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = plat::GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  return plat::RegisterClassA(&wc);
}

void WindowProcedures() {
  Check(Register("check0", CoreProc<0>) != 0, "a class with a core procedure registers");
  Check(Register("check0b", CoreProc<0>) != 0, "a second class shares the same procedure's slot");
  Check(Register("check1", CoreProc<1>) != 0 && Register("check2", CoreProc<2>) != 0 &&
            Register("check3", CoreProc<3>) != 0,
        "four procedures fit");
  Check(Register("check4", CoreProc<4>) == 0, "a fifth procedure is refused, not misrouted");
  Check(plat::RegisterClassA(nullptr) == 0, "a null class is refused");

  plat::HWND wnd = plat::CreateWindowExA(0, "check2", "check", WS_POPUP, 0, 0, 64, 64, nullptr,
                                         nullptr, plat::GetModuleHandleA(nullptr), nullptr);
  Check(wnd != nullptr, "a window of a registered class is created");
  const LRESULT sent = SendMessageA(reinterpret_cast<HWND>(wnd), WM_USER + 1, 7, -9);
  Check(sent == 42 && seen[2].wnd == wnd && seen[2].message == WM_USER + 1 && seen[2].wParam == 7 &&
            seen[2].lParam == -9,
        "a sent message reaches the core procedure of its class with its arguments and answer");

  PostMessageA(reinterpret_cast<HWND>(wnd), WM_USER + 2, 11, 0x7FFF0001);
  plat::MSG msg{};
  Check(plat::PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_NOREMOVE) != 0,
        "PeekMessageA sees the posted message without removing it");
  msg = plat::MSG{};
  Check(plat::GetMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2) > 0 && msg.hwnd == wnd &&
            msg.message == WM_USER + 2 && msg.wParam == 11 && msg.lParam == 0x7FFF0001,
        "GetMessageA fills the MSG record");
  seen[2] = Seen{};
  Check(plat::DispatchMessageA(&msg) == 42 && seen[2].message == WM_USER + 2,
        "DispatchMessageA hands it to the core procedure");
  DestroyWindow(reinterpret_cast<HWND>(wnd));
}

void NullInterfaces() {
  plat::DDSURFACEDESC2 desc{};
  plat::HDC dc = nullptr;
  plat::Surface s = nullptr;
  Check(plat::Flip(nullptr, nullptr, 0) == plat::DDERR_INVALIDPARAMS &&
            plat::Restore(nullptr) == plat::DDERR_INVALIDPARAMS &&
            plat::Lock(nullptr, nullptr, &desc, 0, nullptr) == plat::DDERR_INVALIDPARAMS &&
            plat::Unlock(nullptr, nullptr) == plat::DDERR_INVALIDPARAMS &&
            plat::GetDC(nullptr, &dc) == plat::DDERR_INVALIDPARAMS &&
            plat::BltFast(nullptr, 0, 0, nullptr, nullptr, 0) == plat::DDERR_INVALIDPARAMS &&
            plat::Blt(nullptr, nullptr, nullptr, nullptr, 0, nullptr) ==
                plat::DDERR_INVALIDPARAMS &&
            plat::GetAttachedSurface(nullptr, nullptr, &s) == plat::DDERR_INVALIDPARAMS &&
            plat::CreateSurface(nullptr, &desc, &s, nullptr) == plat::DDERR_INVALIDPARAMS &&
            plat::SetDisplayMode(nullptr, 640, 480, 16, 0, 0) == plat::DDERR_INVALIDPARAMS,
        "calls on a null interface answer DDERR_INVALIDPARAMS");
  Check(plat::ReleaseSurface(nullptr) == 0, "releasing a null surface does nothing");
  Check(plat::DirectDrawCreate(nullptr, nullptr, nullptr) == plat::DDERR_INVALIDPARAMS,
        "DirectDrawCreate without an out-parameter is refused");
}

// A 16-bit off-screen surface of w x h, described as the core describes it.
plat::Surface Offscreen(plat::DirectDraw4 dd, uint32_t w, uint32_t h) {
  plat::DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = 124;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_HEIGHT | plat::DDSD_WIDTH;
  desc.dwWidth = w;
  desc.dwHeight = h;
  desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  plat::Surface s = nullptr;
  return plat::CreateSurface(dd, &desc, &s, nullptr) == plat::DD_OK ? s : nullptr;
}

bool Fill(plat::Surface s, uint16_t (*colour)(int x, int y), int w, int h) {
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = 124;
  if (plat::Lock(s, nullptr, &desc, plat::DDLOCK_WAIT, nullptr) != plat::DD_OK) {
    return false;
  }
  for (int y = 0; y < h; ++y) {
    auto *row =
        reinterpret_cast<uint16_t *>(static_cast<uint8_t *>(desc.lpSurface) + y * desc.lPitch);
    for (int x = 0; x < w; ++x) {
      row[x] = colour(x, y);
    }
  }
  return plat::Unlock(s, nullptr) == plat::DD_OK;
}

uint16_t PixelAt(plat::Surface s, int x, int y) {
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = 124;
  if (plat::Lock(s, nullptr, &desc, plat::DDLOCK_WAIT | plat::DDLOCK_READONLY, nullptr) !=
      plat::DD_OK) {
    return 0xDEAD;
  }
  const uint16_t v = reinterpret_cast<const uint16_t *>(
      static_cast<const uint8_t *>(desc.lpSurface) + y * desc.lPitch)[x];
  plat::Unlock(s, nullptr);
  return v;
}

void DirectDraw() {
  HWND wnd = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "dd", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  plat::DirectDraw first = nullptr;
  plat::DirectDraw4 dd = nullptr;
  Check(plat::DirectDrawCreate(nullptr, &first, nullptr) == plat::DD_OK && first != nullptr,
        "DirectDrawCreate");
  Check(plat::QueryInterface(first, &plat::IID_IDirectDraw4, &dd) == plat::DD_OK && dd != nullptr,
        "QueryInterface with IID_IDirectDraw4");
  if (dd == nullptr) {
    return;
  }
  Check(plat::SetCooperativeLevel(dd, reinterpret_cast<plat::HWND>(wnd),
                                  plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN) == plat::DD_OK,
        "SetCooperativeLevel 0x11");
  Check(plat::SetDisplayMode(dd, 640, 480, 16, 0, 0) == plat::DD_OK, "SetDisplayMode 640x480x16");

  plat::Surface src = Offscreen(dd, 8, 8);
  plat::Surface dst = Offscreen(dd, 8, 8);
  Check(src != nullptr && dst != nullptr, "CreateSurface with the 124-byte description");
  if (src == nullptr || dst == nullptr) {
    return;
  }
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = 124;
  Check(plat::Lock(src, nullptr, &desc, plat::DDLOCK_READONLY, nullptr) == plat::DD_OK &&
            desc.dwWidth == 8 && desc.dwHeight == 8 && desc.ddpfPixelFormat.dwRGBBitCount == 16 &&
            desc.lpSurface != nullptr && desc.lPitch >= 16,
        "Lock fills the description: size, 16 bits per pixel, memory and pitch");
  plat::Unlock(src, nullptr);

  // Source: the key colour 0xF81F on the left half, 0x07E0 on the right;
  // destination: 0x001F everywhere.
  Check(Fill(
            src, [](int x, int) -> uint16_t { return x < 4 ? 0xF81F : 0x07E0; }, 8, 8) &&
            Fill(
                dst, [](int, int) -> uint16_t { return 0x001F; }, 8, 8),
        "surfaces filled through Lock");
  plat::DDCOLORKEY key = {0xF81F, 0xF81F};
  Check(plat::SetColorKey(src, plat::DDCKEY_SRCBLT, &key) == plat::DD_OK, "SetColorKey");
  plat::RECT all = {0, 0, 8, 8};
  Check(plat::BltFast(dst, 0, 0, src, &all, plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT) ==
            plat::DD_OK,
        "BltFast with the source key");
  Check(PixelAt(dst, 1, 1) == 0x001F && PixelAt(dst, 6, 6) == 0x07E0,
        "keyed pixels keep the destination, the others are copied");
  plat::RECT half = {0, 0, 4, 4};
  Check(plat::Blt(dst, &half, src, &all, plat::DDBLT_WAIT, nullptr) == plat::DD_OK &&
            PixelAt(dst, 0, 0) == 0xF81F && PixelAt(dst, 3, 0) == 0x07E0,
        "Blt without the key stretches the whole source into a quarter");
  plat::RECT outside = {4, 4, 12, 12};
  Check(plat::BltFast(dst, 0, 0, src, &outside, 0) != plat::DD_OK,
        "a source rectangle outside the surface is refused");
  Check(plat::ReleaseSurface(src) == 0, "the last reference released");
  plat::ReleaseSurface(dst);
}

void Kernel() {
  const uint32_t a = plat::timeGetTime();
  Sleep(20);
  const uint32_t b = plat::timeGetTime();
  Check(b - a >= 15 && b - a < 2000, "timeGetTime counts milliseconds");
  plat::HMODULE k = plat::LoadLibraryA("kernel32.dll");
  Check(k != nullptr && plat::GetProcAddress(k, "GetTickCount") != nullptr &&
            plat::GetProcAddress(k, "NoSuchExport") == nullptr,
        "LoadLibraryA and GetProcAddress");
  Check(plat::LoadLibraryA("no_such_library.dll") == nullptr, "a missing library gives null");
  plat::OutputDebugStringA("backend check\n");
}

} // namespace

int main() {
  WindowProcedures();
  NullInterfaces();
  Kernel();
  DirectDraw();
  std::printf("%d failed\n", failures);
  return failures;
}
