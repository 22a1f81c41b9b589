// The demo's frame pacing: about 60 answers a second from elapsed times.
#include "frame_pacer.h"

#include <gtest/gtest.h>

namespace {

int FramesOver(demo::FramePacer &pacer, int calls, int32_t msEach) {
  int frames = 0;
  for (int i = 0; i < calls; ++i) {
    frames += demo::PaceFrame(pacer, msEach) ? 1 : 0;
  }
  return frames;
}

TEST(FramePacer, SixtyFramesPerSecondWhateverTheCallRate) {
  demo::FramePacer a, b, c, d;
  EXPECT_EQ(FramesOver(a, 1000, 1), 60); // a fast host: 1 ms a call
  EXPECT_EQ(FramesOver(b, 100, 10), 60); // 10 ms a call
  EXPECT_EQ(FramesOver(c, 4000, 0), 0);  // quick turns that took no time
  EXPECT_EQ(FramesOver(d, 60, 17), 60);  // a slower host: a frame every call
}

TEST(FramePacer, FirstFrameAfterOneSixtiethOfASecond) {
  demo::FramePacer p;
  EXPECT_FALSE(demo::PaceFrame(p, 16)); // 960/1000 of a frame
  EXPECT_TRUE(demo::PaceFrame(p, 1));   // 1020/1000
  EXPECT_FALSE(demo::PaceFrame(p, 15)); // 20 + 900
  EXPECT_TRUE(demo::PaceFrame(p, 2));   // 20 + 1020
}

TEST(FramePacer, LongPauseGivesOneFrameNotABurst) {
  demo::FramePacer p;
  EXPECT_TRUE(demo::PaceFrame(p, 5000)); // e.g. a message box was open
  EXPECT_FALSE(demo::PaceFrame(p, 0));
  EXPECT_FALSE(demo::PaceFrame(p, 0));
  EXPECT_EQ(FramesOver(p, 1000, 1), 60);
}

TEST(FramePacer, OddTimesAreSafe) {
  demo::FramePacer p;
  EXPECT_FALSE(demo::PaceFrame(p, -20)); // counts as 0
  EXPECT_EQ(p.owed, 0u);
  EXPECT_TRUE(demo::PaceFrame(p, INT32_MAX)); // no overflow
  EXPECT_LT(p.owed, 1000u);
  EXPECT_TRUE(demo::PaceFrame(p, INT32_MAX));
}

} // namespace
