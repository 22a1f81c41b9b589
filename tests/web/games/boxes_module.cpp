// boxes_module.cpp - a module that shows MessageBoxA with each button set on
// its first idle turn, says every answer on the debug output, then ends its
// run. The page must show each set's buttons and answer as Windows does.
#include "vantrel.h"
#include "vantrel_win32.h"

#include <cstdio>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;
bool shown = false;

void ShowEveryButtonSet() {
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
  };
  char line[96];
  for (const Box &b : boxes) {
    const int answer = MessageBoxA(nullptr, b.name, "Buttons", b.type);
    std::snprintf(line, sizeof line, "box: %s answered %d\n", b.name, answer);
    OutputDebugStringA(line);
  }
}

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  (void)elapsedMs;
  if (prog->event.code == EV_INIT) {
    prog->SetMode(320, 240, 16);
  } else if (prog->event.code == EV_FRAME && !shown) {
    shown = true;
    ShowEveryButtonSet();
    PostQuitMessage(0);
  }
  return 0;
}
