// win32_modules.cpp - module loading and the debugger output, straight over
// Win32 KERNEL.
#include "platform/win32/win32_modules.h"
#include "platform/platform.h"

#include "platform/win32/win32_records.h"

#include <string>

namespace win32plat {
namespace {
std::string moduleFile;
} // namespace

void SetModuleFile(const char *path) { moduleFile = path != nullptr ? path : ""; }

} // namespace win32plat

plat::HMODULE plat::LoadLibraryA(const char *name) {
  const char *opened =
      win32plat::moduleFile.empty() || name == nullptr ? name : win32plat::moduleFile.c_str();
  return reinterpret_cast<plat::HMODULE>(::LoadLibraryA(opened));
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
