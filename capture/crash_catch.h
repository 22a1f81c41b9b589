// crash_catch.h - saying what the host was doing when the module crashed.
// A module is foreign code: a null pointer in it ends the process, and the
// one thing left to do is to tell which call it happened in, so that the
// crash can be found again (the recording holds the call; a replay of it
// crashes at the same line).
#ifndef VANTREL_CAPTURE_CRASH_CATCH_H
#define VANTREL_CAPTURE_CRASH_CATCH_H

#include <cstddef>
#include <cstdint>

namespace replay {

// Called when the process crashed, with what happened ("SIGSEGV", or on
// Windows the exception's name). It runs inside a signal handler: it may
// only read plain variables and write through CrashText.
using CrashReporter = void (*)(const char *what);

// From now on a crash (SIGSEGV, SIGBUS, SIGFPE, SIGILL; on Windows an
// unhandled exception) calls `reporter`, then ends the process with
// `exitCode`, or by the signal itself when `exitCode` is negative (the
// shell then sees the crash as before, core file included; on Windows the
// exit code is the exception's code, as Windows gives a crashed process). The handler
// runs on a stack of its own, so a stack overflow is caught too.
void CatchCrashes(CrashReporter reporter, int exitCode);

// Text assembled without allocating or locking, for a reporter.
class CrashText {
public:
  CrashText &Add(const char *text);
  CrashText &Add(int64_t n);
  // Writes the text to standard error in one write.
  void Write() const;
  // The text so far, zero-terminated.
  const char *Text() const { return text_; }

private:
  char text_[1024] = {};
  size_t size_ = 0;
};

// The name of an event code ("EV_FRAME"), or null for an unknown code.
const char *EventName(int32_t code);

} // namespace replay

#endif
