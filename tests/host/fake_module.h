// An in-process game module for the host tests: it records every call with
// the event it saw, answers as told, and runs the test's hooks inside calls.
#ifndef VANTREL_TESTS_HOST_FAKE_MODULE_H
#define VANTREL_TESTS_HOST_FAKE_MODULE_H

#include "vantrel.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace fake {

struct ProcCall {
  int32_t elapsed;
  VEvent event; // prog.event as the module saw it during the call
};

struct Module {
  VProg *record = nullptr; // what VProgInterface received
  int interfaceCalls = 0;
  std::vector<ProcCall> calls;
  int32_t interfaceAnswer = 1;
  int32_t procedureAnswer = 0;
  std::function<void(VProg *)> onInterface;
  std::function<void(const ProcCall &)> onProcedure;

  std::vector<int32_t> Codes() const;
};

Module &M();

int32_t VANTREL_STDCALL Interface(VProg *prog);
int32_t VANTREL_STDCALL Procedure(int32_t elapsedMs);

// A fresh platform (td::Reset) and a fresh fake module, registered as
// "prog.dll".
void Install();

} // namespace fake

#endif
