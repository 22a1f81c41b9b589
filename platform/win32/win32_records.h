// win32_records.h - the platform records of platform.h beside the real ones.
//
// The core fills plat::DDSURFACEDESC2, plat::RECT, plat::MSG and the other
// records; this backend hands pointers to them straight to Windows. That is
// only sound while every record has the real record's size and field offsets,
// which the assertions below hold the compiler to. Include platform.h before
// this header: the Windows headers define macros with the names of the
// constants of platform.h.
#ifndef VANTREL_PLATFORM_WIN32_RECORDS_H
#define VANTREL_PLATFORM_WIN32_RECORDS_H

#include "platform/platform.h"

#include <windows.h>

#include <ddraw.h>

#include <cstddef>

namespace win32 {

// Reinterprets a record of platform.h as the real one of the same layout.
template <typename Real, typename Ours> Real *AsReal(Ours *p) {
  return reinterpret_cast<Real *>(p);
}

} // namespace win32

#define VANTREL_SAME_FIELD(T, f)                                                                   \
  static_assert(offsetof(plat::T, f) == offsetof(::T, f), #T "." #f " offset");                    \
  static_assert(sizeof(plat::T::f) == sizeof(::T::f), #T "." #f " width");

static_assert(sizeof(plat::RECT) == sizeof(::RECT));
VANTREL_SAME_FIELD(RECT, left)
VANTREL_SAME_FIELD(RECT, top)
VANTREL_SAME_FIELD(RECT, right)
VANTREL_SAME_FIELD(RECT, bottom)

static_assert(sizeof(plat::POINT) == sizeof(::POINT));
VANTREL_SAME_FIELD(POINT, x)
VANTREL_SAME_FIELD(POINT, y)

static_assert(sizeof(plat::MSG) == sizeof(::MSG));
VANTREL_SAME_FIELD(MSG, hwnd)
VANTREL_SAME_FIELD(MSG, message)
VANTREL_SAME_FIELD(MSG, wParam)
VANTREL_SAME_FIELD(MSG, lParam)
VANTREL_SAME_FIELD(MSG, time)
VANTREL_SAME_FIELD(MSG, pt)

static_assert(sizeof(plat::WNDCLASSA) == sizeof(::WNDCLASSA));
VANTREL_SAME_FIELD(WNDCLASSA, style)
VANTREL_SAME_FIELD(WNDCLASSA, lpfnWndProc)
VANTREL_SAME_FIELD(WNDCLASSA, cbClsExtra)
VANTREL_SAME_FIELD(WNDCLASSA, cbWndExtra)
VANTREL_SAME_FIELD(WNDCLASSA, hInstance)
VANTREL_SAME_FIELD(WNDCLASSA, hIcon)
VANTREL_SAME_FIELD(WNDCLASSA, hCursor)
VANTREL_SAME_FIELD(WNDCLASSA, hbrBackground)
VANTREL_SAME_FIELD(WNDCLASSA, lpszMenuName)
VANTREL_SAME_FIELD(WNDCLASSA, lpszClassName)

static_assert(sizeof(plat::GUID) == sizeof(::GUID));
VANTREL_SAME_FIELD(GUID, Data1)
VANTREL_SAME_FIELD(GUID, Data2)
VANTREL_SAME_FIELD(GUID, Data3)
VANTREL_SAME_FIELD(GUID, Data4)

static_assert(sizeof(plat::BITMAP) == sizeof(::BITMAP));
VANTREL_SAME_FIELD(BITMAP, bmType)
VANTREL_SAME_FIELD(BITMAP, bmWidth)
VANTREL_SAME_FIELD(BITMAP, bmHeight)
VANTREL_SAME_FIELD(BITMAP, bmWidthBytes)
VANTREL_SAME_FIELD(BITMAP, bmPlanes)
VANTREL_SAME_FIELD(BITMAP, bmBitsPixel)
VANTREL_SAME_FIELD(BITMAP, bmBits)

static_assert(sizeof(plat::DDCOLORKEY) == sizeof(::DDCOLORKEY) && sizeof(::DDCOLORKEY) == 8);
VANTREL_SAME_FIELD(DDCOLORKEY, dwColorSpaceLowValue)
VANTREL_SAME_FIELD(DDCOLORKEY, dwColorSpaceHighValue)

static_assert(sizeof(plat::DDPIXELFORMAT) == sizeof(::DDPIXELFORMAT) &&
              sizeof(::DDPIXELFORMAT) == 32);
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwSize)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwFlags)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwFourCC)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwRGBBitCount)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwRBitMask)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwGBitMask)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwBBitMask)
VANTREL_SAME_FIELD(DDPIXELFORMAT, dwRGBAlphaBitMask)

static_assert(sizeof(plat::DDSCAPS2) == sizeof(::DDSCAPS2) && sizeof(::DDSCAPS2) == 16);
VANTREL_SAME_FIELD(DDSCAPS2, dwCaps)
VANTREL_SAME_FIELD(DDSCAPS2, dwCaps2)
VANTREL_SAME_FIELD(DDSCAPS2, dwCaps3)
VANTREL_SAME_FIELD(DDSCAPS2, dwCaps4)

static_assert(sizeof(plat::DDSURFACEDESC2) == sizeof(::DDSURFACEDESC2));
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwSize)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwFlags)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwHeight)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwWidth)
VANTREL_SAME_FIELD(DDSURFACEDESC2, lPitch)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwBackBufferCount)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwRefreshRate)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwAlphaBitDepth)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwReserved)
VANTREL_SAME_FIELD(DDSURFACEDESC2, lpSurface)
VANTREL_SAME_FIELD(DDSURFACEDESC2, ddckCKDestOverlay)
VANTREL_SAME_FIELD(DDSURFACEDESC2, ddckCKDestBlt)
VANTREL_SAME_FIELD(DDSURFACEDESC2, ddckCKSrcOverlay)
VANTREL_SAME_FIELD(DDSURFACEDESC2, ddckCKSrcBlt)
VANTREL_SAME_FIELD(DDSURFACEDESC2, ddpfPixelFormat)
VANTREL_SAME_FIELD(DDSURFACEDESC2, ddsCaps)
VANTREL_SAME_FIELD(DDSURFACEDESC2, dwTextureStage)

#undef VANTREL_SAME_FIELD

// The reference build: the 32-bit records of the module contract.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(::BITMAP) == 24 && sizeof(::DDSURFACEDESC2) == 124 && sizeof(::MSG) == 28);
#endif

#endif // VANTREL_PLATFORM_WIN32_RECORDS_H
