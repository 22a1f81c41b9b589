// DirectDraw and GDI of the test double: every call is logged, answered from
// the script when one is queued, and otherwise done by the soft device.
#include "tests/double/double_state.h"

#include "platform/soft/soft_device.h"

namespace plat {

using td::detail::H;
using td::detail::Record;
using td::detail::S;
using td::detail::Scripted;
using td::detail::Text;

namespace {

std::vector<int64_t> Flatten(std::vector<int64_t> args, const RECT *rect) {
  if (rect == nullptr) {
    args.push_back(0);
  } else {
    args.insert(args.end(), {rect->left, rect->top, rect->right, rect->bottom});
  }
  return args;
}

// A scripted answer for a call that hands out an object: the object is null.
template <typename T> bool ScriptedOut(const char *name, T *out, HRESULT *result) {
  uint64_t answer = 0;
  if (!Scripted(name, &answer)) {
    return false;
  }
  if (out != nullptr) {
    *out = nullptr;
  }
  *result = static_cast<HRESULT>(answer);
  return true;
}

bool ScriptedResult(const char *name, HRESULT *result) {
  uint64_t answer = 0;
  if (!Scripted(name, &answer)) {
    return false;
  }
  *result = static_cast<HRESULT>(answer);
  return true;
}

} // namespace

HRESULT DirectDrawCreate(const GUID *driver, DirectDraw *out, void *outer) {
  Record("DirectDrawCreate", {H(driver), H(outer)});
  HRESULT result = 0;
  if (ScriptedOut("DirectDrawCreate", out, &result)) {
    return result;
  }
  return soft::DirectDrawCreate(driver, out, outer);
}

HRESULT QueryInterface(DirectDraw dd, const GUID *iid, DirectDraw4 *out) {
  Record("QueryInterface", {H(dd), iid != nullptr ? static_cast<int64_t>(iid->Data1) : 0});
  HRESULT result = 0;
  if (ScriptedOut("QueryInterface", out, &result)) {
    return result;
  }
  return soft::QueryInterface(dd, iid, out);
}

HRESULT SetCooperativeLevel(DirectDraw4 dd, HWND wnd, uint32_t flags) {
  Record("SetCooperativeLevel", {H(dd), H(wnd), flags});
  HRESULT result = 0;
  if (ScriptedResult("SetCooperativeLevel", &result)) {
    return result;
  }
  return soft::SetCooperativeLevel(dd, wnd, flags);
}

HRESULT TestCooperativeLevel(DirectDraw4 dd) {
  Record("TestCooperativeLevel", {H(dd)});
  HRESULT result = 0;
  if (ScriptedResult("TestCooperativeLevel", &result)) {
    return result;
  }
  return soft::TestCooperativeLevel(dd);
}

HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  Record("SetDisplayMode", {H(dd), w, h, bpp, refresh, flags});
  HRESULT result = 0;
  if (ScriptedResult("SetDisplayMode", &result)) {
    return result;
  }
  return soft::SetDisplayMode(dd, w, h, bpp, refresh, flags);
}

HRESULT CreateSurface(DirectDraw4 dd, DDSURFACEDESC2 *desc, Surface *out, void *outer) {
  if (desc == nullptr) {
    Record("CreateSurface", {H(dd), -1, H(outer)});
  } else {
    Record("CreateSurface",
           {H(dd), desc->dwSize, desc->dwFlags, desc->dwWidth, desc->dwHeight,
            desc->dwBackBufferCount, desc->ddsCaps.dwCaps, desc->ddsCaps.dwCaps2, H(outer)});
  }
  HRESULT result = 0;
  if (ScriptedOut("CreateSurface", out, &result)) {
    return result;
  }
  if (S().createSurfaceWithoutSurface > 0) {
    --S().createSurfaceWithoutSurface;
    ++S().scriptedGiven["CreateSurface"];
    if (out != nullptr) {
      *out = nullptr;
    }
    return DD_OK;
  }
  return soft::CreateSurface(dd, desc, out, outer);
}

uint32_t ReleaseSurface(Surface s) {
  Record("ReleaseSurface", {H(s)});
  uint64_t answer = 0;
  if (Scripted("ReleaseSurface", &answer)) {
    return static_cast<uint32_t>(answer);
  }
  return soft::ReleaseSurface(s);
}

HRESULT FlipToGDISurface(DirectDraw4 dd) {
  Record("FlipToGDISurface", {H(dd)});
  HRESULT result = 0;
  if (ScriptedResult("FlipToGDISurface", &result)) {
    return result;
  }
  return soft::FlipToGDISurface(dd);
}

HRESULT GetAttachedSurface(Surface s, DDSCAPS2 *caps, Surface *out) {
  Record("GetAttachedSurface", {H(s), caps != nullptr ? static_cast<int64_t>(caps->dwCaps) : -1,
                                caps != nullptr ? static_cast<int64_t>(caps->dwCaps2) : -1,
                                caps != nullptr ? static_cast<int64_t>(caps->dwCaps3) : -1,
                                caps != nullptr ? static_cast<int64_t>(caps->dwCaps4) : -1});
  HRESULT result = 0;
  if (ScriptedOut("GetAttachedSurface", out, &result)) {
    return result;
  }
  return soft::GetAttachedSurface(s, caps, out);
}

HRESULT Flip(Surface s, Surface target, uint32_t flags) {
  Record("Flip", {H(s), H(target), flags});
  HRESULT result = 0;
  if (ScriptedResult("Flip", &result)) {
    return result;
  }
  return soft::Flip(s, target, flags);
}

