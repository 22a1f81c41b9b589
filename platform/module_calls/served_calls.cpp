// served_calls.cpp - the Win32 calls a module makes, served by the host
// program with Windows' meaning and exported to the module under their plain
// C names (exports.list).
#include "platform/module_calls/module_calls.h"

#include "platform/platform.h"
#include "vantrel_win32.h"

#include <chrono>
#include <thread>

namespace modulecalls {
namespace {

SleepFn moduleSleep = SleepForReal;

} // namespace

void SetModuleSleep(SleepFn sleep) { moduleSleep = sleep; }

void SleepForReal(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace modulecalls

// Defined as declared in sdk/vantrel_win32.h, with C names.
extern "C" {

void PostQuitMessage(int nExitCode) { plat::PostQuitMessage(nExitCode); }

void OutputDebugStringA(LPCSTR text) {
  if (text != nullptr) {
    plat::OutputDebugStringA(text);
  }
}

// Both clocks read the backend's clock as it is now, also in the middle of a
// call: on the desktop the real one; under replay the replay's own, which
// the script's elapsed values and the module's Sleep move.
DWORD timeGetTime(void) { return plat::timeGetTime(); }
DWORD GetTickCount(void) { return plat::timeGetTime(); }

void Sleep(DWORD ms) {
  if (modulecalls::moduleSleep != nullptr) {
    modulecalls::moduleSleep(ms);
  }
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return plat::MessageBoxA(static_cast<plat::HWND>(owner), text, caption, type);
}

} // extern "C"
