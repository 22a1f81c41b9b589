// Reading a bitmap file into a new off-screen surface of the display device,
// keyed on the stored value of its top-left pixel.
#include "images/bitmap_upload.h"

#include "base/say_why.h"
#include "display/display_state.h"
#include "images/colour_key.h"
#include "images/unread_bitmap.h"
#include "platform/platform.h"

#include <cstring>

namespace vantrel {

namespace {

// Copies the bitmap into the surface through a memory device context and
// frees that context. Answers false when the surface gave no context.
bool CopyBitmap(plat::Surface surface, plat::HBITMAP bitmap, int32_t width, int32_t height) {
  plat::HDC memory = plat::CreateCompatibleDC(nullptr);
  if (memory == nullptr) {
    // The copy then has no source: the surface keeps what it was created with.
    plat::OutputDebugStringA("CreateCompatableDC failed\n");
  } else {
    plat::SelectObject(memory, bitmap);
  }

  plat::HDC target = nullptr;
  const bool gotDC = plat::GetDC(surface, &target) == plat::DD_OK;
  if (gotDC) {
    if (memory != nullptr) {
      plat::BitBlt(target, 0, 0, width, height, memory, 0, 0, plat::SRCCOPY);
    }
    plat::ReleaseDC(surface, target);
  }

  if (memory != nullptr) {
    plat::DeleteDC(memory);
  }
  return gotDC;
}

// Locks the surface read-only, sets its source colour key from the top-left
// pixel and unlocks it. Answers 1, or 0 when a step failed; the surface is
// never left locked.
int32_t KeyOnTopLeftPixel(plat::Surface surface) {
  plat::DDSURFACEDESC2 locked{};
  locked.dwSize = sizeof locked;
  // DDLOCK_WAIT: right after the device-context copy the device may still be
  // drawing into the surface; the lock waits for it rather than answering
  // DDERR_WASSTILLDRAWING. A surface that is busy otherwise is refused.
  if (plat::Lock(surface, nullptr, &locked, plat::DDLOCK_WAIT | plat::DDLOCK_READONLY, nullptr) !=
      plat::DD_OK) {
    return 0;
  }
  if (locked.lpSurface == nullptr) {
    plat::Unlock(surface, nullptr);
    return 0;
  }
  const uint32_t key =
      ColourKeyFromFirstWord(locked.lpSurface, locked.ddpfPixelFormat.dwRGBBitCount);
  plat::DDCOLORKEY colorKey{key, key};
  if (plat::SetColorKey(surface, plat::DDCKEY_SRCBLT, &colorKey) != plat::DD_OK) {
    plat::Unlock(surface, nullptr);
    return 0;
  }
  if (plat::Unlock(surface, nullptr) != plat::DD_OK) {
    return 0;
  }
  return 1;
}

// An off-screen surface of w x h in the display mode's pixel format (no
// pixel format is asked for).
plat::HRESULT CreateOffscreen(int32_t width, int32_t height, plat::Surface *out) {
  plat::DDSURFACEDESC2 create{};
  create.dwSize = sizeof create;
  create.dwFlags = plat::DDSD_CAPS | plat::DDSD_HEIGHT | plat::DDSD_WIDTH;
  create.dwHeight = static_cast<uint32_t>(height);
  create.dwWidth = static_cast<uint32_t>(width);
  create.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  return plat::CreateSurface(device, &create, out, nullptr);
}

plat::HBITMAP LoadBitmapFile(const VImg *image) {
  return static_cast<plat::HBITMAP>(
      plat::LoadImageA(plat::GetModuleHandleA(nullptr), image->name, plat::IMAGE_BITMAP, 0, 0,
                       plat::LR_LOADFROMFILE | plat::LR_CREATEDIBSECTION));
}

} // namespace

int32_t UploadBitmap(VImg *image) {
  if (image == nullptr) {
    return 0;
  }
  VSurf *holder = image->surf;
  if (holder == nullptr) {
    return NO_SURFACE;
  }

  plat::HBITMAP bitmap = LoadBitmapFile(image);
  if (bitmap == nullptr) {
    const UnreadBitmap why = WhyBitmapUnread(image->name);
    SayWhy(why.cause, image->name, why.bitsPerPixel);
    return 0;
  }

  plat::BITMAP info{};
  if (plat::GetObjectA(bitmap, static_cast<int32_t>(sizeof info), &info) == 0) {
    plat::DeleteObject(bitmap);
    return 0;
  }
  holder->width = info.bmWidth;
  holder->height = info.bmHeight;

  // Without a device object (the display never opened) no surface can exist.
  if (device == nullptr) {
    SayWhy(Why::ImageNoDevice);
    plat::DeleteObject(bitmap);
    return 0;
  }

  plat::Surface surface = nullptr;
  if (CreateOffscreen(info.bmWidth, info.bmHeight, &surface) != plat::DD_OK) {
    SayWhy(Why::ImageSurfaceRefused, image->name);
    plat::DeleteObject(bitmap);
    return 0;
  }
  holder->surface = surface;
  if (surface == nullptr) {
    plat::DeleteObject(bitmap);
    return NO_SURFACE;
  }

  // From here on the surface stays in the holder whatever happens.
  const bool copied = CopyBitmap(surface, bitmap, info.bmWidth, info.bmHeight);
  plat::DeleteObject(bitmap);
  if (!copied) {
    return 0;
  }
  return KeyOnTopLeftPixel(surface);
}

int32_t ReloadBitmap(VImg *image) {
  VSurf *holder = image != nullptr ? image->surf : nullptr;
  if (holder == nullptr || holder->surface == nullptr) {
    return 0;
  }
  auto surface = static_cast<plat::Surface>(holder->surface);
  plat::HBITMAP bitmap = LoadBitmapFile(image);
  if (bitmap == nullptr) {
    return 0;
  }
  // The surface keeps the size of the first upload; a file that changed size
  // since is copied clipped to it.
  plat::BITMAP info{};
  if (plat::GetObjectA(bitmap, static_cast<int32_t>(sizeof info), &info) == 0) {
    plat::DeleteObject(bitmap);
    return 0;
  }
  const bool copied = CopyBitmap(surface, bitmap, holder->width, holder->height);
  plat::DeleteObject(bitmap);
  if (!copied) {
    return 0;
  }
  return KeyOnTopLeftPixel(surface);
}

int32_t RemakeSurface(VImg *image) {
  VSurf *holder = image != nullptr ? image->surf : nullptr;
  if (holder == nullptr || device == nullptr) {
    return 0;
  }
  if (holder->surface != nullptr) {
    plat::ReleaseSurface(static_cast<plat::Surface>(holder->surface));
    holder->surface = nullptr;
  }
  plat::Surface surface = nullptr;
  if (CreateOffscreen(holder->width, holder->height, &surface) != plat::DD_OK) {
    return 0;
  }
  holder->surface = surface;
  return surface != nullptr ? 1 : 0;
}

void BlankSurface(VImg *image) {
  VSurf *holder = image != nullptr ? image->surf : nullptr;
  if (holder == nullptr || holder->surface == nullptr) {
    return;
  }
  auto surface = static_cast<plat::Surface>(holder->surface);
  plat::DDSURFACEDESC2 locked{};
  locked.dwSize = sizeof locked;
  if (plat::Lock(surface, nullptr, &locked, plat::DDLOCK_WAIT, nullptr) != plat::DD_OK) {
    return;
  }
  if (locked.lpSurface != nullptr && locked.lPitch > 0) {
    auto *row = static_cast<uint8_t *>(locked.lpSurface);
    for (uint32_t y = 0; y < locked.dwHeight; ++y, row += locked.lPitch) {
      std::memset(row, 0, static_cast<size_t>(locked.lPitch));
    }
  }
  plat::Unlock(surface, nullptr);
  KeyOnTopLeftPixel(surface); // every pixel is the key: nothing of it is drawn
}

} // namespace vantrel
