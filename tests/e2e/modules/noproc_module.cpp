// noproc_module.cpp - a module that exports VProgInterface only.
#include "vantrel.h"

extern "C" VANTREL_EXPORT int32_t VANTREL_STDCALL VProgInterface(VProg *prog);

int32_t VANTREL_STDCALL VProgInterface(VProg *prog) { return prog != nullptr ? 1 : 0; }
