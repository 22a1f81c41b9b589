// win32_kernel.cpp - module loading, the debugger output and the millisecond
// clock, straight over Win32 KERNEL and the multimedia timer.
#include "platform/platform.h"

#include "platform/win32/win32_records.h"

#include <mmsystem.h>

uint32_t plat::timeGetTime() { return ::timeGetTime(); }

plat::HMODULE plat::LoadLibraryA(const char *name) {
  return reinterpret_cast<plat::HMODULE>(::LoadLibraryA(name));
}

plat::FARPROC plat::GetProcAddress(plat::HMODULE module, const char *name) {
  // FARPROC is a function pointer on both sides; only the signature differs.
  return reinterpret_cast<plat::FARPROC>(
      ::GetProcAddress(reinterpret_cast<::HMODULE>(module), name));
}

plat::HINSTANCE plat::GetModuleHandleA(const char *name) {
  return reinterpret_cast<plat::HINSTANCE>(::GetModuleHandleA(name));
}

void plat::OutputDebugStringA(const char *text) { ::OutputDebugStringA(text); }
