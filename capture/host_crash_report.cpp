// host_crash_report.cpp - the host's crash report. Everything it needs is
// gathered beforehand into plain buffers: composing only reads them.
#include "capture/host_crash_report.h"

#include "host/call_observer.h"
#include "module/prog_instance.h"

#include <algorithm>
#include <cstring>

namespace replay {
namespace {

constexpr size_t kPathSize = 4096;

HostCrashFacts facts{};
vantrel::CallObserver next = nullptr; // the recorder's, when recording
bool inCall = false;
int32_t callEvent = 0;
char recordingPath[kPathSize] = {};
char modulePath[kPathSize] = {};

void Observe(vantrel::CallKind kind, const VEvent &event, int32_t elapsed) {
  if (kind == vantrel::CallKind::Init && modulePath[0] == '\0' && facts.findModulePath != nullptr) {
    facts.findModulePath(modulePath, sizeof modulePath);
    modulePath[sizeof modulePath - 1] = '\0';
  }
  inCall = true;
  callEvent = event.code;
  if (next != nullptr) {
    next(kind, event, elapsed);
  }
}

} // namespace

void WatchHostCalls(const HostCrashFacts &given, const char *recording) {
  facts = given;
  recordingPath[0] = '\0';
  if (recording != nullptr) {
    const size_t n = std::min(std::strlen(recording), sizeof recordingPath - 1);
    std::memcpy(recordingPath, recording, n);
    recordingPath[n] = '\0';
  }
  if (vantrel::callObserver != Observe) {
    next = vantrel::callObserver;
    vantrel::callObserver = Observe;
  }
}

void ComposeHostCrash(const char *what, CrashText *text) {
  text->Add("vantrel: crashed (").Add(what).Add(") ");
  if (!inCall) {
    text->Add("while the module was being loaded or started");
  } else {
    const char *name = EventName(callEvent);
    text->Add("in the module's ")
        .Add(name != nullptr ? name : "unknown event")
        .Add(" call (frame ");
    text->Add(int64_t{facts.framesPresented != nullptr ? facts.framesPresented() : 0}).Add(")");
  }
  text->Add("\n");
  if (recordingPath[0] != '\0') {
    text->Add("vantrel: the recording, complete up to that call, is ").Add(recordingPath).Add("\n");
    text->Add("vantrel: replay it with: vantrel-replay --module ");
    text->Add(modulePath[0] != '\0' ? modulePath : "prog.dll")
        .Add(" ")
        .Add(recordingPath)
        .Add("\n");
  }
}

} // namespace replay
