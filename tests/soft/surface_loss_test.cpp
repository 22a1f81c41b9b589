// Losing and restoring surfaces: a mode change or the loss of the exclusive
// mode loses every surface; lost surfaces refuse drawing, locking, contexts
// and flips until Restore brings them back with visibly wrong pixels.
#include "platform/soft/device_state.h"
#include "soft_test_util.h"

#include <functional>

namespace softtest {
namespace {

constexpr plat::HRESULT OK = plat::DD_OK;
constexpr plat::HRESULT LOST = plat::DDERR_SURFACELOST;
constexpr plat::HRESULT WRONG = soft::kWrongMode;
constexpr plat::HRESULT IMPLICIT = soft::kImplicitlyCreated;

class SurfaceLoss : public SoftDevice {
protected:
  void SetUp() override {
    SoftDevice::SetUp();
    Mode(16);
    primary = PrimaryChain(dd, &back);
    image = Offscreen(dd, 8, 8);
    ASSERT_NE(primary, nullptr);
    ASSERT_NE(image, nullptr);
    FillStored(image, 0x1234);
    FillStored(back, 0x0001);
  }
  plat::Surface primary = nullptr;
  plat::Surface back = nullptr;
  plat::Surface image = nullptr;
};

TEST_F(SurfaceLoss, EachCallAnswersByTheStateOfItsSurfaces) {
  struct Row {
    const char *what;
    std::function<void(plat::DirectDraw4)> make;
    plat::HRESULT drawn, locked, context, flipped, attached, isLost;
    plat::HRESULT restoreBack, restoreImage, restorePrimary;
  };
  const auto lose = [](plat::DirectDraw4) { EXPECT_TRUE(soft::LoseExclusiveMode()); };
  const Row rows[] = {
      {"intact", [](plat::DirectDraw4) {}, OK, OK, OK, OK, OK, OK, IMPLICIT, OK, OK},
      {"the same mode set again",
       [](plat::DirectDraw4 d) { EXPECT_EQ(soft::SetDisplayMode(d, 64, 48, 16, 0, 0), OK); }, LOST,
       LOST, LOST, LOST, LOST, LOST, IMPLICIT, OK, OK},
      {"another depth set",
       [](plat::DirectDraw4 d) { EXPECT_EQ(soft::SetDisplayMode(d, 64, 48, 32, 0, 0), OK); }, LOST,
       LOST, LOST, LOST, LOST, LOST, IMPLICIT, WRONG, WRONG},
      {"another size set",
       [](plat::DirectDraw4 d) { EXPECT_EQ(soft::SetDisplayMode(d, 80, 60, 16, 0, 0), OK); }, LOST,
       LOST, LOST, LOST, LOST, LOST, IMPLICIT, OK, WRONG},
      {"exclusive mode away", lose, LOST, LOST, LOST, LOST, LOST, LOST, IMPLICIT, WRONG, WRONG},
      {"exclusive mode back, not yet restored",
       [&](plat::DirectDraw4 d) {
         lose(d);
         soft::RegainExclusiveMode();
       },
       LOST, LOST, LOST, LOST, LOST, LOST, IMPLICIT, OK, OK},
      {"restored",
       [&](plat::DirectDraw4 d) {
         lose(d);
         soft::RegainExclusiveMode();
         EXPECT_EQ(soft::Restore(soft::Primary()), OK);
         EXPECT_EQ(soft::RestoreAllSurfaces(d), OK);
       },
       OK, OK, OK, OK, OK, OK, IMPLICIT, OK, OK},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    TearDown();
    SetUp();
    r.make(dd);
    const std::vector<uint8_t> backBefore = Bytes(back);

    EXPECT_EQ(soft::BltFast(back, 4, 4, image, nullptr, plat::DDBLTFAST_SRCCOLORKEY), r.drawn);
    EXPECT_EQ(soft::Blt(back, nullptr, image, nullptr, plat::DDBLT_KEYSRC, nullptr), r.drawn);
    if (r.drawn != OK) {
      EXPECT_EQ(Bytes(back), backBefore) << "a refused blit changed the back buffer";
    }
    plat::DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(soft::Lock(image, nullptr, &desc, plat::DDLOCK_READONLY, nullptr), r.locked);
    if (r.locked == OK) {
      EXPECT_EQ(soft::Unlock(image, nullptr), OK);
    }
    plat::HDC dc = nullptr;
    EXPECT_EQ(soft::GetDC(image, &dc), r.context);
    if (r.context == OK) {
      EXPECT_EQ(soft::ReleaseDC(image, dc), OK);
    } else {
      EXPECT_EQ(dc, nullptr);
    }
    EXPECT_EQ(soft::Flip(primary, nullptr, 0), r.flipped);
    plat::DDSCAPS2 caps{plat::DDSCAPS_BACKBUFFER, 0, 0, 0};
    plat::Surface attached = nullptr;
    EXPECT_EQ(soft::GetAttachedSurface(primary, &caps, &attached), r.attached);
    if (attached != nullptr) {
      soft::ReleaseSurface(attached);
    }
    EXPECT_EQ(soft::IsLost(image), r.isLost);
    EXPECT_EQ(soft::IsLost(back), r.isLost);
    EXPECT_EQ(soft::Restore(back), r.restoreBack);
    EXPECT_EQ(soft::Restore(image), r.restoreImage);
    EXPECT_EQ(soft::Restore(primary), r.restorePrimary);
    // Restore on the primary brings its back buffer back too.
    EXPECT_EQ(soft::IsLost(back), r.restorePrimary == OK ? OK : LOST);
  }
}

TEST_F(SurfaceLoss, RestoredMemoryIsVisiblyWrong) {
  const std::vector<uint8_t> before = Bytes(image);
  ASSERT_EQ(soft::SetDisplayMode(dd, 64, 48, 16, 0, 0), OK);
  ASSERT_EQ(soft::RestoreAllSurfaces(dd), OK);
  EXPECT_EQ(soft::IsLost(image), OK);
  EXPECT_EQ(soft::IsLost(primary), OK);
  EXPECT_EQ(soft::IsLost(back), OK);
  const std::vector<uint8_t> after = Bytes(image);
  ASSERT_EQ(after.size(), before.size());
  size_t same = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    same += after[i] == before[i] ? 1 : 0;
  }
  EXPECT_EQ(same, 0u) << "restored memory still holds the old pixels";
  // A surface that was never lost keeps its pixels through a restore.
  FillStored(image, 0x4321);
  EXPECT_EQ(soft::Restore(image), OK);
  EXPECT_EQ(Get(image, 7, 7), 0x4321u);
}

TEST_F(SurfaceLoss, RestoreAllLeavesSurfacesOfAnotherDepthLost) {
  ASSERT_EQ(soft::SetDisplayMode(dd, 64, 48, 32, 0, 0), OK);
  plat::Surface fresh = Offscreen(dd, 4, 4);
  EXPECT_EQ(soft::IsLost(fresh), OK); // made after the change
  EXPECT_EQ(soft::RestoreAllSurfaces(dd), WRONG);
  EXPECT_EQ(soft::IsLost(image), LOST);
  EXPECT_EQ(soft::IsLost(primary), LOST);
  soft::LoseExclusiveMode();
  EXPECT_EQ(soft::RestoreAllSurfaces(dd), WRONG);
  EXPECT_EQ(soft::IsLost(fresh), LOST);
  EXPECT_TRUE(soft::ExclusiveModeAway());
}

TEST_F(SurfaceLoss, ANormalCooperativeLevelLosesNothingOnAFocusChange) {
  ASSERT_EQ(soft::SetCooperativeLevel(dd, nullptr, 0x8 /* DDSCL_NORMAL */), OK);
  EXPECT_FALSE(soft::LoseExclusiveMode());
  EXPECT_FALSE(soft::ExclusiveModeAway());
  EXPECT_EQ(soft::IsLost(image), OK);
  EXPECT_EQ(soft::BltFast(back, 0, 0, image, nullptr, 0), OK);
}

// TestCooperativeLevel follows who holds the display: the application
// (DD_OK), another program (DDERR_NOEXCLUSIVEMODE), or the application again
// with a mode another program set (DDERR_WRONGMODE, until it sets its own).
// Nothing is restored while it is not DD_OK.
TEST_F(SurfaceLoss, TheCooperativeLevelFollowsWhoHoldsTheDisplay) {
  constexpr plat::HRESULT NOEXCL = soft::kNoExclusiveMode;
  struct Row {
    const char *what;
    std::function<void(plat::DirectDraw4)> make;
    plat::HRESULT level, restorePrimary;
    int32_t modeBpp; // the device's depth afterwards
  };
  const Row rows[] = {
      {"ours", [](plat::DirectDraw4) {}, OK, OK, 16},
      {"another program's", [](plat::DirectDraw4) { soft::LoseExclusiveMode(); }, NOEXCL, WRONG,
       16},
      {"back",
       [](plat::DirectDraw4) {
         soft::LoseExclusiveMode();
         soft::RegainExclusiveMode();
       },
       OK, OK, 16},
      {"a mode set elsewhere while away",
       [](plat::DirectDraw4) {
         soft::LoseExclusiveMode();
         soft::ChangeModeElsewhere(800, 600, 32);
       },
       NOEXCL, WRONG, 32},
      {"back to a mode set elsewhere",
       [](plat::DirectDraw4) {
         soft::LoseExclusiveMode();
         soft::ChangeModeElsewhere(800, 600, 32);
         soft::RegainExclusiveMode();
       },
       WRONG, WRONG, 32},
      {"the same mode set elsewhere, with no switch",
       [](plat::DirectDraw4) { soft::ChangeModeElsewhere(64, 48, 16); }, WRONG, WRONG, 16},
      {"our own mode set again",
       [](plat::DirectDraw4 d) {
         soft::ChangeModeElsewhere(800, 600, 32);
         EXPECT_EQ(soft::SetDisplayMode(d, 64, 48, 16, 0, 0), OK);
       },
       OK, OK, 16},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    TearDown();
    SetUp();
    r.make(dd);
    EXPECT_EQ(soft::TestCooperativeLevel(dd), r.level);
    EXPECT_EQ(soft::DisplayBpp(), r.modeBpp);
    EXPECT_EQ(soft::Restore(primary), r.restorePrimary);
    EXPECT_EQ(soft::IsLost(primary), r.restorePrimary == OK ? OK : LOST);
    if (r.restorePrimary != OK) {
      EXPECT_EQ(soft::RestoreAllSurfaces(dd), WRONG);
      EXPECT_EQ(soft::IsLost(image), LOST);
    }
  }
  EXPECT_EQ(soft::TestCooperativeLevel(nullptr), soft::kInvalidObject);
  // A normal cooperative level shares the display: always DD_OK.
  ASSERT_EQ(soft::SetCooperativeLevel(dd, nullptr, 0x8 /* DDSCL_NORMAL */), OK);
  soft::ChangeModeElsewhere(800, 600, 32);
  EXPECT_EQ(soft::TestCooperativeLevel(dd), OK);
}

} // namespace
} // namespace softtest
