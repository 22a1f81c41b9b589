// kit_pacer.cpp - the module kit's fixed-step frame pacer.
#include "vantrel_kit.h"

bool VPaceFrame(VFramePacer &pacer, int32_t elapsedMs) {
  const uint32_t fps = pacer.framesPerSecond < 1      ? 1u
                       : pacer.framesPerSecond > 1000 ? 1000u
                                                      : pacer.framesPerSecond;
  constexpr uint32_t kFrame = 1000; // one frame, in 1/fps ms
  const uint32_t ms = elapsedMs < 0 ? 0u : (elapsedMs > 1000 ? 1000u : uint32_t(elapsedMs));
  pacer.owed += ms * fps;
  if (pacer.owed < kFrame) {
    return false;
  }
  pacer.owed = (pacer.owed - kFrame) % kFrame;
  return true;
}
