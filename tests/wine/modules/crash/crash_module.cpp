// crash_module.cpp - a module that dereferences null in its fifth call after
// EV_INIT: vantrel-replay.exe must name that call and exit with code 4.
#include "vantrel.h"

VANTREL_EXPORTS

namespace {
VProg *prog = nullptr;
int calls = 0;
} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t) {
  if (prog->event.code == EV_INIT) {
    prog->SetMode(640, 480, 16);
    return 0;
  }
  if (prog->event.code != EV_SHUTDOWN && ++calls == 5) {
    volatile int *nowhere = nullptr;
    return *nowhere;
  }
  return 0;
}
