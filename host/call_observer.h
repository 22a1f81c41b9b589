// Watching every call of the module's procedure: the recorder's hook.
#ifndef VANTREL_HOST_CALL_OBSERVER_H
#define VANTREL_HOST_CALL_OBSERVER_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// Why the host called the module's procedure.
enum class CallKind {
  Init,     // the first call of the run
  Idle,     // an idle turn of the main loop (the event may persist from a key-down)
  Message,  // a window message turned into an event
  Shutdown, // the last call of the run
};

// Called just before each call of the module's procedure with the event the
// module is about to see and the elapsed value it gets. Null (the default):
// nobody watches, and the call costs one test of a pointer.
using CallObserver = void (*)(CallKind kind, const VEvent &event, int32_t elapsed);
extern CallObserver callObserver;

} // namespace vantrel

#endif
