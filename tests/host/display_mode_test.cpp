// The display device and the mode: the records handed to the device, every
// failure with its box, and what a failed or second SetMode leaves behind.
#include "fake_module.h"

#include "display/display_mode.h"
#include "display/display_state.h"
#include "host/host_state.h"
#include "platform/soft/soft_device.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

namespace {

int64_t Addr(const void *p) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(p)); }

std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  for (const td::Box &box : td::Boxes()) {
    EXPECT_EQ(box.caption, "Error!");
    texts.push_back(box.text);
  }
  return texts;
}

class InitDisplayTest : public ::testing::Test {
protected:
  void SetUp() override {
    td::Reset();
    vantrel::mainWindow = reinterpret_cast<plat::HWND>(&window);
  }
  char window = 0;
};

TEST_F(InitDisplayTest, OpensTheDeviceExclusiveAndFullScreen) {
  EXPECT_EQ(vantrel::InitDisplay(), 1);
  ASSERT_NE(vantrel::device, nullptr);
  EXPECT_EQ(td::CallsNamed("DirectDrawCreate").at(0).args, (std::vector<int64_t>{0, 0}));
  EXPECT_EQ(td::CallsNamed("QueryInterface").at(0).args.at(1), 0x9C59509A);
  EXPECT_EQ(td::CallsNamed("SetCooperativeLevel").at(0).args,
            (std::vector<int64_t>{Addr(vantrel::device), Addr(&window), 0x11}));
  EXPECT_TRUE(td::Boxes().empty());
  EXPECT_EQ(vantrel::primary, nullptr);
  EXPECT_EQ(vantrel::screenW, 0);
}

TEST_F(InitDisplayTest, FailedCreationTriesNothingElse) {
  td::Script("DirectDrawCreate", {plat::E_FAIL});
  EXPECT_EQ(vantrel::InitDisplay(), 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"DirectDrawCreate failed"}));
  EXPECT_EQ(td::CountCalls("QueryInterface"), 0);
  EXPECT_EQ(td::CountCalls("SetCooperativeLevel"), 0);
  EXPECT_EQ(vantrel::device, nullptr);
}

class SetModeTest : public InitDisplayTest {
protected:
  void SetUp() override {
    InitDisplayTest::SetUp();
    ASSERT_EQ(vantrel::InitDisplay(), 1);
    td::ClearLog();
  }
};

TEST_F(SetModeTest, BuildsThePrimarySurfaceWithOneBackBuffer) {
  EXPECT_EQ(vantrel::SetMode(640, 480, 16), 1);
  EXPECT_EQ(vantrel::screenW, 640);
  EXPECT_EQ(vantrel::screenH, 480);
  EXPECT_EQ(vantrel::screenBpp, 16);
  ASSERT_NE(vantrel::primary, nullptr);
  ASSERT_NE(vantrel::backBuffer, nullptr);
  EXPECT_NE(vantrel::primary, vantrel::backBuffer);
  EXPECT_TRUE(td::Boxes().empty());

  const int64_t dev = Addr(vantrel::device);
  EXPECT_EQ(td::CallNames(),
            (std::vector<std::string>{"SetDisplayMode", "CreateSurface", "GetAttachedSurface"}));
  EXPECT_EQ(td::CallsNamed("SetDisplayMode").at(0).args,
            (std::vector<int64_t>{dev, 640, 480, 16, 0, 0}));
  // dwSize, dwFlags, no width or height, one back buffer, caps, caps2, outer
  EXPECT_EQ(td::CallsNamed("CreateSurface").at(0).args,
            (std::vector<int64_t>{dev, 124, 0x21, 0, 0, 1, 0x218, 0, 0}));
  EXPECT_EQ(td::CallsNamed("GetAttachedSurface").at(0).args,
            (std::vector<int64_t>{Addr(vantrel::primary), 4, 0, 0, 0}));
}

TEST_F(SetModeTest, RefusedModeShowsOneBoxAndCreatesNothing) {
  td::Script("SetDisplayMode", {plat::E_NOTIMPL});
  EXPECT_EQ(vantrel::SetMode(641, 479, 16), 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"SetDisplayMode failed"}));
  EXPECT_EQ(td::CountCalls("CreateSurface"), 0);
  EXPECT_EQ(vantrel::screenW, 0);
  EXPECT_EQ(vantrel::screenH, 0);
  EXPECT_EQ(vantrel::primary, nullptr);
}

