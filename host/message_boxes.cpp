// The Error! and Report boxes: modal, one OK button, owned by the main window.
#include "host/message_boxes.h"

#include "host/host_state.h"
#include "platform/platform.h"

namespace vantrel {

// A module may hand over a null text; the box then shows nothing.
static const char *TextOrEmpty(const char *text) { return text != nullptr ? text : ""; }

int32_t ErrorBox(const char *text) {
  plat::MessageBoxA(mainWindow, TextOrEmpty(text), "Error!", plat::MB_OK);
  return 0;
}

int32_t VANTREL_CDECL ReportBox(const char *text) {
  plat::MessageBoxA(mainWindow, TextOrEmpty(text), "Report", plat::MB_OK);
  return 1;
}

} // namespace vantrel
