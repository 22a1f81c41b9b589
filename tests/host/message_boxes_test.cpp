// The boxes' owner and their visibility in full screen: the owner is the main
// window only while it is one, and the surface GDI draws on is made visible
// before every box once a display mode stands.
#include "fake_module.h"

#include "display/display_mode.h"
#include "display/display_state.h"
#include "host/host_state.h"
#include "host/message_boxes.h"
#include "host/startup.h"
#include "module/prog_instance.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

int RunHost() { return vantrel::WinMain(nullptr, nullptr, nullptr, 1); }

class MessageBoxes : public ::testing::Test {
protected:
  void SetUp() override { fake::Install(); }
};

// A close request during the run destroys the window; the DESTROY! box that
// follows must still show, so it has no owner.
TEST_F(MessageBoxes, CloseRequestLeavesTheDestroyBoxWithoutOwner) {
  td::Post(plat::WM_CLOSE);
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(td::MainWindow(), nullptr);
  ASSERT_EQ(td::Boxes().size(), 1u);
  EXPECT_EQ(td::Boxes().at(0).text, "DESTROY!");
  EXPECT_EQ(td::Boxes().at(0).owner, nullptr);
  EXPECT_EQ(fake::M().Codes().back(), EV_SHUTDOWN);
}

struct OwnerCase {
  const char *name;
  bool destroyBefore; // close request handled before the box
  bool modeSet;       // a display mode stands
  int flips;          // frames presented before the box
  bool ownedByWindow;
  bool flipsToGdi;
};

class BoxOwnerAndSurface : public MessageBoxes, public ::testing::WithParamInterface<OwnerCase> {};

TEST_P(BoxOwnerAndSurface, OwnerAndFlipBackAsTheStateSays) {
  const OwnerCase &c = GetParam();
  td::ActivateOnShow(false);
  // The module sets up what the case needs, then both box routines run from
  // inside its first idle call, the way a module's Report or a failed image does.
  fake::M().onInterface = [&c](VProg *record) {
    if (c.modeSet) {
      record->SetMode(320, 240, 16);
    }
  };
  td::OnWait([] { td::Post(plat::WM_KEYDOWN, 'A'); });
  fake::M().procedureAnswer = 1;
  fake::M().onProcedure = [&c](const fake::ProcCall &call) {
    if (call.event.code != EV_KEYDOWN) {
      return;
    }
    for (int i = 0; i < c.flips; ++i) {
      plat::Flip(vantrel::primary, nullptr, 0);
    }
    if (c.destroyBefore) {
      td::Send(plat::WM_CLOSE);
    }
    td::ClearLog();
    vantrel::ReportBox("report");
    vantrel::ErrorBox("error");
    plat::PostQuitMessage(0);
  };
  RunHost();
  ASSERT_GE(td::Boxes().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(td::Boxes().at(i).owner != nullptr, c.ownedByWindow) << c.name;
  }
  const std::vector<std::string> expected =
      c.flipsToGdi ? std::vector<std::string>{"FlipToGDISurface", "MessageBoxA", "FlipToGDISurface",
                                              "MessageBoxA"}
                   : std::vector<std::string>{"MessageBoxA", "MessageBoxA"};
  std::vector<std::string> seen = td::CallNames({"FlipToGDISurface", "MessageBoxA"});
  seen.resize(std::min(seen.size(), expected.size()));
  EXPECT_EQ(seen, expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    States, BoxOwnerAndSurface,
    ::testing::Values(OwnerCase{"before any mode", false, false, 0, true, false},
                      OwnerCase{"mode set, no flip", false, true, 0, true, true},
                      OwnerCase{"after one flip", false, true, 1, true, true},
                      OwnerCase{"after two flips", false, true, 2, true, true},
                      OwnerCase{"window destroyed", true, true, 1, false, true},
                      OwnerCase{"destroyed, no mode", true, false, 0, false, false}),
    [](const ::testing::TestParamInfo<OwnerCase> &param) {
      std::string name = param.param.name;
      for (char &ch : name) {
        ch = std::isalnum(static_cast<unsigned char>(ch)) != 0 ? ch : '_';
      }
      return name;
    });

} // namespace
