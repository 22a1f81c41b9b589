// The window procedure, row by row: what the module sees during the call,
// what stays in the event afterwards, the default handling and the answer.
#include "fake_module.h"

#include "host/host_state.h"
#include "host/window_proc.h"
#include "module/prog_instance.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

namespace {

constexpr plat::LRESULT kDefault = 0x5A5A; // what DefWindowProcA answers here

class WindowProcTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake::Install();
    vantrel::progProcedure = fake::Procedure;
    vantrel::prog.event.code = 1234; // a marker to see what a row leaves
  }

  plat::LRESULT Send(uint32_t message, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0) {
    td::Script("DefWindowProcA", {kDefault});
    return vantrel::WindowProc(window, message, wParam, lParam);
  }

  plat::HWND window = reinterpret_cast<plat::HWND>(&marker);
  char marker = 0;
};

struct EventRow {
  uint32_t message;
  plat::WPARAM wParam;
  int32_t codeDuring;
  int32_t codeAfter;
};

TEST_F(WindowProcTest, EventRowsCallTheModuleOnceAndPassTheMessageOn) {
  const EventRow rows[] = {
      {plat::WM_KEYDOWN, 'Q', EV_KEYDOWN, EV_KEYDOWN},
      {plat::WM_KEYUP, 'Q', EV_KEYUP, EV_FRAME},
      {plat::WM_KEYUP, plat::VK_ESCAPE, EV_KEYUP, EV_FRAME},
      {plat::WM_MOUSEMOVE, 0, EV_MOUSEMOVE, EV_FRAME},
      {plat::WM_LBUTTONDOWN, 1, EV_LBUTTONDOWN, EV_FRAME},
      {plat::WM_LBUTTONUP, 0, EV_LBUTTONUP, EV_FRAME},
      {plat::WM_RBUTTONDOWN, 2, EV_RBUTTONDOWN, EV_FRAME},
      {plat::WM_RBUTTONUP, 0, EV_RBUTTONUP, EV_FRAME},
  };
  for (const EventRow &row : rows) {
    fake::M().calls.clear();
    td::ClearLog();
    vantrel::prog.event.code = 1234;
    EXPECT_EQ(Send(row.message, row.wParam), kDefault) << row.message;
    ASSERT_EQ(fake::M().calls.size(), 1u) << row.message;
    EXPECT_EQ(fake::M().calls.at(0).event.code, row.codeDuring) << row.message;
    EXPECT_EQ(vantrel::prog.event.code, row.codeAfter) << row.message;
    const auto passed = td::CallsNamed("DefWindowProcA");
    ASSERT_EQ(passed.size(), 1u) << row.message;
    EXPECT_EQ(passed.at(0).args,
              (std::vector<int64_t>{reinterpret_cast<intptr_t>(window), row.message,
                                    static_cast<int64_t>(row.wParam), 0}));
  }
}

TEST_F(WindowProcTest, KeyTakesTheLowEightBitsAndLeavesTheReservedByte) {
  Send(plat::WM_KEYDOWN, 0x1C1);
  EXPECT_EQ(fake::M().calls.at(0).event.key, 0xC1);
  Send(plat::WM_KEYUP, 0x2FF);
  EXPECT_EQ(fake::M().calls.at(1).event.key, 0xFF);
  EXPECT_EQ(vantrel::prog.event.reserved, 0);
  EXPECT_EQ(vantrel::prog.event.aux, EVENT_AUX_DEFAULT);
}

TEST_F(WindowProcTest, MouseWordsAreZeroExtendedAndButtonsKeepThePosition) {
  Send(plat::WM_MOUSEMOVE, 0, (20 << 16) | 100);
  EXPECT_EQ(fake::M().calls.at(0).event.mouseX, 100);
  EXPECT_EQ(fake::M().calls.at(0).event.mouseY, 20);
  // Words with the top bit set (a position left of or above the window)
  // arrive as 0..65535, not negative.
  Send(plat::WM_MOUSEMOVE, 0, static_cast<plat::LPARAM>(0xFFFE8001u));
  EXPECT_EQ(fake::M().calls.at(1).event.mouseX, 0x8001);
  EXPECT_EQ(fake::M().calls.at(1).event.mouseY, 0xFFFE);
  Send(plat::WM_LBUTTONDOWN, 1, (5 << 16) | 5);
  Send(plat::WM_LBUTTONUP, 0, (6 << 16) | 6);
  for (size_t i = 2; i < 4; ++i) {
    EXPECT_EQ(fake::M().calls.at(i).event.mouseX, 0x8001);
    EXPECT_EQ(fake::M().calls.at(i).event.mouseY, 0xFFFE);
  }
  EXPECT_EQ(fake::M().calls.at(2).event.code, EV_LBUTTONDOWN);
  EXPECT_EQ(fake::M().calls.at(3).event.code, EV_LBUTTONUP);
}

