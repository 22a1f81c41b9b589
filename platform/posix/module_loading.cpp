// module_loading.cpp - loading modules by name and finding their exports.
#include "platform/platform.h"
#include "platform/posix/module_search.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace posixplat {

std::vector<SearchStep> ModuleSearchOrder(const std::string &name, const std::string &exeDir) {
  if (name.find('/') != std::string::npos) {
    return {{name, false}};
  }
  std::vector<SearchStep> steps;
  if (!exeDir.empty()) {
    steps.push_back({exeDir + "/" + name, false});
  }
  steps.push_back({name, true});
  steps.push_back({"./" + name, false});
  if (!exeDir.empty()) {
    steps.push_back({exeDir + "/" + InstalledDemoFolder() + "/" + name, false});
  }
  return steps;
}

const char *InstalledDemoFolder() {
#ifdef VANTREL_INSTALLED_DEMO_FOLDER
  return VANTREL_INSTALLED_DEMO_FOLDER;
#else
  return "../lib/vantrel/demo";
#endif
}

std::string ExecutableFolder() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) {
    return "";
  }
  std::string path(buf, static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return "";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

bool IsFile(const std::string &path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The instance handle of the program itself.
struct Instance {
  int32_t unused;
};
Instance self{0};

std::string moduleFile;

} // namespace

void SetModuleFile(const char *path) { moduleFile = path != nullptr ? path : ""; }
} // namespace posixplat

namespace plat {

HMODULE LoadLibraryA(const char *name) {
  if (name == nullptr || name[0] == '\0') {
    return nullptr;
  }
  // A module named on the command line is opened as given; anything else
  // is looked for.
  const std::string wanted =
      posixplat::moduleFile.empty()
          ? std::string(name)
          : (posixplat::moduleFile.find('/') == std::string::npos ? "./" + posixplat::moduleFile
                                                                  : posixplat::moduleFile);
  for (const auto &step : posixplat::ModuleSearchOrder(wanted, posixplat::ExecutableFolder())) {
    if (!step.systemSearch && !posixplat::IsFile(step.path)) {
      continue;
    }
    void *handle = dlopen(step.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) {
      return reinterpret_cast<HMODULE>(handle);
    }
    if (!step.systemSearch) {
      // The first file found is the one loaded, or the load fails: a broken
      // module next to the program is not silently replaced by another.
      std::fprintf(stderr, "vantrel: %s\n", dlerror());
      return nullptr;
    }
  }
  if (!posixplat::moduleFile.empty()) {
    // The user named a file that is not there: say which.
    std::fprintf(stderr, "vantrel: %s: no such file\n", wanted.c_str());
  }
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, const char *name) {
  if (module == nullptr || name == nullptr) {
    return nullptr;
  }
  void *symbol = dlsym(reinterpret_cast<void *>(module), name);
  FARPROC proc = nullptr;
  static_assert(sizeof proc == sizeof symbol);
  std::memcpy(&proc, &symbol, sizeof proc);
  return proc;
}

HINSTANCE GetModuleHandleA(const char *name) {
  if (name == nullptr) {
    return reinterpret_cast<HINSTANCE>(&posixplat::self);
  }
  // Only a module already loaded has a handle.
  return reinterpret_cast<HINSTANCE>(dlopen(name, RTLD_LAZY | RTLD_NOLOAD));
}

} // namespace plat
