// Loading the game module "prog.dll" and resolving its two entry points.
#ifndef VANTREL_MODULE_MODULE_LOADER_H
#define VANTREL_MODULE_MODULE_LOADER_H

#include <cstdint>

namespace vantrel {

// Loads "prog.dll" and stores its VProgInterface and VProgProcedure in
// progInterface / progProcedure. Answers 1 when both resolved, else 0 after
// exactly one Error! box naming what is missing.
int32_t LoadModule();

} // namespace vantrel

#endif
