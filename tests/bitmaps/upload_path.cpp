#include "upload_path.h"

namespace bmptest {

plat::DirectDraw4 OpenDeviceInMode(uint32_t bpp) {
  soft::ResetDevice();
  plat::DirectDraw first = nullptr;
  plat::DirectDraw4 dd = nullptr;
  if (soft::DirectDrawCreate(nullptr, &first, nullptr) != plat::DD_OK ||
      soft::QueryInterface(first, &plat::IID_IDirectDraw4, &dd) != plat::DD_OK ||
      soft::SetCooperativeLevel(dd, nullptr, plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN) !=
          plat::DD_OK ||
      soft::SetDisplayMode(dd, 640, 480, bpp, 0, 0) != plat::DD_OK) {
    return nullptr;
  }
  return dd;
}

plat::Surface UploadFile(plat::DirectDraw4 dd, const char *path, int32_t *width, int32_t *height) {
  *width = 0;
  *height = 0;
  void *bitmap = soft::LoadImageA(nullptr, path, plat::IMAGE_BITMAP, 0, 0,
                                  plat::LR_LOADFROMFILE | plat::LR_CREATEDIBSECTION);
  if (bitmap == nullptr)
    return nullptr;
  plat::BITMAP info{};
  soft::GetObjectA(bitmap, static_cast<int32_t>(sizeof info), &info);
  *width = info.bmWidth;
  *height = info.bmHeight;

  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
  desc.dwWidth = static_cast<uint32_t>(info.bmWidth);
  desc.dwHeight = static_cast<uint32_t>(info.bmHeight);
  desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  plat::Surface surface = nullptr;
  if (soft::CreateSurface(dd, &desc, &surface, nullptr) != plat::DD_OK || surface == nullptr) {
    soft::DeleteObject(bitmap);
    return nullptr;
  }
  plat::HDC memory = soft::CreateCompatibleDC(nullptr);
  soft::SelectObject(memory, bitmap);
  plat::HDC target = nullptr;
  bool copied = false;
  if (soft::GetDC(surface, &target) == plat::DD_OK) {
    copied =
        soft::BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, plat::SRCCOPY) != 0;
    soft::ReleaseDC(surface, target);
  }
  soft::DeleteDC(memory);
  soft::DeleteObject(bitmap);
  if (!copied) {
    soft::ReleaseSurface(surface);
    return nullptr;
  }
  return surface;
}

} // namespace bmptest
