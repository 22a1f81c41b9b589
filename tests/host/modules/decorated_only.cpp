// A module whose entry points carry only decorated names, as a compiler that
// prefixes an underscore to exported functions would leave them. The ELF
// linker reserves '@' for symbol versions, so the stdcall "@4" suffix cannot
// be spelled here; the underscore form is missing the exact names just as
// well.
#include "vantrel.h"

extern "C" VANTREL_EXPORT int32_t Interface(VProg *prog) __asm__("_VProgInterface");
extern "C" VANTREL_EXPORT int32_t Procedure(int32_t elapsedMs) __asm__("_VProgProcedure");

extern "C" int32_t Interface(VProg *prog) { return prog != nullptr; }
extern "C" int32_t Procedure(int32_t elapsedMs) { return elapsedMs < 0; }
