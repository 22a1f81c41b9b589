// misbehaving_module.cpp - a module that does one thing a careless or broken
// module does, chosen by the environment variable VANTREL_TEST_MODULE:
//
//   quit-at-init     posts the quit message (code 5) during EV_INIT
//   crash-at=N       dereferences null in its Nth call after EV_INIT
//   clock-wait       on its first idle turn, waits for the served clock to
//                    move 10 ms, polling it with Sleep(1), then quits
//   boxes            on its first idle turn shows a box of every button set
//                    and writes each answer, then quits
//   shell            on its first idle turn runs a shell command that writes
//                    the signals blocked in it, then quits
//
// Otherwise it sets a small mode and asks for a frame on every idle turn.
// What it sees goes to standard error.
#include "vantrel.h"
#include "vantrel_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;
int calls = 0; // after EV_INIT
int idleTurns = 0;

const char *Behaviour() {
  const char *b = std::getenv("VANTREL_TEST_MODULE");
  return b != nullptr ? b : "";
}

void ClockWait() {
  const DWORD t0 = timeGetTime();
  int polls = 0;
  // A clock that never moves would keep this loop going for ever: give up
  // after far more polls than 10 ms can take.
  while (timeGetTime() - t0 < 10 && polls < 2000) {
    Sleep(1);
    ++polls;
  }
  std::fprintf(stderr, "clock: waited %u ms, ticks moved %u ms, %s\n",
               static_cast<unsigned>(timeGetTime() - t0),
               static_cast<unsigned>(GetTickCount() - t0), polls < 2000 ? "done" : "stuck");
}

void Boxes() {
  struct Box {
    const char *name;
    UINT type;
  };
  const Box boxes[] = {
      {"MB_OK", MB_OK},
      {"MB_OKCANCEL", MB_OKCANCEL},
      {"MB_ABORTRETRYIGNORE", MB_ABORTRETRYIGNORE},
      {"MB_YESNOCANCEL", MB_YESNOCANCEL},
      {"MB_YESNO", MB_YESNO},
      {"MB_RETRYCANCEL", MB_RETRYCANCEL},
      {"MB_YESNO|MB_DEFBUTTON2", MB_YESNO | MB_DEFBUTTON2},
      {"MB_YESNOCANCEL|MB_DEFBUTTON3", MB_YESNOCANCEL | MB_DEFBUTTON3},
  };
  for (const Box &b : boxes) {
    const int answer = MessageBoxA(nullptr, b.name, "Buttons", b.type);
    std::fprintf(stderr, "box: %s answered %d\n", b.name, answer);
  }
}

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  const char *behaviour = Behaviour();
  if (prog->event.code == EV_INIT) {
    prog->SetMode(64, 48, 16);
    if (std::strcmp(behaviour, "quit-at-init") == 0) {
      PostQuitMessage(5);
    }
    return 0;
  }
  if (prog->event.code == EV_SHUTDOWN) {
    std::fprintf(stderr, "module: shutdown after %d calls\n", calls);
    return 0;
  }
  ++calls;
  if (std::strncmp(behaviour, "crash-at=", 9) == 0 && calls == std::atoi(behaviour + 9)) {
    std::fprintf(stderr, "module: crashing in call %d\n", calls);
    volatile int *nowhere = nullptr;
    return *nowhere;
  }
  if (prog->event.code == EV_FRAME && ++idleTurns == 1) {
    if (std::strcmp(behaviour, "clock-wait") == 0) {
      ClockWait();
      PostQuitMessage(0);
    } else if (std::strcmp(behaviour, "boxes") == 0) {
      Boxes();
      PostQuitMessage(0);
    } else if (std::strcmp(behaviour, "shell") == 0) {
      const int status = std::system("cat /proc/self/status | grep '^SigBlk' >&2");
      std::fprintf(stderr, "shell: status %d\n", status);
      PostQuitMessage(0);
    }
  }
  return prog->event.code == EV_FRAME && elapsedMs > 0 ? 1 : 0;
}
