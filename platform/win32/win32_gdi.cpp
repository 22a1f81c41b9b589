// win32_gdi.cpp - bitmap files and the device-context copy, straight over
// Win32 USER (LoadImageA) and GDI.
#include "platform/platform.h"

#include "platform/win32/win32_real.h"
#include "platform/win32/win32_records.h"

namespace {

::HDC Real(plat::HDC dc) { return reinterpret_cast<::HDC>(dc); }

} // namespace

void *win32::real::LoadImageA(plat::HINSTANCE inst, const char *name, uint32_t type, int32_t cx,
                              int32_t cy, uint32_t flags) {
  return ::LoadImageA(reinterpret_cast<::HINSTANCE>(inst), name, type, cx, cy, flags);
}

int32_t win32::real::GetObjectA(void *object, int32_t size, void *out) {
  return ::GetObjectA(object, size, out);
}

plat::HDC win32::real::CreateCompatibleDC(plat::HDC dc) {
  return reinterpret_cast<plat::HDC>(::CreateCompatibleDC(Real(dc)));
}

void *win32::real::SelectObject(plat::HDC dc, void *object) {
  return ::SelectObject(Real(dc), static_cast<::HGDIOBJ>(object));
}

int32_t win32::real::BitBlt(plat::HDC dst, int32_t x, int32_t y, int32_t w, int32_t h,
                            plat::HDC src, int32_t sx, int32_t sy, uint32_t rop) {
  return ::BitBlt(Real(dst), x, y, w, h, Real(src), sx, sy, rop);
}

int32_t win32::real::DeleteDC(plat::HDC dc) { return ::DeleteDC(Real(dc)); }

int32_t win32::real::DeleteObject(void *object) {
  return ::DeleteObject(static_cast<::HGDIOBJ>(object));
}
