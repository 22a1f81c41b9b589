// win32_crash_report.cpp - what vantrel.exe says when the process crashes.
// Everything the report needs is gathered beforehand into plain buffers: the
// exception filter only reads them, and shows the one box.
#include "platform/win32/win32_crash_report.h"

#include "capture/crash_catch.h"
#include "host/call_observer.h"
#include "module/prog_instance.h"
#include "platform/win32/win32_presentation.h"

#include <windows.h>

namespace win32 {
namespace {

vantrel::CallObserver next = nullptr; // the recorder's, when recording
bool inCall = false;
int32_t callEvent = 0;
char recording[MAX_PATH] = {};
char modulePath[MAX_PATH] = {};

void Observe(vantrel::CallKind kind, const VEvent &event, int32_t elapsed) {
  if (kind == vantrel::CallKind::Init && modulePath[0] == '\0') {
    HMODULE module = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(vantrel::progProcedure), &module) != 0) {
      const DWORD n = GetModuleFileNameA(module, modulePath, sizeof modulePath);
      if (n == 0 || n >= sizeof modulePath) {
        modulePath[0] = '\0';
      }
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
  OutputDebugStringA(text.Text());
  // Over an exclusive screen too: no owner, topmost.
  MessageBoxA(nullptr, text.Text(), "Vantrel", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

} // namespace

void ReportCrashes(const char *recordPath) {
  if (recordPath != nullptr) {
    const DWORD n = GetFullPathNameA(recordPath, sizeof recording, recording, nullptr);
    if (n == 0 || n >= sizeof recording) {
      lstrcpynA(recording, recordPath, sizeof recording);
    }
  }
  if (vantrel::callObserver != Observe) {
    next = vantrel::callObserver;
    vantrel::callObserver = Observe;
  }
  replay::CatchCrashes(Report, -1);
}

} // namespace win32
