// crash_catch.cpp - fatal signals (POSIX) or unhandled exceptions (Windows)
// turned into one line saying what the host was doing.
#include "capture/crash_catch.h"

#include "vantrel.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace replay {
namespace {

CrashReporter crashReporter = nullptr;
int crashExitCode = -1;

#ifdef _WIN32

const char *ExceptionName(DWORD code) {
  switch (code) {
  case EXCEPTION_ACCESS_VIOLATION:
    return "access violation";
  case EXCEPTION_ILLEGAL_INSTRUCTION:
    return "illegal instruction";
  case EXCEPTION_INT_DIVIDE_BY_ZERO:
    return "integer division by zero";
  case EXCEPTION_STACK_OVERFLOW:
    return "stack overflow";
  case EXCEPTION_IN_PAGE_ERROR:
    return "in-page error";
  case EXCEPTION_DATATYPE_MISALIGNMENT:
    return "misaligned data";
  case EXCEPTION_PRIV_INSTRUCTION:
    return "privileged instruction";
  default:
    return "unhandled exception";
  }
}

LONG WINAPI OnException(EXCEPTION_POINTERS *info) {
  if (crashReporter != nullptr) {
    crashReporter(ExceptionName(info->ExceptionRecord->ExceptionCode));
  }
  // Ended here rather than handed on: the player has been told, and the
  // system's own crash dialog would only say it again.
  ExitProcess(crashExitCode < 0 ? static_cast<UINT>(info->ExceptionRecord->ExceptionCode)
                                : static_cast<UINT>(crashExitCode));
}

void WriteAll(const char *text, size_t size) { _write(2, text, static_cast<unsigned>(size)); }

#else

constexpr int kCaught[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};

const char *SignalName(int sig) {
  switch (sig) {
  case SIGSEGV:
    return "SIGSEGV";
  case SIGBUS:
    return "SIGBUS";
  case SIGFPE:
    return "SIGFPE";
  case SIGILL:
    return "SIGILL";
  default:
    return "signal";
  }
}

void OnSignal(int sig) {
  // A second crash inside the report ends the process by the signal.
  std::signal(sig, SIG_DFL);
  if (crashReporter != nullptr) {
    crashReporter(SignalName(sig));
  }
  if (crashExitCode >= 0) {
    _exit(crashExitCode);
  }
  // Delivered once the handler returns (the signal is blocked in it); a
  // fault happens again at once, with the default action now.
  raise(sig);
}

void WriteAll(const char *text, size_t size) {
  while (size > 0) {
    const ssize_t n = write(2, text, size);
    if (n <= 0) {
      return;
    }
    text += n;
    size -= static_cast<size_t>(n);
  }
}

#endif

} // namespace

void CatchCrashes(CrashReporter reporter, int exitCode) {
  crashReporter = reporter;
  crashExitCode = exitCode;
#ifdef _WIN32
  SetUnhandledExceptionFilter(OnException);
#else
  static char altStack[64 * 1024];
  stack_t stack{};
  stack.ss_sp = altStack;
  stack.ss_size = sizeof altStack;
  sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (const int sig : kCaught) {
    sigaction(sig, &action, nullptr);
  }
#endif
}

CrashText &CrashText::Add(const char *text) {
  if (text == nullptr) {
    return *this;
  }
  for (; *text != '\0' && size_ + 1 < sizeof text_; ++text) {
    text_[size_++] = *text;
  }
  return *this;
}

CrashText &CrashText::Add(int64_t n) {
  char digits[24];
  size_t count = 0;
  const bool negative = n < 0;
  uint64_t v = negative ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  do {
    digits[count++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (negative) {
    Add("-");
  }
  while (count > 0 && size_ + 1 < sizeof text_) {
    text_[size_++] = digits[--count];
  }
  return *this;
}

void CrashText::Write() const { WriteAll(text_, size_); }

const char *EventName(int32_t code) {
  switch (code) {
  case EV_FRAME:
    return "EV_FRAME";
  case EV_SHUTDOWN:
    return "EV_SHUTDOWN";
  case EV_INIT:
    return "EV_INIT";
  case EV_KEYDOWN:
    return "EV_KEYDOWN";
  case EV_KEYUP:
    return "EV_KEYUP";
  case EV_MOUSEMOVE:
    return "EV_MOUSEMOVE";
  case EV_LBUTTONDOWN:
    return "EV_LBUTTONDOWN";
  case EV_LBUTTONUP:
    return "EV_LBUTTONUP";
  case EV_RBUTTONDOWN:
    return "EV_RBUTTONDOWN";
  case EV_RBUTTONUP:
    return "EV_RBUTTONUP";
  default:
    return nullptr;
  }
}

} // namespace replay
