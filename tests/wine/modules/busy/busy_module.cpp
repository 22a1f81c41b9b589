// busy_module.cpp - a game module that asks for a frame on every call, for
// measuring how many frames per second the host presents. It sets
// 640 x 480 x 16, draws nothing itself, and at shutdown writes
// "frames N ms M" (idle calls and the milliseconds they reported) to fps.txt.
// Its first idle call creates fps-started.txt, so the measuring starts when
// the frames do.
#include "vantrel.h"

#include <cstdio>

VANTREL_EXPORTS

namespace {
VProg *prog = nullptr;
long long frames = 0;
long long ms = 0;
} // namespace

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  return record != nullptr ? 1 : 0;
}

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  switch (prog->event.code) {
  case EV_INIT:
    prog->SetMode(640, 480, 16);
    break;
  case EV_FRAME:
    if (frames == 0) {
      if (FILE *f = std::fopen("fps-started.txt", "w")) {
        std::fclose(f);
      }
    }
    ++frames;
    ms += elapsedMs;
    break;
  case EV_SHUTDOWN:
    if (FILE *f = std::fopen("fps.txt", "w")) {
      std::fprintf(f, "frames %lld ms %lld\n", frames, ms);
      std::fclose(f);
    }
    break;
  default:
    break;
  }
  return 1;
}
