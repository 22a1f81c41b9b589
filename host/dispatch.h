// Calling the module's procedure.
#ifndef VANTREL_HOST_DISPATCH_H
#define VANTREL_HOST_DISPATCH_H

#include "host/call_observer.h"

#include <cstdint>

namespace vantrel {

// Calls the module with the milliseconds since lastTick, reads the clock
// anew, and runs the render pass when the module answers non-zero. The
// caller has written the event into prog.event; `kind` says to the call
// observer whether this is an idle turn or a message's event.
void Dispatch(CallKind kind = CallKind::Message);
// Tells the module EV_SHUTDOWN (when its procedure is resolved) and shows the
// Error! box "DESTROY!". Answers 0; the caller carries on.
int32_t ShutdownNotify();

} // namespace vantrel

#endif
