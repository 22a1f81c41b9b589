// crash_report.h - a crash of the desktop host told on standard error: the
// module's call it happened in and, while recording, how to replay it.
#ifndef VANTREL_PLATFORM_SDL_CRASH_REPORT_H
#define VANTREL_PLATFORM_SDL_CRASH_REPORT_H

namespace sdlplat {

// From now on a crash names the module's call in progress (its event and
// the frame on screen) and, when `recordPath` is not null, the recording
// (complete up to that call) and the vantrel-replay command that reproduces
// the crash; then the process ends by the signal, as it would have. Call it
// after the recording has started: it watches the calls after the recorder.
void ReportCrashes(const char *recordPath);

} // namespace sdlplat

#endif
