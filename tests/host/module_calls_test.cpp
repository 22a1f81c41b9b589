// The Win32 calls served to modules (vantrel_win32.h), over the test double:
// the clock a call reads, and each call reaching the platform.
#include "fake_module.h"

#include "host/startup.h"
#include "platform/module_calls/module_calls.h"
#include "tests/double/test_double.h"
#include "vantrel_win32.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

int RunHost() { return vantrel::WinMain(nullptr, nullptr, nullptr, 1); }

class ModuleCalls : public ::testing::Test {
protected:
  void SetUp() override { fake::Install(); }
  void TearDown() override { modulecalls::SetModuleSleep(modulecalls::SleepForReal); }
};

struct Reading {
  int32_t code;
  int32_t elapsed;
  DWORD atStart;
  DWORD ticks;
  DWORD afterTimePassed;
};

// The clock a module reads is the platform's, as it is now: at a call's
// start the host's previous reading plus the call's elapsed value, and later
// in the call as much later as the call has taken.
TEST_F(ModuleCalls, ClockMovesDuringACall) {
  std::vector<Reading> readings;
  fake::M().onProcedure = [&readings](const fake::ProcCall &call) {
    const DWORD atStart = timeGetTime();
    const DWORD ticks = GetTickCount();
    td::AdvanceClock(7); // the module takes 7 ms
    readings.push_back({call.event.code, call.elapsed, atStart, ticks, timeGetTime()});
  };
  td::SetClock(1000);
  td::Post(plat::WM_KEYDOWN, 'A');
  td::QuitAfterPeeks(2);
  EXPECT_EQ(RunHost(), 0);

  const Reading want[] = {
      {EV_INIT, 0, 1000, 1000, 1007},    // the start-up reading
      {EV_KEYDOWN, 7, 1007, 1007, 1014}, // 1000 + 7 ms of the first call
      {EV_FRAME, 0, 1014, 1014, 1021},    {EV_FRAME, 0, 1021, 1021, 1028},
      {EV_SHUTDOWN, 0, 1028, 1028, 1035}, // given 0 ms: the last reading
  };
  ASSERT_EQ(readings.size(), std::size(want));
  for (size_t i = 0; i < readings.size(); ++i) {
    const Reading &got = readings[i];
    EXPECT_EQ(got.code, want[i].code) << i;
    EXPECT_EQ(got.elapsed, want[i].elapsed) << i;
    EXPECT_EQ(got.atStart, want[i].atStart) << i;
    EXPECT_EQ(got.ticks, want[i].ticks) << i;
    EXPECT_EQ(got.afterTimePassed, want[i].afterTimePassed) << i;
  }
}

void SleepOnTheClock(uint32_t ms) { td::AdvanceClock(ms); }

// A module that waits for the clock to move, polling it with Sleep, is done
// once the time has passed: with a Sleep that waits as the replay's does
// (moving the clock), whatever the step.
TEST_F(ModuleCalls, WaitingForTheClockEnds) {
  modulecalls::SetModuleSleep(SleepOnTheClock);
  const struct {
    DWORD start;
    DWORD step;
    int polls;
  } table[] = {{0, 1, 10}, {0xFFFFFFFAu, 1, 10}, {500, 3, 4}, {500, 0, -1}};
  for (const auto &row : table) {
    td::SetClock(row.start);
    const DWORD t0 = timeGetTime();
    int polls = 0;
    while (timeGetTime() - t0 < 10 && polls < 1000) {
      Sleep(row.step);
      ++polls;
    }
    EXPECT_EQ(polls, row.polls < 0 ? 1000 : row.polls) << row.start << " step " << row.step;
  }
}

TEST_F(ModuleCalls, PostQuitMessageEndsTheRunWithItsCode) {
  fake::M().onProcedure = [](const fake::ProcCall &call) {
    if (call.event.code == EV_FRAME) {
      PostQuitMessage(7);
    }
  };
  EXPECT_EQ(RunHost(), 7);
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_FRAME, EV_SHUTDOWN}));
}

std::vector<DWORD> slept;
void RecordSleep(uint32_t ms) { slept.push_back(ms); }

TEST_F(ModuleCalls, EachCallReachesThePlatform) {
  const HWND owner = reinterpret_cast<HWND>(td::MainWindow());
  OutputDebugStringA("first line\n");
  OutputDebugStringA(nullptr); // ignored, as Windows does
  OutputDebugStringA("second\n");
  EXPECT_EQ(td::DebugOutput(), "first line\nsecond\n");

  EXPECT_EQ(MessageBoxA(owner, "the text", "the caption", MB_OK | MB_ICONWARNING), IDOK);
  ASSERT_EQ(td::Boxes().size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(td::Boxes()[0].owner), owner);
  EXPECT_EQ(td::Boxes()[0].text, "the text");
  EXPECT_EQ(td::Boxes()[0].caption, "the caption");
  EXPECT_EQ(td::Boxes()[0].type, 0x30u);

  const struct {
    modulecalls::SleepFn how;
    std::vector<DWORD> waits;
  } table[] = {
      {RecordSleep, {0, 15, 0xFFFFFFFFu}}, // passed on as they are
      {nullptr, {}},                       // returns at once: nothing waits
  };
  for (const auto &row : table) {
    slept.clear();
    modulecalls::SetModuleSleep(row.how);
    Sleep(0);
    Sleep(15);
    Sleep(0xFFFFFFFFu); // INFINITE: would never return if it really waited
    EXPECT_EQ(slept, row.waits);
  }
}

} // namespace
