// A complete module: accepts the record and greets through the Report slot on
// its first call, so a test sees the host's callbacks reached from a library.
#include "vantrel.h"

namespace {
VProg *host = nullptr;
}

VANTREL_EXPORTS

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *prog) {
  host = prog;
  return 1;
}

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  if (host != nullptr && host->event.code == EV_INIT && host->Report != nullptr) {
    host->Report("module ready");
  }
  return elapsedMs < 0 ? 1 : 0;
}
