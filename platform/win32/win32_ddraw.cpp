// win32_ddraw.cpp - the DirectDraw device and its surfaces, straight over
// IDirectDraw, IDirectDraw4 and IDirectDrawSurface4: the device of exclusive
// play.
//
// The handles of platform.h are the real interface pointers, so the surface
// an image holds (VSurf.surface) is the IDirectDrawSurface4* a Windows module
// author expects. A null interface is answered with DDERR_INVALIDPARAMS
// instead of a call through it.
#include "platform/platform.h"

#include "platform/win32/win32_real.h"
#include "platform/win32/win32_records.h"

namespace {

::IDirectDraw *Real(plat::DirectDraw dd) { return reinterpret_cast<::IDirectDraw *>(dd); }
::IDirectDraw4 *Real(plat::DirectDraw4 dd) { return reinterpret_cast<::IDirectDraw4 *>(dd); }
::IDirectDrawSurface4 *Real(plat::Surface s) {
  return reinterpret_cast<::IDirectDrawSurface4 *>(s);
}
::LPRECT Real(plat::RECT *r) { return win32::AsReal<::RECT>(r); }

plat::HRESULT Ours(::HRESULT hr) { return static_cast<plat::HRESULT>(hr); }

constexpr plat::HRESULT kNoObject = 0x80070057u; // DDERR_INVALIDPARAMS

// The core sizes its surface descriptions as the 32-bit record of the module
// contract, 124 bytes. A 64-bit build has the same fields at the natural
// offsets of that ABI, in a larger record: DirectDraw checks dwSize, so it is
// given the size of this build's record.
::LPDDSURFACEDESC2 Sized(plat::DDSURFACEDESC2 *desc) {
  if constexpr (sizeof(::DDSURFACEDESC2) != 124) {
    if (desc != nullptr && desc->dwSize == 124) {
      desc->dwSize = sizeof(::DDSURFACEDESC2);
    }
  }
  return win32::AsReal<::DDSURFACEDESC2>(desc);
}

} // namespace

plat::HRESULT win32::real::DirectDrawCreate(const plat::GUID *driver, plat::DirectDraw *out,
                                            void *outer) {
  if (out == nullptr) {
    return kNoObject;
  }
  ::IDirectDraw *dd = nullptr;
  const ::HRESULT hr = ::DirectDrawCreate(const_cast<::GUID *>(win32::AsReal<const ::GUID>(driver)),
                                          &dd, static_cast<::IUnknown *>(outer));
  *out = reinterpret_cast<plat::DirectDraw>(dd);
  return Ours(hr);
}

plat::HRESULT win32::real::QueryInterface(plat::DirectDraw dd, const plat::GUID *iid,
                                          plat::DirectDraw4 *out) {
  if (dd == nullptr || iid == nullptr || out == nullptr) {
    return kNoObject;
  }
  void *answer = nullptr;
  const ::HRESULT hr = Real(dd)->QueryInterface(*win32::AsReal<const ::IID>(iid), &answer);
  *out = static_cast<plat::DirectDraw4>(answer);
  return Ours(hr);
}

plat::HRESULT win32::real::SetCooperativeLevel(plat::DirectDraw4 dd, plat::HWND wnd,
                                               uint32_t flags) {
  if (dd == nullptr) {
    return kNoObject;
  }
  return Ours(Real(dd)->SetCooperativeLevel(reinterpret_cast<::HWND>(wnd), flags));
}

plat::HRESULT win32::real::TestCooperativeLevel(plat::DirectDraw4 dd) {
  if (dd == nullptr) {
    return kNoObject;
  }
  return Ours(Real(dd)->TestCooperativeLevel());
}

plat::HRESULT win32::real::SetDisplayMode(plat::DirectDraw4 dd, uint32_t w, uint32_t h,
                                          uint32_t bpp, uint32_t refresh, uint32_t flags) {
  if (dd == nullptr) {
    return kNoObject;
  }
  return Ours(Real(dd)->SetDisplayMode(w, h, bpp, refresh, flags));
}

