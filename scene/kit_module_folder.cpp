// kit_module_folder.cpp - the folder of the module's own file, asked of the
// platform's loader about an object of this file (compiled into the module,
// so the loader names the module, not the host).
#include "vantrel_kit.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

const char anchor = 0;

std::string ModulePath() {
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

std::string VModuleFolder() {
  const std::string self = ModulePath();
  const size_t slash = self.find_last_of("/\\");
  return slash == std::string::npos ? "" : self.substr(0, slash + 1);
}

std::string VModuleFile(const char *file) {
  const std::string folder = VModuleFolder();
  if (folder.empty()) {
    return file;
  }
  std::string path = folder + file;
  // VImg.name holds 255 characters; one is kept for its terminator to spare.
  return path.size() <= 254 ? path : std::string(file);
}
