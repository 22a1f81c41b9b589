#include "upload_path.h"

#include "display/display_state.h"
#include "images/bitmap_upload.h"

#include <new>

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
  // The host's own upload, into an image that is on no list.
  vantrel::device = dd;
  VImg image(new (std::nothrow) VSurf(), path, IMG_LOAD);
  if (image.surf == nullptr) {
    return nullptr;
  }
  const int32_t answer = vantrel::UploadBitmap(&image);
  auto surface = static_cast<plat::Surface>(image.surf->surface);
  vantrel::device = nullptr;
  if (answer != 1) {
    if (surface != nullptr) {
      soft::ReleaseSurface(surface);
    }
    return nullptr;
  }
  *width = image.surf->width;
  *height = image.surf->height;
  return surface;
}

} // namespace bmptest
