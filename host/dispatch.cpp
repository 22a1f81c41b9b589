// Calling the module's procedure for one event, and the shutdown notification.
#include "host/dispatch.h"

#include "display/display_state.h"
#include "host/host_state.h"
#include "host/message_boxes.h"
#include "module/prog_instance.h"
#include "platform/platform.h"
#include "render/render_frame.h"

namespace vantrel {

void Dispatch(CallKind kind) {
  // A window message can arrive before the module is loaded (for instance
  // while a start-up box is open); there is nobody to tell then.
  if (progProcedure == nullptr) {
    return;
  }
  // Unsigned 32-bit difference: right across the wrap of the millisecond clock.
  const uint32_t now = plat::timeGetTime();
  const uint32_t elapsed = now - lastTick;
  if (callObserver != nullptr) {
    callObserver(kind, prog.event, static_cast<int32_t>(elapsed));
  }
  const int32_t answer = progProcedure(static_cast<int32_t>(elapsed));
  // Read after the module returns: its own time counts toward no elapsed
  // value, while the render pass below counts toward the next one.
  lastTick = plat::timeGetTime();
  // While the display may be another program's (the application inactive,
  // or a flip found it taken) the module hears its events but nothing is
  // drawn: the first pass once the display is back draws the whole scene.
  if (answer != 0 && !displayAway) {
    RenderFrame();
  }
}

int32_t ShutdownNotify() {
  prog.event.code = EV_SHUTDOWN;
  if (progProcedure != nullptr) {
    if (callObserver != nullptr) {
      callObserver(CallKind::Shutdown, prog.event, 0);
    }
    progProcedure(0);
  }
  ErrorBox("DESTROY!");
  return 0;
}

} // namespace vantrel
