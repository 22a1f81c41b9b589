// Opening the DirectDraw device and building the flipping chain of a mode.
#include "display/display_mode.h"

#include "display/display_state.h"
#include "host/host_state.h"
#include "host/message_boxes.h"
#include "images/image_reload.h"
#include "platform/platform.h"

#include <cstring>

namespace vantrel {

int32_t InitDisplay() {
  plat::DirectDraw first = nullptr;
  if (plat::DirectDrawCreate(nullptr, &first, nullptr) != plat::DD_OK) {
    return ErrorBox("DirectDrawCreate failed");
  }
  // The first interface only serves to reach IDirectDraw4 of the same object.
  if (plat::QueryInterface(first, &plat::IID_IDirectDraw4, &device) != plat::DD_OK) {
    device = nullptr;
    return ErrorBox("QueryInterface failed");
  }
  if (plat::SetCooperativeLevel(device, mainWindow,
                                plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN) != plat::DD_OK) {
    return ErrorBox("SetCooperativeLevel failed");
  }
  return 1;
}

// Gives back the chain of an earlier mode: the back buffer first, then the
// primary surface that holds it. An exclusive device refuses a second primary
// surface while the first is still held.
static void ReleaseChain() {
  if (backBuffer != nullptr) {
    plat::ReleaseSurface(backBuffer);
    backBuffer = nullptr;
  }
  if (primary != nullptr) {
    plat::ReleaseSurface(primary);
    primary = nullptr;
  }
}

int32_t VANTREL_CDECL SetMode(int32_t width, int32_t height, int32_t bpp) {
  if (device == nullptr) {
    return ErrorBox("SetDisplayMode failed");
  }
  if (plat::SetDisplayMode(device, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                           static_cast<uint32_t>(bpp), 0, 0) != plat::DD_OK) {
    return ErrorBox("SetDisplayMode failed");
  }
  ReleaseChain();

  // A primary surface with one back buffer; no size or pixel format, so it
  // takes the mode's.
  plat::DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = 124;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX;
  if (plat::CreateSurface(device, &desc, &primary, nullptr) != plat::DD_OK || primary == nullptr) {
    return ErrorBox("CreateSurface failed");
  }

  plat::DDSCAPS2 caps = {plat::DDSCAPS_BACKBUFFER, 0, 0, 0};
  if (primary == nullptr || plat::GetAttachedSurface(primary, &caps, &backBuffer) != plat::DD_OK) {
    return ErrorBox("GetAttachedSurface failed");
  }

  screenW = width;
  screenH = height;
  screenBpp = bpp;
  // A mode change loses every surface made before it: images uploaded under
  // an earlier mode are restored, or made anew in this mode's format, and
  // loaded again.
  if (AnyUploads()) {
    ReloadImages();
  }
  return 1;
}

} // namespace vantrel