HRESULT Restore(Surface s) {
  Record("Restore", {H(s)});
  HRESULT result = 0;
  if (ScriptedResult("Restore", &result)) {
    return result;
  }
  return soft::Restore(s);
}

HRESULT IsLost(Surface s) {
  Record("IsLost", {H(s)});
  HRESULT result = 0;
  if (ScriptedResult("IsLost", &result)) {
    return result;
  }
  return soft::IsLost(s);
}

HRESULT RestoreAllSurfaces(DirectDraw4 dd) {
  Record("RestoreAllSurfaces", {H(dd)});
  HRESULT result = 0;
  if (ScriptedResult("RestoreAllSurfaces", &result)) {
    return result;
  }
  return soft::RestoreAllSurfaces(dd);
}

HRESULT GetDC(Surface s, HDC *out) {
  Record("GetDC", {H(s)});
  HRESULT result = 0;
  if (ScriptedOut("GetDC", out, &result)) {
    return result;
  }
  return soft::GetDC(s, out);
}

HRESULT ReleaseDC(Surface s, HDC dc) {
  Record("ReleaseDC", {H(s), H(dc)});
  HRESULT result = 0;
  if (ScriptedResult("ReleaseDC", &result)) {
    return result;
  }
  return soft::ReleaseDC(s, dc);
}

HRESULT Lock(Surface s, RECT *rect, DDSURFACEDESC2 *desc, uint32_t flags, void *event) {
  std::vector<int64_t> args = Flatten({H(s)}, rect);
  args.push_back(flags);
  Record("Lock", std::move(args));
  HRESULT result = 0;
  if (ScriptedResult("Lock", &result)) {
    return result;
  }
  return soft::Lock(s, rect, desc, flags, event);
}

HRESULT Unlock(Surface s, RECT *rect) {
  Record("Unlock", Flatten({H(s)}, rect));
  HRESULT result = 0;
  if (ScriptedResult("Unlock", &result)) {
    return result;
  }
  return soft::Unlock(s, rect);
}

HRESULT SetColorKey(Surface s, uint32_t flags, DDCOLORKEY *key) {
  Record("SetColorKey",
         {H(s), flags, key != nullptr ? static_cast<int64_t>(key->dwColorSpaceLowValue) : -1,
          key != nullptr ? static_cast<int64_t>(key->dwColorSpaceHighValue) : -1});
  HRESULT result = 0;
  if (ScriptedResult("SetColorKey", &result)) {
    return result;
  }
  return soft::SetColorKey(s, flags, key);
}

HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags) {
  std::vector<int64_t> args = Flatten({H(dst), x, y, H(src)}, srcRect);
  args.push_back(flags);
  Record("BltFast", std::move(args));
  HRESULT result = 0;
  if (ScriptedResult("BltFast", &result)) {
    return result;
  }
  return soft::BltFast(dst, x, y, src, srcRect, flags);
}

HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx) {
  std::vector<int64_t> args = Flatten({H(dst)}, dstRect);
  args.push_back(H(src));
  args = Flatten(std::move(args), srcRect);
  args.push_back(flags);
  args.push_back(H(fx));
  Record("Blt", std::move(args));
  HRESULT result = 0;
  if (ScriptedResult("Blt", &result)) {
    return result;
  }
  return soft::Blt(dst, dstRect, src, srcRect, flags, fx);
}

void *LoadImageA(HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags) {
  Record("LoadImageA", {H(inst), type, cx, cy, flags}, {Text(name)});
  uint64_t answer = 0;
  if (Scripted("LoadImageA", &answer)) {
    return reinterpret_cast<void *>(static_cast<uintptr_t>(answer));
  }
  return soft::LoadImageA(inst, name, type, cx, cy, flags);
}

int32_t GetObjectA(void *object, int32_t size, void *out) {
  Record("GetObjectA", {H(object), size});
  uint64_t answer = 0;
  if (Scripted("GetObjectA", &answer)) {
    return static_cast<int32_t>(answer);
  }
  return soft::GetObjectA(object, size, out);
}

HDC CreateCompatibleDC(HDC dc) {
  Record("CreateCompatibleDC", {H(dc)});
  uint64_t answer = 0;
  if (Scripted("CreateCompatibleDC", &answer)) {
    return reinterpret_cast<HDC>(static_cast<uintptr_t>(answer));
  }
  return soft::CreateCompatibleDC(dc);
}

void *SelectObject(HDC dc, void *object) {
  Record("SelectObject", {H(dc), H(object)});
  uint64_t answer = 0;
  if (Scripted("SelectObject", &answer)) {
    return reinterpret_cast<void *>(static_cast<uintptr_t>(answer));
  }
  return soft::SelectObject(dc, object);
}

int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
               uint32_t rop) {
  Record("BitBlt", {H(dst), x, y, w, h, H(src), sx, sy, rop});
  uint64_t answer = 0;
  if (Scripted("BitBlt", &answer)) {
    return static_cast<int32_t>(answer);
  }
  return soft::BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}

int32_t DeleteDC(HDC dc) {
  Record("DeleteDC", {H(dc)});
  uint64_t answer = 0;
  if (Scripted("DeleteDC", &answer)) {
    return static_cast<int32_t>(answer);
  }
  return soft::DeleteDC(dc);
}

int32_t DeleteObject(void *object) {
  Record("DeleteObject", {H(object)});
  uint64_t answer = 0;
  if (Scripted("DeleteObject", &answer)) {
    return static_cast<int32_t>(answer);
  }
  return soft::DeleteObject(object);
}

} // namespace plat
