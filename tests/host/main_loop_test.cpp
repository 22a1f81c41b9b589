// The main loop and Dispatch: one message per turn, idle turns only while
// active, the quit code, and the elapsed milliseconds handed to the module.
#include "fake_module.h"

#include "host/dispatch.h"
#include "host/host_state.h"
#include "host/startup.h"
#include "module/prog_instance.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

int RunHost() { return vantrel::WinMain(nullptr, nullptr, nullptr, 1); }

class MainLoop : public ::testing::Test {
protected:
  void SetUp() override { fake::Install(); }
};

TEST_F(MainLoop, WaitingMessagesGoBeforeIdleTurnsOnePerTurn) {
  td::Post(plat::WM_KEYDOWN, 'A');
  td::Post(plat::WM_KEYUP, 'A');
  td::QuitAfterPeeks(2);
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(fake::M().Codes(),
            (std::vector<int32_t>{EV_INIT, EV_KEYDOWN, EV_KEYUP, EV_FRAME, EV_FRAME, EV_SHUTDOWN}));
  // Peek without removing, then fetch: per message one peek, one fetch, one
  // translation and one dispatch.
  EXPECT_EQ(td::CallsNamed("PeekMessageA").at(0).args, (std::vector<int64_t>{0, 0, 0, 0}));
  EXPECT_EQ(td::CallsNamed("GetMessageA").at(0).args, (std::vector<int64_t>{0, 0, 0}));
  EXPECT_EQ(td::CallNames({"PeekMessageA", "GetMessageA", "TranslateMessage", "DispatchMessageA"}),
            (std::vector<std::string>{"PeekMessageA", "GetMessageA", "TranslateMessage",
                                      "DispatchMessageA", "PeekMessageA", "GetMessageA",
                                      "TranslateMessage", "DispatchMessageA", "PeekMessageA",
                                      "PeekMessageA", "PeekMessageA", "GetMessageA"}));
  EXPECT_EQ(td::CountCalls("WaitMessage"), 0);
}

TEST_F(MainLoop, QuitCodeIsReturnedAfterShutdownAndItsBox) {
  fake::M().onProcedure = [](const fake::ProcCall &call) {
    if (call.event.code == EV_FRAME) {
      plat::PostQuitMessage(42);
    }
  };
  EXPECT_EQ(RunHost(), 42);
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_FRAME, EV_SHUTDOWN}));
  ASSERT_EQ(td::Boxes().size(), 1u);
  EXPECT_EQ(td::Boxes().at(0).text, "DESTROY!");
  EXPECT_EQ(td::Boxes().at(0).caption, "Error!");
}

TEST_F(MainLoop, InactiveApplicationWaitsButStillDeliversInput) {
  td::ActivateOnShow(false);
  int waits = 0;
  td::OnWait([&waits] {
    ++waits;
    if (waits == 1) {
      td::Post(plat::WM_MOUSEMOVE, 0, 0x00140064); // still reaches the module
    } else if (waits == 2) {
      td::Post(plat::WM_ACTIVATEAPP, 1); // idle turns start
      td::QuitAfterPeeks(2);
    }
  });
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(waits, 2);
  EXPECT_EQ(fake::M().Codes(),
            (std::vector<int32_t>{EV_INIT, EV_MOUSEMOVE, EV_FRAME, EV_FRAME, EV_SHUTDOWN}));
}

TEST_F(MainLoop, DeactivationStopsIdleTurns) {
  int frames = 0;
  fake::M().onProcedure = [&frames](const fake::ProcCall &call) {
    if (call.event.code == EV_FRAME && ++frames == 3) {
      td::Post(plat::WM_ACTIVATEAPP, 0);
    }
  };
  td::OnWait([] { plat::PostQuitMessage(7); });
  EXPECT_EQ(RunHost(), 7);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(vantrel::active, 0);
  EXPECT_EQ(td::CountCalls("WaitMessage"), 1);
}

