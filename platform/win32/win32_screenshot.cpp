// win32_screenshot.cpp - Print Screen on Windows: the frame on the screen as
// a PNG file beside the game. In a window or borderless it is the soft
// device's front buffer; in exclusive play the real primary surface, read
// through a read-only lock, when its pixels are in one of the device's own
// formats (16-bit 5-6-5, 24 and 32-bit RGB).
#include "capture/frame_image.h"
#include "capture/screenshot_file.h"
#include "platform/soft/soft_device.h"
#include "platform/win32/win32_presentation.h"
#include "platform/win32/win32_real.h"

#include <cstdio>
#include <string>

namespace win32 {
namespace {

plat::Surface realPrimary = nullptr;

bool DeviceFormat(const plat::DDPIXELFORMAT &f) {
  if ((f.dwFlags & plat::DDPF_RGB) == 0) {
    return false;
  }
  switch (f.dwRGBBitCount) {
  case 16:
    return f.dwRBitMask == 0xF800 && f.dwGBitMask == 0x07E0 && f.dwBBitMask == 0x001F;
  case 24:
  case 32:
    return f.dwRBitMask == 0xFF0000 && f.dwGBitMask == 0x00FF00 && f.dwBBitMask == 0x0000FF;
  default:
    return false;
  }
}

// The real primary's pixels in the replay runner's colours. False with the
// reason in `why`.
bool CaptureRealPrimary(replay::RgbImage *out, std::string *why) {
  if (realPrimary == nullptr) {
    *why = "no frame to save yet";
    return false;
  }
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = 124;
  const plat::HRESULT locked =
      real::Lock(realPrimary, nullptr, &desc, plat::DDLOCK_WAIT | plat::DDLOCK_READONLY, nullptr);
  if (locked != plat::DD_OK) {
    char text[64];
    std::snprintf(text, sizeof text, "the screen cannot be read (Lock: 0x%08X)",
                  static_cast<unsigned>(locked));
    *why = text;
    return false;
  }
  bool ok = false;
  if (!DeviceFormat(desc.ddpfPixelFormat) || desc.lpSurface == nullptr) {
    *why = "the screen's pixel format is not one a shot is made of (" +
           std::to_string(desc.ddpfPixelFormat.dwRGBBitCount) + " bits a pixel)";
  } else {
    const soft::SurfaceView view{static_cast<int32_t>(desc.dwWidth),
                                 static_cast<int32_t>(desc.dwHeight),
                                 static_cast<int32_t>(desc.ddpfPixelFormat.dwRGBBitCount),
                                 desc.lPitch,
                                 static_cast<uint8_t *>(desc.lpSurface),
                                 false,
                                 0};
    ok = replay::ViewToRgb(view, out);
    if (!ok) {
      *why = "the screen cannot be read";
    }
  }
  real::Unlock(realPrimary, nullptr);
  return ok;
}

void Say(const std::string &line) { plat::OutputDebugStringA((line + "\n").c_str()); }

} // namespace

void NoteRealPrimary(plat::Surface primary) { realPrimary = primary; }

bool SaveScreenshot() {
  replay::RgbImage frame;
  std::string why;
  const bool captured =
      SoftDisplay() ? replay::CaptureFrame(&frame) : CaptureRealPrimary(&frame, &why);
  if (!captured) {
    Say("vantrel: the screenshot was not saved: " + (why.empty() ? "no frame to save yet" : why));
    return false;
  }
  const std::string file = replay::SaveScreenshot(frame, FramesPresented(), &why);
  if (file.empty()) {
    Say("vantrel: the screenshot was not saved: " + why);
    return false;
  }
  Say("vantrel: screenshot " + file);
  return true;
}

} // namespace win32
