// The interface record `prog` and the module's two entry-point references.
#ifndef VANTREL_MODULE_PROG_INSTANCE_H
#define VANTREL_MODULE_PROG_INSTANCE_H

#include "vantrel.h"

namespace vantrel {

// The one interface record shared with the module. Static storage: zeroed
// before its constructor runs, destroyed at process exit.
extern VProg prog;

// The module's entry points, null until LoadModule resolves them.
extern VProgInterfaceFn progInterface;
extern VProgProcedureFn progProcedure;

} // namespace vantrel

#endif