plat::HRESULT win32::real::CreateSurface(plat::DirectDraw4 dd, plat::DDSURFACEDESC2 *desc,
                                         plat::Surface *out, void *outer) {
  if (dd == nullptr || out == nullptr) {
    return kNoObject;
  }
  // Written straight into the caller's reference, as the real call does.
  return Ours(Real(dd)->CreateSurface(Sized(desc), reinterpret_cast<::IDirectDrawSurface4 **>(out),
                                      static_cast<::IUnknown *>(outer)));
}

uint32_t win32::real::ReleaseSurface(plat::Surface s) {
  if (s == nullptr) {
    return 0;
  }
  return Real(s)->Release();
}

plat::HRESULT win32::real::GetAttachedSurface(plat::Surface s, plat::DDSCAPS2 *caps,
                                              plat::Surface *out) {
  if (s == nullptr || out == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->GetAttachedSurface(win32::AsReal<::DDSCAPS2>(caps),
                                          reinterpret_cast<::IDirectDrawSurface4 **>(out)));
}

plat::HRESULT win32::real::Flip(plat::Surface s, plat::Surface target, uint32_t flags) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->Flip(Real(target), flags));
}

plat::HRESULT win32::real::FlipToGDISurface(plat::DirectDraw4 dd) {
  if (dd == nullptr) {
    return kNoObject;
  }
  return Ours(Real(dd)->FlipToGDISurface());
}

plat::HRESULT win32::real::Restore(plat::Surface s) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->Restore());
}

plat::HRESULT win32::real::IsLost(plat::Surface s) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->IsLost());
}

plat::HRESULT win32::real::RestoreAllSurfaces(plat::DirectDraw4 dd) {
  if (dd == nullptr) {
    return kNoObject;
  }
  return Ours(Real(dd)->RestoreAllSurfaces());
}

plat::HRESULT win32::real::GetDC(plat::Surface s, plat::HDC *out) {
  if (s == nullptr || out == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->GetDC(reinterpret_cast<::HDC *>(out)));
}

plat::HRESULT win32::real::ReleaseDC(plat::Surface s, plat::HDC dc) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->ReleaseDC(reinterpret_cast<::HDC>(dc)));
}

plat::HRESULT win32::real::Lock(plat::Surface s, plat::RECT *rect, plat::DDSURFACEDESC2 *desc,
                                uint32_t flags, void *event) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->Lock(Real(rect), Sized(desc), flags, static_cast<::HANDLE>(event)));
}

plat::HRESULT win32::real::Unlock(plat::Surface s, plat::RECT *rect) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->Unlock(Real(rect)));
}

plat::HRESULT win32::real::SetColorKey(plat::Surface s, uint32_t flags, plat::DDCOLORKEY *key) {
  if (s == nullptr) {
    return kNoObject;
  }
  return Ours(Real(s)->SetColorKey(flags, win32::AsReal<::DDCOLORKEY>(key)));
}

plat::HRESULT win32::real::BltFast(plat::Surface dst, uint32_t x, uint32_t y, plat::Surface src,
                                   plat::RECT *srcRect, uint32_t flags) {
  if (dst == nullptr) {
    return kNoObject;
  }
  return Ours(Real(dst)->BltFast(x, y, Real(src), Real(srcRect), flags));
}

plat::HRESULT win32::real::Blt(plat::Surface dst, plat::RECT *dstRect, plat::Surface src,
                               plat::RECT *srcRect, uint32_t flags, void *fx) {
  if (dst == nullptr) {
    return kNoObject;
  }
  return Ours(
      Real(dst)->Blt(Real(dstRect), Real(src), Real(srcRect), flags, static_cast<::LPDDBLTFX>(fx)));
}

void win32::real::ReleaseDevice(plat::DirectDraw dd, plat::DirectDraw4 dd4) {
  if (dd4 != nullptr) {
    Real(dd4)->Release();
  }
  if (dd != nullptr) {
    Real(dd)->Release();
  }
}
