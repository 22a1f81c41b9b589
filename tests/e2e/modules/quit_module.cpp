// quit_module.cpp - a module that ends its own run, written as a Windows
// module is: the Win32 calls of vantrel_win32.h instead of the host's record.
//
// On its third idle turn it reads the clock, sleeps 200 ms, reads it again,
// shows a box and posts the quit message with code 7, writing what it saw
// (also how long the sleep really took) through OutputDebugStringA for the
// test driver to read.
#include "vantrel.h"
#include "vantrel_win32.h"

#include <chrono>
#include <cstdio>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;
int frames = 0;

void Say(const char *text) { OutputDebugStringA(text); }

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  prog->version = 1;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  (void)elapsedMs;
  char line[160];
  switch (prog->event.code) {
  case EV_INIT:
    std::snprintf(line, sizeof line, "quit: init mode=%d\n", prog->SetMode(640, 480, 16));
    Say(line);
    break;
  case EV_FRAME:
    if (++frames == 3) {
      // The clock moves during the call, Sleep included, as on Windows.
      const DWORD before = timeGetTime();
      const auto sleepStart = std::chrono::steady_clock::now();
      Sleep(200);
      const auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - sleepStart);
      const DWORD after = timeGetTime();
      std::snprintf(line, sizeof line, "quit: clock before=%u after=%u ticks=%u slept=%lld\n",
                    static_cast<unsigned>(before), static_cast<unsigned>(after),
                    static_cast<unsigned>(GetTickCount()), static_cast<long long>(slept.count()));
      Say(line);
      const int answer = MessageBoxA(nullptr, "quitting with 7", "Quit module", MB_OK);
      std::snprintf(line, sizeof line, "quit: box answered %d\n", answer);
      Say(line);
      PostQuitMessage(7);
    }
    break;
  case EV_SHUTDOWN:
    std::snprintf(line, sizeof line, "quit: shutdown frames=%d\n", frames);
    Say(line);
    break;
  default:
    break;
  }
  return 0;
}
