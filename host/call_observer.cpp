// The call observer: nobody watches until a recorder says so.
#include "host/call_observer.h"

namespace vantrel {

CallObserver callObserver = nullptr;

} // namespace vantrel
