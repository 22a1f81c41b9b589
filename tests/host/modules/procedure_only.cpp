// A module that exports only its procedure.
#include "vantrel.h"

extern "C" VANTREL_EXPORT int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs);

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) { return elapsedMs < 0; }
