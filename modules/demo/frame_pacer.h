// frame_pacer.h - about 60 frames a second from the host's elapsed times.
//
// The host calls the module as often as it can and draws a frame whenever the
// module answers non-zero, so the module sets the frame rate. The pacer adds
// up the elapsed milliseconds of every call and says "draw" once for each
// 1/60 s gathered: time is counted in sixtieths of a millisecond, so 1000
// calls of 1 ms give exactly 60 frames, not 62 (1000 / 16) or 58 (1000 / 17).
//
// After a long pause (a message box, a dragged window) the time owed beyond
// one frame is dropped rather than paid back as a burst of frames.
#ifndef VANTREL_DEMO_FRAME_PACER_H
#define VANTREL_DEMO_FRAME_PACER_H

#include <cstdint>

namespace demo {

struct FramePacer {
  uint32_t owed = 0; // time gathered since the last frame, in 1/60 ms
};

constexpr uint32_t kFramesPerSecond = 60;

// Adds `elapsedMs` and answers true when a frame is due. Negative times count
// as 0, and one call counts at most one second.
inline bool PaceFrame(FramePacer &pacer, int32_t elapsedMs) {
  constexpr uint32_t kFrame = 1000; // one frame, in 1/60 ms
  const uint32_t ms = elapsedMs < 0 ? 0u : (elapsedMs > 1000 ? 1000u : uint32_t(elapsedMs));
  pacer.owed += ms * kFramesPerSecond;
  if (pacer.owed < kFrame) {
    return false;
  }
  pacer.owed = (pacer.owed - kFrame) % kFrame;
  return true;
}

} // namespace demo

#endif // VANTREL_DEMO_FRAME_PACER_H
