// Presenting a finished frame: flip, wait out a busy device, restore a lost
// primary surface and bring the images back with it.
#include "display/present.h"

#include "display/display_state.h"
#include "host/dispatch.h"
#include "host/message_boxes.h"
#include "images/image_reload.h"
#include "platform/platform.h"

namespace vantrel {

int32_t Present() {
  // No chain before the first successful mode (or after one that failed
  // half-way): nothing to show.
  for (;;) {
    if (primary == nullptr || backBuffer == nullptr) {
      return 0;
    }
    plat::HRESULT result = plat::Flip(primary, nullptr, 0);
    if (result == plat::DD_OK) {
      break;
    }
    if (result == plat::DDERR_SURFACELOST) {
      result = plat::Restore(primary);
      if (result != plat::DD_OK) {
        ErrorBox("Tried to restore primary surface and failed.");
        ShutdownNotify();
      } else {
        // The images went with the primary surface: bring them back before
        // the next pass draws from them.
        ReloadImages();
      }
    }
    // A busy device is waited out by flipping again at once; every other
    // answer ends the attempt.
    if (result != plat::DDERR_WASSTILLDRAWING) {
      break;
    }
  }
  return 0;
}

} // namespace vantrel