TEST_F(MainLoop, FailedFetchDoesNotHandOnThePreviousMessageAgain) {
  td::ActivateOnShow(false);
  fake::M().onProcedure = [](const fake::ProcCall &call) {
    if (call.event.code == EV_KEYDOWN && call.event.key == 'A') {
      td::Script("GetMessageA", {static_cast<uint64_t>(-1)});
      td::Post(plat::WM_KEYDOWN, 'B');
    }
  };
  td::Post(plat::WM_KEYDOWN, 'A');
  RunHost();
  std::vector<uint8_t> keys;
  for (const fake::ProcCall &call : fake::M().calls) {
    if (call.event.code == EV_KEYDOWN) {
      keys.push_back(call.event.key);
    }
  }
  EXPECT_EQ(keys, (std::vector<uint8_t>{'A', 'B'}));
  // The failed fetch was still translated and dispatched, as a message.
  EXPECT_EQ(td::CountCalls("DispatchMessageA"), 3);
}

TEST_F(MainLoop, WindowClosedByTheDefaultHandlingEndsTheRunWithZero) {
  td::ActivateOnShow(false);
  td::Post(plat::WM_CLOSE);
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_SHUTDOWN}));
  EXPECT_EQ(td::MainWindow(), nullptr);
}

TEST_F(MainLoop, ElapsedExcludesModuleTimeAndIncludesRenderAndFlip) {
  td::SetClock(1000);
  fake::M().onInterface = [](VProg *record) {
    record->SetMode(640, 480, 16);
    td::AdvanceClock(5);
  };
  fake::M().procedureAnswer = 1;
  fake::M().onProcedure = [](const fake::ProcCall &call) {
    if (call.event.code == EV_FRAME) {
      td::AdvanceClock(30); // the module's own work
    }
  };
  td::OnCall("Flip", [](const td::Call &) { td::AdvanceClock(7); });
  td::QuitAfterPeeks(3);
  RunHost();
  ASSERT_EQ(fake::M().Codes(),
            (std::vector<int32_t>{EV_INIT, EV_FRAME, EV_FRAME, EV_FRAME, EV_SHUTDOWN}));
  EXPECT_EQ(fake::M().calls.at(1).elapsed, 5); // since the reading at start-up
  EXPECT_EQ(fake::M().calls.at(2).elapsed, 7); // the flip, not the module's 30
  EXPECT_EQ(fake::M().calls.at(3).elapsed, 7);
  EXPECT_EQ(td::CountCalls("Flip"), 3);
}

// Escape asks for the quit message; the platform hands it out once no posted
// message waits, before any input that still waits: input typed after Escape
// never reaches the module, a message posted before the fetch still does.
struct AfterEscape {
  const char *name;
  uint32_t message;      // waiting behind the Escape key
  bool dispatchedBefore; // reaches the window before the quit message
};

class EscapeThenWaiting : public MainLoop, public ::testing::WithParamInterface<AfterEscape> {};

TEST_P(EscapeThenWaiting, QuitMessageComesWhereThePlatformPutsIt) {
  td::ActivateOnShow(false);
  td::Post(plat::WM_KEYDOWN, plat::VK_ESCAPE);
  td::Post(GetParam().message, 'A');
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_SHUTDOWN})) << GetParam().name;
  int dispatched = 0;
  for (const td::Call &call : td::CallsNamed("DispatchMessageA")) {
    dispatched += (call.args.at(1) == GetParam().message && call.args.at(2) == 'A') ? 1 : 0;
  }
  EXPECT_EQ(dispatched, GetParam().dispatchedBefore ? 1 : 0) << GetParam().name;
  EXPECT_EQ(td::CountCalls("WaitMessage"), 0);
}

INSTANTIATE_TEST_SUITE_P(Waiting, EscapeThenWaiting,
                         ::testing::Values(AfterEscape{"key", plat::WM_KEYDOWN, false},
                                           AfterEscape{"button", plat::WM_LBUTTONDOWN, false},
                                           AfterEscape{"posted", 0x0400 /* WM_USER */, true}));

TEST_F(MainLoop, FailedRestoreNotifiesTheModuleAndTheRunGoesOn) {
  fake::M().onInterface = [](VProg *record) { record->SetMode(320, 240, 16); };
  fake::M().procedureAnswer = 1;
  td::Script("Flip", {plat::DDERR_SURFACELOST});
  td::Script("Restore", {plat::E_FAIL});
  td::QuitAfterPeeks(3);
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_INIT, EV_FRAME, EV_SHUTDOWN, EV_FRAME,
                                                     EV_FRAME, EV_SHUTDOWN}));
  EXPECT_EQ(td::CountCalls("Flip"), 3);
  ASSERT_EQ(td::Boxes().size(), 3u);
  EXPECT_EQ(td::Boxes().at(0).text, "Tried to restore primary surface and failed.");
  EXPECT_EQ(td::Boxes().at(1).text, "DESTROY!");
  EXPECT_EQ(td::Boxes().at(2).text, "DESTROY!");
}

