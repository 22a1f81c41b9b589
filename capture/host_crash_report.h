// host_crash_report.h - what a host says when the process crashes: the
// module's call in progress and, while recording, the recording and the
// vantrel-replay command that reproduces the crash. Shared by the desktop
// host (standard error) and vantrel.exe (a box too); each backend supplies
// what only it knows.
#ifndef VANTREL_CAPTURE_HOST_CRASH_REPORT_H
#define VANTREL_CAPTURE_HOST_CRASH_REPORT_H

#include "capture/crash_catch.h"

#include <cstddef>
#include <cstdint>

namespace replay {

// What the report asks of the backend.
struct HostCrashFacts {
  // Frames flipped so far: the frame on screen when the crash came.
  uint32_t (*framesPresented)();
  // Writes the module file's full path into `out` (zero-terminated, at most
  // `size` bytes), or "" when it cannot be known. Asked once, at EV_INIT.
  void (*findModulePath)(char *out, size_t size);
};

// From now on the host's calls of the module are watched (after the
// recorder, when one watches them) so a crash can name the one in progress.
// `recording` is the recording's full path, or null when none is made.
void WatchHostCalls(const HostCrashFacts &facts, const char *recording);

// The report of a crash (`what`: "SIGSEGV", "access violation", ...), one
// line, or three while recording. Reads only plain variables: safe in a
// signal handler or an exception filter.
void ComposeHostCrash(const char *what, CrashText *text);

} // namespace replay

#endif
