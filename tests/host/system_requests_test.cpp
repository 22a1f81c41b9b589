// What the host asks of the system for a run: the 1 ms timer period, begun
// first and ended on every way out, and the display kept awake exactly while
// the game is active.
#include "fake_module.h"

#include "host/startup.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr uint32_t kAwake =
    plat::ES_CONTINUOUS | plat::ES_DISPLAY_REQUIRED | plat::ES_SYSTEM_REQUIRED;

int RunHost() { return vantrel::WinMain(nullptr, nullptr, nullptr, 1); }

struct Exit {
  const char *what;
  std::function<void()> arrange;
  int code;
  bool reachesLoop; // the window stood and the game became active
};

TEST(SystemRequests, TheTimerPeriodIsGivenBackAndTheDisplayMaySleepOnEveryWayOut) {
  const Exit exits[] = {
      {"no window", [] { td::Script("CreateWindowExA", {0}); }, 1, false},
      {"no display device", [] { td::Script("DirectDrawCreate", {plat::E_FAIL}); }, 1, true},
      {"no module", [] { td::Reset(); }, 1, true},
      {"the record refused", [] { fake::M().interfaceAnswer = 0; }, 1, true},
      {"a module too new",
       [] { fake::M().onInterface = [](VProg *p) { p->version = 0x7FFFFFFF; }; }, 1, true},
      {"Escape", [] { td::Post(plat::WM_KEYDOWN, plat::VK_ESCAPE); }, 0, true},
      {"the module quits with 5",
       [] {
         fake::M().onProcedure = [](const fake::ProcCall &call) {
           if (call.event.code == EV_FRAME) {
             plat::PostQuitMessage(5);
           }
         };
       },
       5, true},
      {"the window closed", [] { td::Post(plat::WM_CLOSE); }, 0, true},
  };
  for (const Exit &exit : exits) {
    SCOPED_TRACE(exit.what);
    fake::Install();
    exit.arrange();
    uint32_t stateWhileActive = 0;
    td::OnCall("PeekMessageA", [&](const td::Call &) { stateWhileActive = td::ExecutionState(); });
    EXPECT_EQ(RunHost(), exit.code);
    // Asked for before anything else, given back once.
    ASSERT_FALSE(td::Log().empty());
    EXPECT_EQ(td::Log().front().name, "timeBeginPeriod");
    EXPECT_EQ(td::Log().front().args, (std::vector<int64_t>{1}));
    EXPECT_EQ(td::CountCalls("timeBeginPeriod"), 1);
    EXPECT_EQ(td::CountCalls("timeEndPeriod"), 1);
    EXPECT_TRUE(td::OpenTimerPeriods().empty());
    EXPECT_EQ(td::ExecutionState(), plat::ES_CONTINUOUS);
    if (exit.reachesLoop && exit.code != 1) {
      EXPECT_EQ(stateWhileActive, kAwake);
    }
  }
  td::Reset();
}

// A period the system refused is not ended; a keep-awake request it refused
// is not taken back.
TEST(SystemRequests, WhatTheSystemRefusedIsNotGivenBack) {
  fake::Install();
  td::Script("timeBeginPeriod", {plat::TIMERR_NOCANDO});
  td::Script("SetThreadExecutionState", {0});
  td::Post(plat::WM_KEYDOWN, plat::VK_ESCAPE);
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(td::CountCalls("timeEndPeriod"), 0);
  EXPECT_EQ(td::CountCalls("SetThreadExecutionState"), 1);
  td::Reset();
}

// Deactivation lets the display sleep, activation holds it awake again.
TEST(SystemRequests, TheDisplayIsKeptAwakeOnlyWhileActive) {
  fake::Install();
  int frames = 0;
  fake::M().onProcedure = [&frames](const fake::ProcCall &call) {
    if (call.event.code == EV_FRAME && ++frames == 2) {
      td::Post(plat::WM_ACTIVATEAPP, 0);
    } else if (frames == 3) {
      plat::PostQuitMessage(0);
    }
  };
  std::vector<uint32_t> whileWaiting;
  td::OnWait([&whileWaiting] {
    whileWaiting.push_back(td::ExecutionState());
    td::Post(plat::WM_ACTIVATEAPP, 1);
  });
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(whileWaiting, (std::vector<uint32_t>{plat::ES_CONTINUOUS}));
  std::vector<int64_t> requests;
  for (const td::Call &call : td::CallsNamed("SetThreadExecutionState")) {
    requests.push_back(call.args.at(0));
  }
  EXPECT_EQ(requests,
            (std::vector<int64_t>{kAwake, plat::ES_CONTINUOUS, kAwake, plat::ES_CONTINUOUS}));
  td::Reset();
}

} // namespace