// The procedure's answer alone decides whether its turn draws: each row
// names the events the module answers non-zero for; every other answer is 0
// and gets neither a render pass nor a flip, whatever the turn was.
TEST_F(MainLoop, OnlyANonZeroAnswerGetsARenderPassAndAFlip) {
  struct Row {
    const char *what;
    std::vector<int32_t> drawFor;
    int flips;
  };
  const std::vector<Row> rows = {
      {"always 0", {}, 0},
      {"input only", {EV_KEYDOWN, EV_KEYUP, EV_MOUSEMOVE, EV_LBUTTONDOWN}, 4},
      {"idle turns only", {EV_FRAME}, 3},
      {"every event", {EV_KEYDOWN, EV_KEYUP, EV_MOUSEMOVE, EV_LBUTTONDOWN, EV_FRAME}, 7},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    fake::Install();
    fake::M().onInterface = [](VProg *record) { record->SetMode(640, 480, 16); };
    const std::vector<int32_t> drawFor = row.drawFor;
    fake::M().onProcedure = [drawFor](const fake::ProcCall &call) {
      const bool draw = std::find(drawFor.begin(), drawFor.end(), call.event.code) != drawFor.end();
      fake::M().procedureAnswer = draw ? 1 : 0;
    };
    td::Post(plat::WM_KEYDOWN, 'A');
    td::Post(plat::WM_KEYUP, 'A');
    td::Post(plat::WM_MOUSEMOVE, 0, 0x00140064);
    td::Post(plat::WM_LBUTTONDOWN, 1, 0x00140064);
    td::QuitAfterPeeks(3);
    EXPECT_EQ(RunHost(), 0);
    EXPECT_EQ(fake::M().Codes(),
              (std::vector<int32_t>{EV_INIT, EV_KEYDOWN, EV_KEYUP, EV_MOUSEMOVE, EV_LBUTTONDOWN,
                                    EV_FRAME, EV_FRAME, EV_FRAME, EV_SHUTDOWN}));
    EXPECT_EQ(td::CountCalls("Flip"), row.flips);
    if (row.flips == 0) {
      EXPECT_EQ(td::CountCalls("BltFast") + td::CountCalls("Blt") + td::CountCalls("Lock"), 0);
    }
  }
}

// Dispatch, driven directly over a resolved procedure.
class DispatchTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake::Install();
    vantrel::progProcedure = fake::Procedure;
    vantrel::prog.event.code = EV_FRAME;
  }
};

TEST_F(DispatchTest, ElapsedIsRightAcrossTheClockWrap) {
  vantrel::lastTick = 0xFFFFFFF0u;
  td::SetClock(0x10);
  fake::M().onProcedure = [](const fake::ProcCall &) { td::AdvanceClock(30); };
  vantrel::Dispatch();
  ASSERT_EQ(fake::M().calls.size(), 1u);
  EXPECT_EQ(fake::M().calls.at(0).elapsed, 0x20);
  EXPECT_EQ(vantrel::lastTick, 0x10u + 30u); // read after the module returned
  EXPECT_EQ(td::CountCalls("timeGetTime"), 2);
}

TEST_F(DispatchTest, FrameRequestedBeforeAnyModeTouchesNoSurface) {
  fake::M().procedureAnswer = 1;
  vantrel::Dispatch();
  EXPECT_EQ(fake::M().calls.size(), 1u);
  EXPECT_EQ(td::CountCalls("Flip"), 0);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(DispatchTest, NothingHappensWithoutAResolvedProcedure) {
  vantrel::progProcedure = nullptr;
  vantrel::Dispatch();
  EXPECT_EQ(td::CountCalls("timeGetTime"), 0);
  EXPECT_EQ(vantrel::ShutdownNotify(), 0);
  EXPECT_TRUE(fake::M().calls.empty());
  EXPECT_EQ(vantrel::prog.event.code, EV_SHUTDOWN);
  ASSERT_EQ(td::Boxes().size(), 1u);
  EXPECT_EQ(td::Boxes().at(0).text, "DESTROY!");
}

} // namespace
