// win32_crash_report.h - a crash of vantrel.exe told to the player: the
// module's call it happened in and, while recording, how to replay it.
#ifndef VANTREL_PLATFORM_WIN32_CRASH_REPORT_H
#define VANTREL_PLATFORM_WIN32_CRASH_REPORT_H

namespace win32 {

// From now on an unhandled exception names the module's call in progress
// (its event and the frame on screen) and, when `recordPath` is not null,
// the recording (complete up to that call) and the vantrel-replay command
// that reproduces the crash: in a box captioned "Vantrel", on the debug
// output and on standard error. The process then ends with the exception's
// code. Call it after the recording has started: it watches the calls after
// the recorder.
void ReportCrashes(const char *recordPath);

} // namespace win32

#endif
