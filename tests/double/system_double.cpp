// KERNEL and winmm of the test double: the settable clock, module loading
// (fake in-process modules or real shared libraries) and debugger output.
#include "tests/double/double_state.h"

#include <cstring>
#include <dlfcn.h>

namespace td {

using detail::S;

namespace detail {

void ResetModules() {
  for (void *library : S().libraries) {
    dlclose(library);
  }
  S().libraries.clear();
  S().fakes.clear();
  S().fakeByName.clear();
}

} // namespace detail

void SetClock(uint32_t ms) { S().now = ms; }
void AdvanceClock(uint32_t ms) { S().now += ms; }
uint32_t Now() { return S().now; }
void SetClockStep(uint32_t step) { S().step = step; }

void RegisterModule(const std::string &name, VProgInterfaceFn iface, VProgProcedureFn proc) {
  S().fakes.push_back(detail::FakeModule{iface, proc});
  S().fakeByName[name] = S().fakes.size() - 1;
}

void SetModuleFolder(const std::string &folder) { S().moduleFolder = folder; }

std::vector<uint32_t> OpenTimerPeriods() { return S().timerPeriods; }
uint32_t ExecutionState() { return S().executionState; }

} // namespace td

namespace plat {

using td::detail::H;
using td::detail::Record;
using td::detail::S;
using td::detail::Scripted;
using td::detail::Text;

uint32_t timeGetTime() {
  Record("timeGetTime");
  uint64_t answer = 0;
  if (Scripted("timeGetTime", &answer)) {
    return static_cast<uint32_t>(answer);
  }
  const uint32_t now = S().now;
  S().now += S().step;
  return now;
}

uint32_t timeBeginPeriod(uint32_t ms) {
  Record("timeBeginPeriod", {ms});
  uint64_t answer = 0;
  if (Scripted("timeBeginPeriod", &answer)) {
    return static_cast<uint32_t>(answer);
  }
  if (ms == 0) {
    return TIMERR_NOCANDO;
  }
  S().timerPeriods.push_back(ms);
  return TIMERR_NOERROR;
}

// As on the platform, only a period that was begun can be ended.
uint32_t timeEndPeriod(uint32_t ms) {
  Record("timeEndPeriod", {ms});
  uint64_t answer = 0;
  if (Scripted("timeEndPeriod", &answer)) {
    return static_cast<uint32_t>(answer);
  }
  auto &open = S().timerPeriods;
  for (auto it = open.end(); it != open.begin();) {
    --it;
    if (*it == ms) {
      open.erase(it);
      return TIMERR_NOERROR;
    }
  }
  return TIMERR_NOCANDO;
}

uint32_t SetThreadExecutionState(uint32_t flags) {
  Record("SetThreadExecutionState", {flags});
  uint64_t answer = 0;
  if (Scripted("SetThreadExecutionState", &answer)) {
    return static_cast<uint32_t>(answer);
  }
  const uint32_t previous = S().executionState;
  if ((flags & ES_CONTINUOUS) != 0) {
    S().executionState = flags;
  }
  return previous;
}

HMODULE LoadLibraryA(const char *name) {
  Record("LoadLibraryA", {}, {Text(name)});
  uint64_t answer = 0;
  if (Scripted("LoadLibraryA", &answer) || name == nullptr) {
    return nullptr;
  }
  auto fake = S().fakeByName.find(name);
  if (fake != S().fakeByName.end()) {
    return reinterpret_cast<HMODULE>(&S().fakes[fake->second]);
  }
  if (S().moduleFolder.empty()) {
    return nullptr;
  }
  const std::string path = S().moduleFolder + "/" + name;
  void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return nullptr;
  }
  S().libraries.push_back(library);
  return reinterpret_cast<HMODULE>(library);
}

FARPROC GetProcAddress(HMODULE module, const char *name) {
  Record("GetProcAddress", {H(module)}, {Text(name)});
  uint64_t answer = 0;
  if (Scripted("GetProcAddress", &answer) || module == nullptr || name == nullptr) {
    return nullptr;
  }
  for (const td::detail::FakeModule &fake : S().fakes) {
    if (reinterpret_cast<HMODULE>(const_cast<td::detail::FakeModule *>(&fake)) != module) {
      continue;
    }
    if (std::strcmp(name, "VProgInterface") == 0) {
      return reinterpret_cast<FARPROC>(fake.iface);
    }
    if (std::strcmp(name, "VProgProcedure") == 0) {
      return reinterpret_cast<FARPROC>(fake.proc);
    }
    return nullptr;
  }
  for (void *library : S().libraries) {
    if (reinterpret_cast<HMODULE>(library) == module) {
      void *symbol = dlsym(library, name);
      FARPROC entry = nullptr;
      static_assert(sizeof entry == sizeof symbol);
      std::memcpy(&entry, &symbol, sizeof entry);
      return entry;
    }
  }
  return nullptr;
}

HINSTANCE GetModuleHandleA(const char *name) {
  Record("GetModuleHandleA", {}, {Text(name)});
  static char instance;
  return name == nullptr ? reinterpret_cast<HINSTANCE>(&instance) : nullptr;
}

void OutputDebugStringA(const char *text) {
  Record("OutputDebugStringA", {}, {Text(text)});
  S().debugOutput += Text(text);
}

} // namespace plat
