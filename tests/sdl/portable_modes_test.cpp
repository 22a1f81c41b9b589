// The desktop backend's SetDisplayMode names every mode a Windows display may
// refuse (or show in other colours) on the debug output, and refuses it with
// strict modes, as a refusing device does.
#include "platform/platform.h"
#include "platform/sdl/backend_state.h"
#include "platform/soft/soft_device.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PortableModes : public ::testing::Test {
protected:
  void SetUp() override {
    soft::ResetDevice();
    plat::DirectDraw first = nullptr;
    ASSERT_EQ(plat::DirectDrawCreate(nullptr, &first, nullptr), plat::DD_OK);
    ASSERT_EQ(plat::QueryInterface(first, &plat::IID_IDirectDraw4, &dd), plat::DD_OK);
  }
  void TearDown() override {
    sdlplat::strictModes = false;
    sdlplat::exclusive = true;
    soft::ResetDevice();
  }
  plat::DirectDraw4 dd = nullptr;
};

TEST_F(PortableModes, EveryModeOutsideTheListIsNamedAndRefusedWhenStrict) {
  enum Line { kNone, kMayRefuse, kPalette, kCannotMake };
  struct Row {
    uint32_t w, h, bpp;
    Line line;
  };
  const Row rows[] = {
      {640, 480, 16, kNone},
      {800, 600, 32, kNone},
      {1024, 768, 16, kNone},
      {1280, 1024, 32, kNone},
      {641, 479, 16, kMayRefuse},
      {640, 480, 24, kMayRefuse},
      {1920, 1080, 16, kMayRefuse},
      {480, 640, 32, kMayRefuse},
      {640, 480, 8, kPalette},
      {1280, 1024, 8, kPalette},
      {320, 240, 8, kMayRefuse},
      // Modes the desktop host itself cannot make: its own reason, not Windows'.
      {100000, 100000, 7, kCannotMake},
      {640, 480, 7, kCannotMake},
      {0, 480, 16, kCannotMake},
      {8193, 600, 32, kCannotMake},
  };
  const auto cannot = [](const Row &r) -> std::string {
    if (r.w == 0 || r.h == 0) {
      return "a mode of no pixels";
    }
    if (r.w > 8192 || r.h > 8192) {
      return "wider or taller than 8192 pixels";
    }
    return std::to_string(r.bpp) + " bits per pixel (the depths are 8, 16, 24 and 32)";
  };
  for (const bool strict : {false, true}) {
    sdlplat::strictModes = strict;
    for (const Row &r : rows) {
      SCOPED_TRACE(::testing::Message()
                   << r.w << "x" << r.h << "x" << r.bpp << (strict ? " strict" : ""));
      ASSERT_EQ(soft::SetDisplayMode(dd, 1, 1, 32, 0, 0), plat::DD_OK) << "a mode to leave";
      ::testing::internal::CaptureStderr();
      const plat::HRESULT answer = plat::SetDisplayMode(dd, r.w, r.h, r.bpp, 0, 0);
      const std::string said = ::testing::internal::GetCapturedStderr();
      std::string mode = "SetDisplayMode " + std::to_string(r.w) + "x" + std::to_string(r.h) + "x" +
                         std::to_string(r.bpp) + ": ";
      if (strict) {
        mode += "refused by --strict-modes: ";
      }
      switch (r.line) {
      case kNone:
        EXPECT_EQ(said, "");
        break;
      case kCannotMake:
        if (!strict) {
          EXPECT_EQ(said, mode + "the desktop host cannot make this mode: " + cannot(r) + "\n");
          break;
        }
        [[fallthrough]]; // the option refused it first
      case kMayRefuse:
        EXPECT_EQ(said, mode + "Windows displays may refuse this mode; the portable modes are "
                               "640x480, 800x600, 1024x768 and 1280x1024 at 16 or 32 bits\n");
        break;
      case kPalette:
        EXPECT_EQ(said, mode + "on Windows the host attaches no palette, so the colours of an "
                               "8-bit mode need not be the bitmaps' own\n");
        break;
      }
      const bool refused = (strict && r.line != kNone) || r.line == kCannotMake;
      EXPECT_EQ(answer, refused ? plat::DDERR_INVALIDMODE : plat::DD_OK);
      EXPECT_EQ(soft::DisplayBpp(), refused ? 32 : static_cast<int32_t>(r.bpp));
    }
  }
}

} // namespace
