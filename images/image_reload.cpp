// The notes of uploaded images, and reloading them after a loss.
#include "images/image_reload.h"

#include "display/display_state.h"
#include "images/bitmap_upload.h"
#include "platform/platform.h"

#include <cstdio>
#include <vector>

namespace vantrel {

namespace {

struct Upload {
  VImg *image;
  int32_t bpp;   // the mode's depth its surface was made for
  bool reported; // its file could not be read again, and the debug output says so
};

std::vector<Upload> &Uploads() {
  static std::vector<Upload> uploads;
  return uploads;
}

void ReportBlank(Upload &upload) {
  if (upload.reported) {
    return;
  }
  upload.reported = true;
  char line[320];
  std::snprintf(line, sizeof line, "Image %s could not be loaded again and stays blank\n",
                upload.image->name);
  plat::OutputDebugStringA(line);
}

} // namespace

void RememberUpload(VImg *image) { Uploads().push_back(Upload{image, screenBpp, false}); }

bool AnyUploads() { return !Uploads().empty(); }

void ForgetUploads() { Uploads().clear(); }

void ReloadImages() {
  if (Uploads().empty() || device == nullptr) {
    return;
  }
  // One call restores every surface that can be; each image is checked below.
  plat::RestoreAllSurfaces(device);
  for (Upload &upload : Uploads()) {
    VSurf *holder = upload.image->surf;
    if (holder == nullptr) {
      continue;
    }
    const auto surface = static_cast<plat::Surface>(holder->surface);
    if (surface == nullptr || upload.bpp != screenBpp || plat::IsLost(surface) != plat::DD_OK) {
      // Made for another depth, or the device would not restore it.
      upload.bpp = screenBpp;
      if (RemakeSurface(upload.image) != 1) {
        ReportBlank(upload);
        continue;
      }
    }
    if (ReloadBitmap(upload.image) != 1) {
      BlankSurface(upload.image);
      ReportBlank(upload);
    }
  }
}

} // namespace vantrel
