// crash_report.cpp - what the desktop host says when the process crashes,
// on standard error (capture/host_crash_report.h composes it).
#include "platform/sdl/crash_report.h"

#include "capture/host_crash_report.h"
#include "module/prog_instance.h"
#include "platform/sdl/backend_state.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <dlfcn.h>

namespace sdlplat {
namespace {

void CopyPath(const char *path, char *out, size_t size) {
  char full[PATH_MAX];
  const char *chosen = realpath(path, full) != nullptr ? full : path;
  const size_t n = std::min(std::strlen(chosen), size - 1);
  std::memcpy(out, chosen, n);
  out[n] = '\0';
}

void FindModulePath(char *out, size_t size) {
  out[0] = '\0';
  Dl_info info{};
  if (dladdr(reinterpret_cast<void *>(vantrel::progProcedure), &info) != 0 &&
      info.dli_fname != nullptr) {
    CopyPath(info.dli_fname, out, size);
  }
}

void Report(const char *what) {
  replay::CrashText text;
  replay::ComposeHostCrash(what, &text);
  text.Write();
}

} // namespace

void ReportCrashes(const char *recordPath) {
  char recording[PATH_MAX] = {};
  if (recordPath != nullptr) {
    CopyPath(recordPath, recording, sizeof recording);
  }
  replay::WatchHostCalls({FramesPresented, FindModulePath},
                         recordPath != nullptr ? recording : nullptr);
  replay::CatchCrashes(Report, -1);
}

} // namespace sdlplat
