// Loading "prog.dll" and resolving its two entry points by their exact names.
#include "module/module_loader.h"

#include "host/message_boxes.h"
#include "module/prog_instance.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstring>

namespace vantrel {

namespace {

constexpr const char *kModuleName = "prog.dll";

template <typename Fn> Fn EntryPoint(plat::HMODULE library, const char *name) {
  plat::FARPROC found = plat::GetProcAddress(library, name);
  Fn entry = nullptr;
  static_assert(sizeof entry == sizeof found);
  std::memcpy(&entry, &found, sizeof entry);
  return entry;
}

int32_t Refuse(const char *templ) {
  char message[256];
  std::snprintf(message, sizeof message, templ, kModuleName);
  return ErrorBox(message);
}

} // namespace

int32_t LoadModule() {
  // The bare name lets the platform's library search find the module; the
  // library stays loaded for the rest of the process.
  plat::HMODULE library = plat::LoadLibraryA(kModuleName);
  if (library == nullptr) {
    return Refuse("%s was not found or is not a valid DLL.");
  }
  // Both lookups are stored before either is tested, so a reference that
  // was found stays set after a partial failure.
  progInterface = EntryPoint<VProgInterfaceFn>(library, "VProgInterface");
  progProcedure = EntryPoint<VProgProcedureFn>(library, "VProgProcedure");
  if (progInterface == nullptr && progProcedure == nullptr) {
    return Refuse("VProgInterface and VProgProcedure was not found in %s - invalid DLL");
  }
  if (progInterface == nullptr) {
    return Refuse("VProgInterface was not found in %s - invalid DLL");
  }
  if (progProcedure == nullptr) {
    return Refuse("VProgProcedure was not found in %s - invalid DLL");
  }
  return 1;
}

} // namespace vantrel
