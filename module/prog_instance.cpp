#include "module/prog_instance.h"

namespace vantrel {

VProg prog;
VProgInterfaceFn progInterface = nullptr;
VProgProcedureFn progProcedure = nullptr;

} // namespace vantrel
