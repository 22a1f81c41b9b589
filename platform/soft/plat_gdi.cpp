// plat_gdi.cpp - the platform's bitmap-file and device-context calls answered
// by the soft device, for backends that take it as it is (the desktop host,
// the benchmarks). The test double answers them itself, with its call log.
#include "platform/platform.h"
#include "platform/soft/soft_device.h"

namespace plat {

void *LoadImageA(HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags) {
  return soft::LoadImageA(inst, name, type, cx, cy, flags);
}

int32_t GetObjectA(void *object, int32_t size, void *out) {
  return soft::GetObjectA(object, size, out);
}

HDC CreateCompatibleDC(HDC dc) { return soft::CreateCompatibleDC(dc); }

void *SelectObject(HDC dc, void *object) { return soft::SelectObject(dc, object); }

int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
               uint32_t rop) {
  return soft::BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}

int32_t DeleteDC(HDC dc) { return soft::DeleteDC(dc); }

int32_t DeleteObject(void *object) { return soft::DeleteObject(object); }

} // namespace plat