TEST_F(WindowProcTest, EscapeDownPostsQuitWithoutCallingTheModule) {
  EXPECT_EQ(Send(plat::WM_KEYDOWN, plat::VK_ESCAPE), 0);
  EXPECT_TRUE(fake::M().calls.empty());
  EXPECT_EQ(vantrel::prog.event.code, 1234);
  EXPECT_EQ(td::CountCalls("DefWindowProcA"), 0);
  ASSERT_EQ(td::CallsNamed("PostQuitMessage").size(), 1u);
  EXPECT_EQ(td::CallsNamed("PostQuitMessage").at(0).args, (std::vector<int64_t>{0}));
}

TEST_F(WindowProcTest, DestroyPostsQuitWithZero) {
  EXPECT_EQ(Send(plat::WM_DESTROY), 0);
  EXPECT_TRUE(fake::M().calls.empty());
  EXPECT_EQ(vantrel::prog.event.code, 1234);
  EXPECT_EQ(td::CountCalls("DefWindowProcA"), 0);
  EXPECT_EQ(td::CallsNamed("PostQuitMessage").at(0).args, (std::vector<int64_t>{0}));
}

TEST_F(WindowProcTest, SetCursorHidesThePointerWithoutDefaultHandling) {
  EXPECT_EQ(Send(plat::WM_SETCURSOR), 1);
  EXPECT_EQ(td::CallsNamed("SetCursor").at(0).args, (std::vector<int64_t>{0}));
  EXPECT_EQ(td::CountCalls("DefWindowProcA"), 0);
  EXPECT_TRUE(fake::M().calls.empty());
}

TEST_F(WindowProcTest, ActivateAppStoresAllThirtyTwoBitsAndPassesItOn) {
  EXPECT_EQ(Send(plat::WM_ACTIVATEAPP, 0x80000001u), kDefault);
  EXPECT_EQ(static_cast<uint32_t>(vantrel::active), 0x80000001u);
  EXPECT_EQ(Send(plat::WM_ACTIVATEAPP, 0), kDefault);
  EXPECT_EQ(vantrel::active, 0);
  EXPECT_EQ(td::CountCalls("DefWindowProcA"), 2);
  EXPECT_TRUE(fake::M().calls.empty());
  EXPECT_EQ(vantrel::prog.event.code, 1234);
}

TEST_F(WindowProcTest, OtherMessagesOnlyGoToTheDefaultHandling) {
  for (uint32_t message :
       {plat::WM_LBUTTONDBLCLK, plat::WM_SYSKEYDOWN, plat::WM_SYSKEYUP, plat::WM_CHAR,
        plat::WM_MBUTTONDOWN, plat::WM_MOUSEWHEEL, plat::WM_CLOSE, 0x0400u}) {
    td::ClearLog();
    EXPECT_EQ(Send(message, 3, 4), kDefault) << message;
    EXPECT_EQ(td::CallsNamed("DefWindowProcA").size(), 1u) << message;
  }
  EXPECT_TRUE(fake::M().calls.empty());
  EXPECT_EQ(vantrel::prog.event.code, 1234);
}

TEST_F(WindowProcTest, EveryEventRestartsTheElapsedMeasure) {
  td::SetClock(500);
  vantrel::lastTick = 400;
  Send(plat::WM_KEYDOWN, 'X');
  td::AdvanceClock(9);
  Send(plat::WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(fake::M().calls.at(0).elapsed, 100);
  EXPECT_EQ(fake::M().calls.at(1).elapsed, 9);
}

} // namespace
