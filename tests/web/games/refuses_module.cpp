// refuses_module.cpp - a module that refuses the record: its VProgInterface
// answers 0, so the host ends the run.
#include "vantrel.h"

VANTREL_EXPORTS

int32_t VANTREL_STDCALL VProgInterface(VProg *prog) {
  (void)prog;
  return 0;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  (void)elapsedMs;
  return 0;
}
