// The letterbox of a window or borderless screen: where the frame goes, and
// which mode pixel a point of the window stands for.
#include "platform/soft/frame_place.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePlace, TheFrameFillsOneWayWithItsAspectKeptAndCentred) {
  const struct {
    int32_t modeW, modeH, clientW, clientH;
    soft::FramePlace want;
  } rows[] = {
      {640, 480, 640, 480, {0, 0, 640, 480}},         // a window of scale 1
      {640, 480, 1280, 960, {0, 0, 1280, 960}},       // scale 2
      {640, 480, 800, 600, {0, 0, 800, 600}},         // same aspect, not a multiple
      {640, 480, 1600, 1200, {0, 0, 1600, 1200}},     // 2.5 times
      {640, 480, 1920, 1080, {240, 0, 1440, 1080}},   // wide screen: bars left and right
      {640, 480, 1024, 600, {112, 0, 800, 600}},      //
      {320, 200, 1280, 1024, {0, 112, 1280, 800}},    // tall area: bars above and below
      {640, 480, 641, 480, {0, 0, 640, 480}},         // one spare column: bar on the right
      {640, 480, 3, 1, {1, 0, 1, 1}},                 // tiny area still shows a pixel
      {1, 30000, 30000, 30000, {14999, 0, 1, 30000}}, // no overflow on large sizes
      {0, 480, 640, 480, {}},                         // no mode yet: nothing to show
      {640, 480, 0, 480, {}},                         // minimised: no area
      {640, 480, 1, 1000, {}},                        // too narrow for a row of the frame
  };
  for (const auto &r : rows) {
    const soft::FramePlace got = soft::PlaceFrame(r.modeW, r.modeH, r.clientW, r.clientH);
    EXPECT_EQ(got.x, r.want.x) << r.modeW << "x" << r.modeH << " in " << r.clientW << "x"
                               << r.clientH;
    EXPECT_EQ(got.y, r.want.y) << r.clientW << "x" << r.clientH;
    EXPECT_EQ(got.w, r.want.w) << r.clientW << "x" << r.clientH;
    EXPECT_EQ(got.h, r.want.h) << r.clientW << "x" << r.clientH;
  }
}

TEST(FramePlace, APointOfTheWindowIsTheModePixelUnderIt) {
  const soft::FramePlace one{0, 0, 640, 480};
  const soft::FramePlace two{0, 0, 1280, 960};
  const soft::FramePlace wide{240, 0, 1440, 1080};
  const struct {
    soft::FramePlace place;
    int32_t cx, cy, mx, my;
  } rows[] = {
      {one, 0, 0, 0, 0},           {one, 639, 479, 639, 479},
      {one, 100, 200, 100, 200},   {two, 1, 1, 0, 0},
      {two, 2, 3, 1, 1},           {two, 1279, 959, 639, 479},
      {wide, 240, 0, 0, 0},        {wide, 1679, 1079, 639, 479},
      {wide, 100, 500, 0, 222},    // on the left bar: the left edge
      {wide, 1900, 500, 639, 222}, // on the right bar: the right edge
      {one, -5, -7, 0, 0},         // outside the window while a button is held
      {one, 700, 900, 639, 479},   //
      {{}, 10, 10, 0, 0},          // nothing shown
  };
  for (const auto &r : rows) {
    int32_t mx = -1;
    int32_t my = -1;
    soft::ClientToMode(r.place, 640, 480, r.cx, r.cy, &mx, &my);
    EXPECT_EQ(mx, r.mx) << r.cx << "," << r.cy << " in a " << r.place.w << " wide place";
    EXPECT_EQ(my, r.my) << r.cx << "," << r.cy << " in a " << r.place.w << " wide place";
  }
}

} // namespace
