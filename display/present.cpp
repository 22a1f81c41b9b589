// Presenting a finished frame: flip, wait out a busy device, and take a lost
// display back once it is the host's again.
#include "display/present.h"

#include "display/display_regain.h"
#include "display/display_state.h"
#include "platform/platform.h"

namespace vantrel {

int32_t Present() {
  for (;;) {
    // No chain before the first successful mode (or after one that failed
    // half-way): nothing to show. Nor while another program has the display.
    if (primary == nullptr || backBuffer == nullptr || displayAway) {
      return 0;
    }
    plat::HRESULT result = plat::Flip(primary, nullptr, 0);
    if (result == plat::DD_OK) {
      break;
    }
    if (result == plat::DDERR_SURFACELOST) {
      result = RegainDisplay(true);
      if (displayAway) {
        // Lost to another program (the lock screen loses it with no
        // deactivation): nothing to report; it comes back when it is ours.
        return 0;
      }
      if (result != plat::DD_OK) {
        ReportRestoreFailure();
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
