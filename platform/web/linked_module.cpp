// linked_module.cpp - the module linked into the page's program. Its two
// entry points are found by name as a loaded prog.dll's are: a module that
// lacks one gets the same boxes as on the other hosts.
#include "platform/platform.h"
#include "vantrel.h"

#include <cctype>
#include <cstring>
#include <string_view>

// Weak: a module without one of them still links, and the lookup finds none.
extern "C" __attribute__((weak)) int32_t VANTREL_STDCALL VProgInterface(VProg *prog);
extern "C" __attribute__((weak)) int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs);

namespace {

struct LinkedModule {
  int32_t unused;
};
LinkedModule theModule{0};
LinkedModule self{0};

// The last part of a path, compared without case as Windows compares names.
bool NamesTheModule(std::string_view name) {
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  constexpr std::string_view kName = "prog.dll";
  if (name.size() != kName.size()) {
    return false;
  }
  for (size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != kName[i]) {
      return false;
    }
  }
  return true;
}

template <typename Fn> plat::FARPROC AsProc(Fn fn) {
  plat::FARPROC proc = nullptr;
  static_assert(sizeof proc == sizeof fn);
  std::memcpy(&proc, &fn, sizeof proc);
  return proc;
}

} // namespace

namespace plat {

HMODULE LoadLibraryA(const char *name) {
  if (name == nullptr || !NamesTheModule(name)) {
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(&theModule);
}

FARPROC GetProcAddress(HMODULE module, const char *name) {
  if (module != reinterpret_cast<HMODULE>(&theModule) || name == nullptr) {
    return nullptr;
  }
  if (std::strcmp(name, "VProgInterface") == 0) {
    return VProgInterface != nullptr ? AsProc(&VProgInterface) : nullptr;
  }
  if (std::strcmp(name, "VProgProcedure") == 0) {
    return VProgProcedure != nullptr ? AsProc(&VProgProcedure) : nullptr;
  }
  return nullptr;
}

HINSTANCE GetModuleHandleA(const char *name) {
  if (name == nullptr) {
    return reinterpret_cast<HINSTANCE>(&self);
  }
  return NamesTheModule(name) ? reinterpret_cast<HINSTANCE>(&theModule) : nullptr;
}

} // namespace plat
