// refuse_module.cpp - a game module that refuses the host's record. It still
// writes down the calls it gets, so the test sees whether the host tells it
// of the shutdown.
#include "vantrel.h"

#include <cstdio>

VANTREL_EXPORTS

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *) { return 0; }

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  if (FILE *f = std::fopen("probe.txt", "a")) {
    std::fprintf(f, "call ms %d\n", elapsedMs);
    std::fclose(f);
  }
  return 0;
}
