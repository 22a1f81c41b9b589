#include "fake_module.h"

#include "module/prog_instance.h"
#include "tests/double/test_double.h"

namespace fake {

Module &M() {
  static Module module;
  return module;
}

std::vector<int32_t> Module::Codes() const {
  std::vector<int32_t> codes;
  for (const ProcCall &call : calls) {
    codes.push_back(call.event.code);
  }
  return codes;
}

int32_t VANTREL_STDCALL Interface(VProg *prog) {
  M().record = prog;
  ++M().interfaceCalls;
  if (M().onInterface) {
    M().onInterface(prog);
  }
  return M().interfaceAnswer;
}

int32_t VANTREL_STDCALL Procedure(int32_t elapsedMs) {
  M().calls.push_back(ProcCall{elapsedMs, vantrel::prog.event});
  if (M().onProcedure) {
    const ProcCall call = M().calls.back();
    M().onProcedure(call);
  }
  return M().procedureAnswer;
}

void Install() {
  td::Reset();
  M() = Module{};
  td::RegisterModule("prog.dll", Interface, Procedure);
}

} // namespace fake
