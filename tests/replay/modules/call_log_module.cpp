// call_log_module.cpp - a module that writes every call it gets to standard
// error, one line each ("call CODE key=K at=X,Y ms=E"), sets a small mode and
// asks for a frame on every idle turn with a non-zero elapsed value.
#include "vantrel.h"

#include <cstdio>

VANTREL_EXPORTS

namespace {
VProg *prog = nullptr;
} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *p) {
  prog = p;
  return p != nullptr ? 1 : 0;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  const VEvent &e = prog->event;
  std::fprintf(stderr, "call %d key=%d at=%d,%d ms=%d\n", e.code, e.key, e.mouseX, e.mouseY,
               elapsedMs);
  if (e.code == EV_INIT) {
    prog->SetMode(64, 48, 16);
    return 0;
  }
  return e.code == EV_FRAME && elapsedMs > 0 ? 1 : 0;
}