TEST_F(SetModeTest, FailedSurfaceStepsKeepTheOldSize) {
  ASSERT_EQ(vantrel::SetMode(320, 200, 8), 1);
  td::Script("CreateSurface", {plat::DDERR_OUTOFMEMORY});
  EXPECT_EQ(vantrel::SetMode(640, 480, 16), 0);
  td::Script("GetAttachedSurface", {plat::DDERR_NOTFOUND});
  EXPECT_EQ(vantrel::SetMode(800, 600, 32), 0);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{"CreateSurface failed", "GetAttachedSurface failed"}));
  EXPECT_EQ(vantrel::screenW, 320);
  EXPECT_EQ(vantrel::screenH, 200);
  EXPECT_EQ(vantrel::screenBpp, 8);
  EXPECT_EQ(td::CountCalls("SetDisplayMode"), 3);
  EXPECT_EQ(soft::DisplayBpp(), 32); // the display did switch, only the size stayed
  EXPECT_EQ(vantrel::backBuffer, nullptr);
}

TEST_F(SetModeTest, SecondModeReleasesTheOldChainBeforeBuildingTheNew) {
  ASSERT_EQ(vantrel::SetMode(640, 480, 16), 1);
  const int64_t oldPrimary = Addr(vantrel::primary);
  const int64_t oldBack = Addr(vantrel::backBuffer);
  td::ClearLog();
  EXPECT_EQ(vantrel::SetMode(800, 600, 32), 1);
  EXPECT_EQ(td::CallNames(),
            (std::vector<std::string>{"SetDisplayMode", "ReleaseSurface", "ReleaseSurface",
                                      "CreateSurface", "GetAttachedSurface"}));
  EXPECT_EQ(td::CallsNamed("ReleaseSurface").at(0).args, (std::vector<int64_t>{oldBack}));
  EXPECT_EQ(td::CallsNamed("ReleaseSurface").at(1).args, (std::vector<int64_t>{oldPrimary}));
  ASSERT_NE(vantrel::primary, nullptr);
  ASSERT_NE(vantrel::backBuffer, nullptr);
  EXPECT_EQ(vantrel::screenW, 800);
  EXPECT_EQ(vantrel::screenBpp, 32);
  EXPECT_TRUE(td::Boxes().empty());
}

TEST_F(SetModeTest, ModeAfterAHalfBuiltChainReleasesWhatWasBuilt) {
  td::Script("GetAttachedSurface", {plat::DDERR_NOTFOUND});
  EXPECT_EQ(vantrel::SetMode(640, 480, 16), 0);
  const int64_t halfBuilt = Addr(vantrel::primary);
  ASSERT_NE(halfBuilt, 0);
  EXPECT_EQ(vantrel::SetMode(640, 480, 16), 1);
  EXPECT_EQ(td::CallsNamed("ReleaseSurface").size(), 1u);
  EXPECT_EQ(td::CallsNamed("ReleaseSurface").at(0).args, (std::vector<int64_t>{halfBuilt}));
  EXPECT_NE(vantrel::backBuffer, nullptr);
}

TEST_F(SetModeTest, RefusedSecondModeKeepsTheOldChain) {
  ASSERT_EQ(vantrel::SetMode(640, 480, 16), 1);
  const plat::Surface oldPrimary = vantrel::primary;
  const plat::Surface oldBack = vantrel::backBuffer;
  td::Script("SetDisplayMode", {plat::E_NOTIMPL});
  EXPECT_EQ(vantrel::SetMode(641, 479, 16), 0);
  EXPECT_EQ(td::CountCalls("ReleaseSurface"), 0);
  EXPECT_EQ(vantrel::primary, oldPrimary);
  EXPECT_EQ(vantrel::backBuffer, oldBack);
  EXPECT_EQ(vantrel::screenW, 640);
}

TEST_F(SetModeTest, WithoutADeviceAnswersLikeARefusedMode) {
  vantrel::device = nullptr;
  EXPECT_EQ(vantrel::SetMode(640, 480, 16), 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"SetDisplayMode failed"}));
  // No platform call but the box (and the look at its owner).
  std::vector<std::string> calls = td::CallNames();
  std::erase(calls, "IsWindow");
  EXPECT_EQ(calls, (std::vector<std::string>{"MessageBoxA"}));
}

TEST_F(SetModeTest, SurfaceCreatedAsNothingIsAFailedChain) {
  td::ScriptCreateSurfaceWithoutSurface();
  EXPECT_EQ(vantrel::SetMode(640, 480, 16), 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"CreateSurface failed"}));
  EXPECT_EQ(td::CountCalls("GetAttachedSurface"), 0);
  EXPECT_EQ(vantrel::screenW, 0);
}

} // namespace
