// Presenting a frame: the flip and restore table with its call counts.
#include "fake_module.h"

#include "display/display_mode.h"
#include "display/display_state.h"
#include "display/present.h"
#include "host/host_state.h"
#include "module/prog_instance.h"
#include "platform/soft/soft_device.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using plat::DD_OK;
using plat::DDERR_SURFACELOST;
using plat::DDERR_WASSTILLDRAWING;

class PresentTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake::Install();
    vantrel::progProcedure = fake::Procedure;
    vantrel::mainWindow = reinterpret_cast<plat::HWND>(&window);
    ASSERT_EQ(vantrel::InitDisplay(), 1);
    ASSERT_EQ(vantrel::SetMode(320, 240, 16), 1);
    td::ClearLog();
  }

  static std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const td::Box &box : td::Boxes()) {
      texts.push_back(box.text);
    }
    return texts;
  }

  char window = 0;
};

TEST_F(PresentTest, FlipThatSucceedsAtOnce) {
  EXPECT_EQ(vantrel::Present(), 0);
  ASSERT_EQ(td::CountCalls("Flip"), 1);
  EXPECT_EQ(td::CallsNamed("Flip").at(0).args,
            (std::vector<int64_t>{reinterpret_cast<intptr_t>(vantrel::primary), 0, 0}));
  EXPECT_EQ(td::CountCalls("Restore"), 0);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(PresentTest, BusyFlipIsRetriedAtOnce) {
  td::Script("Flip", {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING});
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 4);
  EXPECT_EQ(td::CountCalls("Restore"), 0);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(PresentTest, LostSurfaceThatRestoresIsNotFlippedAgain) {
  td::Script("Flip", {DDERR_SURFACELOST});
  td::Script("Restore", {DD_OK});
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 1);
  EXPECT_EQ(td::CountCalls("Restore"), 1);
  EXPECT_TRUE(td::Boxes().empty());
  EXPECT_TRUE(fake::M().calls.empty());
}

TEST_F(PresentTest, FailedRestoreTellsUserAndModuleAndTheHostGoesOn) {
  td::Script("Flip", {DDERR_SURFACELOST});
  td::Script("Restore", {plat::DDERR_OUTOFMEMORY});
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 1);
  EXPECT_EQ(td::CountCalls("Restore"), 1);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Tried to restore primary surface and failed.", "DESTROY!"}));
  EXPECT_EQ(td::Boxes().at(0).caption, "Error!");
  EXPECT_EQ(fake::M().Codes(), (std::vector<int32_t>{EV_SHUTDOWN}));
  EXPECT_EQ(fake::M().calls.at(0).elapsed, 0);

  // The next frame presents through the same steps.
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 2);
  EXPECT_EQ(td::Boxes().size(), 2u);
}

TEST_F(PresentTest, RestoreStillBusyReportsThenFlipsAgain) {
  td::Script("Flip", {DDERR_SURFACELOST});
  td::Script("Restore", {DDERR_WASSTILLDRAWING});
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 2);
  EXPECT_EQ(td::CountCalls("Restore"), 1);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"Tried to restore primary surface and failed.", "DESTROY!"}));
  EXPECT_EQ(td::CallNames({"Flip", "Restore", "MessageBoxA"}),
            (std::vector<std::string>{"Flip", "Restore", "MessageBoxA", "MessageBoxA", "Flip"}));
}

TEST_F(PresentTest, OtherFlipFailureIsDroppedSilently) {
  td::Script("Flip", {plat::E_FAIL});
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 1);
  EXPECT_EQ(td::CountCalls("Restore"), 0);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(PresentTest, NothingToFlipWithoutACompleteChain) {
  vantrel::backBuffer = nullptr;
  EXPECT_EQ(vantrel::Present(), 0);
  vantrel::primary = nullptr;
  EXPECT_EQ(vantrel::Present(), 0);
  EXPECT_EQ(td::CountCalls("Flip"), 0);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(PresentTest, FlipShowsTheBackBufferAndKeepsTheOldFrameBehind) {
  soft::SurfaceView back{};
  ASSERT_TRUE(soft::View(vantrel::backBuffer, &back));
  const auto red = static_cast<uint16_t>(soft::EncodeRgb(16, 0xFF0000));
  std::memcpy(back.pixels, &red, sizeof red);
  const uint32_t drawn = soft::PixelRgb(vantrel::backBuffer, 0, 0);
  const uint32_t shownBefore = soft::PixelRgb(vantrel::primary, 0, 0);
  ASSERT_NE(drawn, shownBefore);
  vantrel::Present();
  EXPECT_EQ(soft::PixelRgb(vantrel::primary, 0, 0), drawn);
  EXPECT_EQ(soft::PixelRgb(vantrel::backBuffer, 0, 0), shownBefore);
}

} // namespace
