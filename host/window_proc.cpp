// The window procedure: key, mouse and button messages become module events.
#include "host/window_proc.h"

#include "display/display_regain.h"
#include "host/dispatch.h"
#include "host/host_state.h"
#include "host/key_table.h"
#include "host/system_requests.h"
#include "module/prog_instance.h"

namespace vantrel {

namespace {

// Has the module called for the event already written into prog.event; the
// events that do not persist put EV_FRAME back for the idle turns that follow.
void Deliver(bool backToFrame) {
  Dispatch();
  if (backToFrame) {
    prog.event.code = EV_FRAME;
  }
}

void Event(int32_t code, bool backToFrame) {
  prog.event.code = code;
  Deliver(backToFrame);
}

} // namespace

plat::LRESULT WindowProc(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                         plat::LPARAM lParam) {
  // The key table first, so that a module asking for a key's state during
  // the event reads the state the event brings.
  NoteKeyMessage(message, wParam);
  switch (message) {
  case plat::WM_DESTROY:
    plat::PostQuitMessage(0);
    return 0;
  case plat::WM_ACTIVATEAPP:
    active = static_cast<int32_t>(static_cast<uint32_t>(wParam));
    if (active == 0) {
      DisplayMayBeAway();
    }
    KeepAwake(active != 0);
    break;
  case plat::WM_SETCURSOR:
    // No cursor over the window, ever.
    plat::SetCursor(nullptr);
    return 1;
  case plat::WM_KEYDOWN:
    if (wParam == plat::VK_ESCAPE) {
      plat::PostQuitMessage(0);
      return 0;
    }
    prog.event.code = EV_KEYDOWN;
    prog.event.key = static_cast<uint8_t>(wParam & 0xFF);
    Deliver(false);
    break;
  case plat::WM_KEYUP:
    prog.event.code = EV_KEYUP;
    prog.event.key = static_cast<uint8_t>(wParam & 0xFF);
    Deliver(true);
    break;
  case plat::WM_MOUSEMOVE:
    prog.event.code = EV_MOUSEMOVE;
    prog.event.mouseX = static_cast<int32_t>(lParam & 0xFFFF);
    prog.event.mouseY = static_cast<int32_t>((lParam >> 16) & 0xFFFF);
    Deliver(true);
    break;
  case plat::WM_LBUTTONDOWN:
    Event(EV_LBUTTONDOWN, true);
    break;
  case plat::WM_LBUTTONUP:
    Event(EV_LBUTTONUP, true);
    break;
  case plat::WM_RBUTTONDOWN:
    Event(EV_RBUTTONDOWN, true);
    break;
  case plat::WM_RBUTTONUP:
    Event(EV_RBUTTONUP, true);
    break;
  default:
    break;
  }
  return plat::DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace vantrel
