// Taking the display back: test the cooperative level, set the mode again
// when it changed, restore the chain and reload the images.
#include "display/display_regain.h"

#include "display/display_state.h"
#include "host/dispatch.h"
#include "host/message_boxes.h"
#include "images/image_reload.h"

namespace vantrel {

namespace {

// Another program has the display: nothing can be restored until it is back.
bool HeldElsewhere(plat::HRESULT level) {
  return level == plat::DDERR_NOEXCLUSIVEMODE || level == plat::DDERR_EXCLUSIVEMODEALREADYSET;
}

bool ChainLost() {
  return plat::IsLost(primary) != plat::DD_OK || plat::IsLost(backBuffer) != plat::DD_OK;
}

// A step of the way back failed: if the display was taken again meanwhile it
// is only away; otherwise the failure stands.
plat::HRESULT Failed(plat::HRESULT result) {
  if (HeldElsewhere(plat::TestCooperativeLevel(device))) {
    displayAway = true;
  }
  return result;
}

} // namespace

void DisplayMayBeAway() {
  if (device != nullptr) {
    displayAway = true;
  }
}

plat::HRESULT RegainDisplay(bool lossSeen) {
  if (device == nullptr) {
    displayAway = false;
    return plat::DD_OK;
  }
  const plat::HRESULT level = plat::TestCooperativeLevel(device);
  if (HeldElsewhere(level)) {
    displayAway = true;
    return level;
  }
  displayAway = false;
  if (primary == nullptr || backBuffer == nullptr) {
    return plat::DD_OK; // no chain yet: the module's first mode builds it
  }
  if (level == plat::DDERR_WRONGMODE) {
    // Another program left its own mode behind: the module's comes first.
    const plat::HRESULT set =
        plat::SetDisplayMode(device, static_cast<uint32_t>(screenW), static_cast<uint32_t>(screenH),
                             static_cast<uint32_t>(screenBpp), 0, 0);
    if (set != plat::DD_OK) {
      return Failed(set);
    }
  } else if (!lossSeen && !ChainLost()) {
    return plat::DD_OK;
  }
  const plat::HRESULT restored = plat::Restore(primary);
  if (restored != plat::DD_OK) {
    return Failed(restored);
  }
  // The images went with the primary surface: bring them back before the
  // next pass draws from them.
  ReloadImages();
  return plat::DD_OK;
}

bool DisplayReady() {
  if (!displayAway) {
    return true;
  }
  const plat::HRESULT result = RegainDisplay(false);
  if (displayAway) {
    return false;
  }
  if (result != plat::DD_OK) {
    ReportRestoreFailure();
  }
  return true;
}

void ReportRestoreFailure() {
  ErrorBox("Tried to restore primary surface and failed.");
  ShutdownNotify();
}

} // namespace vantrel
