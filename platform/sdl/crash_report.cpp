// crash_report.cpp - what the desktop host says when the process crashes.
// Everything the report needs is gathered beforehand into plain buffers:
// the signal handler only reads them.
#include "platform/sdl/crash_report.h"

#include "capture/crash_catch.h"
#include "host/call_observer.h"
#include "module/prog_instance.h"
#include "platform/sdl/backend_state.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace sdlplat {
namespace {

vantrel::CallObserver next = nullptr; // the recorder's, when recording
bool inCall = false;
int32_t callEvent = 0;
char recording[PATH_MAX] = {};
char modulePath[PATH_MAX] = {};

void CopyPath(const char *path, char (&out)[PATH_MAX]) {
  char full[PATH_MAX];
  const char *chosen = realpath(path, full) != nullptr ? full : path;
  const size_t n = std::min(std::strlen(chosen), sizeof out - 1);
  std::memcpy(out, chosen, n);
  out[n] = '\0';
}

void Observe(vantrel::CallKind kind, const VEvent &event, int32_t elapsed) {
  if (kind == vantrel::CallKind::Init && modulePath[0] == '\0') {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(vantrel::progProcedure), &info) != 0 &&
        info.dli_fname != nullptr) {
      CopyPath(info.dli_fname, modulePath);
    }
  }
  inCall = true;
  callEvent = event.code;
  if (next != nullptr) {
    next(kind, event, elapsed);
  }
}

void Report(const char *what) {
  replay::CrashText text;
  text.Add("vantrel: crashed (").Add(what).Add(") ");
  if (!inCall) {
    text.Add("while the module was being loaded or started");
  } else {
    const char *name = replay::EventName(callEvent);
    text.Add("in the module's ").Add(name != nullptr ? name : "unknown event").Add(" call (frame ");
    text.Add(int64_t{FramesPresented()}).Add(")");
  }
  text.Add("\n");
  if (recording[0] != '\0') {
    text.Add("vantrel: the recording, complete up to that call, is ").Add(recording).Add("\n");
    text.Add("vantrel: replay it with: vantrel-replay --module ");
    text.Add(modulePath[0] != '\0' ? modulePath : "prog.dll").Add(" ").Add(recording).Add("\n");
  }
  text.Write();
}

} // namespace

void ReportCrashes(const char *recordPath) {
  if (recordPath != nullptr) {
    CopyPath(recordPath, recording);
  }
  if (vantrel::callObserver != Observe) {
    next = vantrel::callObserver;
    vantrel::callObserver = Observe;
  }
  replay::CatchCrashes(Report, -1);
}

} // namespace sdlplat
