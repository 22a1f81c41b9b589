// The folder of the module's own file, asked of the platform's loader.
#include "module_path.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace demo {
namespace {

// Any object of this module: the loader says which file holds its address.
const char anchor = 0;

// The full file name of this module, or "" when the loader does not say.
std::string ModuleFileName() {
#if defined(_WIN32)
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          &anchor, &self)) {
    return "";
  }
  char name[MAX_PATH];
  const DWORD n = GetModuleFileNameA(self, name, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? "" : std::string(name, n);
#else
  Dl_info info{};
  if (dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr) {
    return "";
  }
  return info.dli_fname;
#endif
}

} // namespace

std::string PathNextToModule(const char *file) {
  const std::string self = ModuleFileName();
  const std::size_t slash = self.find_last_of("/\\");
  if (slash == std::string::npos) {
    return file;
  }
  std::string path = self.substr(0, slash + 1) + file;
  // VImg.name holds 255 characters; keep one for its terminator to spare.
  return path.size() <= 254 ? path : std::string(file);
}

} // namespace demo
