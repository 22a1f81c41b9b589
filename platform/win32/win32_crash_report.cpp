// win32_crash_report.cpp - what vantrel.exe says when the process crashes
// (capture/host_crash_report.h composes it): on standard error, the debug
// output and in one box, which the exception filter shows before the
// process ends.
#include "platform/win32/win32_crash_report.h"

#include "capture/host_crash_report.h"
#include "module/prog_instance.h"
#include "platform/win32/win32_presentation.h"

#include <windows.h>

namespace win32 {
namespace {

void FindModulePath(char *out, size_t size) {
  out[0] = '\0';
  HMODULE module = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(vantrel::progProcedure), &module) != 0) {
    const DWORD n = GetModuleFileNameA(module, out, static_cast<DWORD>(size));
    if (n == 0 || n >= size) {
      out[0] = '\0';
    }
  }
}

void Report(const char *what) {
  replay::CrashText text;
  replay::ComposeHostCrash(what, &text);
  text.Write();
  OutputDebugStringA(text.Text());
  // Over an exclusive screen too: no owner, topmost.
  MessageBoxA(nullptr, text.Text(), "Vantrel", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

} // namespace

void ReportCrashes(const char *recordPath) {
  char recording[MAX_PATH] = {};
  if (recordPath != nullptr) {
    const DWORD n = GetFullPathNameA(recordPath, sizeof recording, recording, nullptr);
    if (n == 0 || n >= sizeof recording) {
      lstrcpynA(recording, recordPath, sizeof recording);
    }
  }
  replay::WatchHostCalls({FramesPresented, FindModulePath},
                         recordPath != nullptr ? recording : nullptr);
  replay::CatchCrashes(Report, -1);
}

} // namespace win32
