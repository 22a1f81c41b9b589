// The Error! and Report boxes: modal, one OK button, owned by the main window
// while it still is one.
#include "host/message_boxes.h"

#include "display/display_state.h"
#include "host/host_state.h"
#include "platform/platform.h"

namespace vantrel {

namespace {

// A module may hand over a null text; the box then shows nothing.
const char *TextOrEmpty(const char *text) { return text != nullptr ? text : ""; }

// A box owned by a handle that no longer names a window (after a close
// request destroyed it) is refused by the platform: nothing shows, nobody is
// told. Such a box has no owner instead.
plat::HWND Owner() { return plat::IsWindow(mainWindow) != 0 ? mainWindow : nullptr; }

// In exclusive full screen the platform draws boxes on the surface that was
// visible when the mode was set; after an odd number of flips that is the
// back buffer. Flipping back first puts the box where the user looks.
void ShowBox(const char *text, const char *caption) {
  if (primary != nullptr) {
    plat::FlipToGDISurface(device);
  }
  plat::MessageBoxA(Owner(), TextOrEmpty(text), caption, plat::MB_OK);
}

} // namespace

int32_t ErrorBox(const char *text) {
  ShowBox(text, "Error!");
  return 0;
}

int32_t VANTREL_CDECL ReportBox(const char *text) {
  ShowBox(text, "Report");
  return 1;
}

} // namespace vantrel
