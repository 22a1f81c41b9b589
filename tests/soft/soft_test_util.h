// Helpers for the soft device tests: a fresh device per test, surfaces in a
// given depth, raw pixel access and small bitmap files.
#ifndef VANTREL_TESTS_SOFT_SOFT_TEST_UTIL_H
#define VANTREL_TESTS_SOFT_SOFT_TEST_UTIL_H

#include "platform/soft/soft_device.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace softtest {

// Resets the device and opens it: created, IDirectDraw4, cooperative level.
plat::DirectDraw4 OpenDevice();

// An off-screen plain surface of the current depth (null on failure).
plat::Surface Offscreen(plat::DirectDraw4 dd, uint32_t w, uint32_t h);

// The primary chain of the current mode; `back` receives the back buffer.
plat::Surface PrimaryChain(plat::DirectDraw4 dd, plat::Surface *back);

// Stored pixel values, in the surface's own format.
uint32_t Get(plat::Surface s, int32_t x, int32_t y);
void Put(plat::Surface s, int32_t x, int32_t y, uint32_t value);
void FillStored(plat::Surface s, uint32_t value);

// Every byte of every row of the surface (pitch padding left out).
std::vector<uint8_t> Bytes(plat::Surface s);

// Writes a 24-bit bottom-up bitmap file of 0x00RRGGBB pixels (top row first)
// into the test's temporary folder and answers its path.
std::string WriteBitmap24(const std::string &name, int32_t w, int32_t h,
                          const std::vector<uint32_t> &rgb);

class SoftDevice : public ::testing::Test {
protected:
  void SetUp() override { dd = OpenDevice(); }
  void TearDown() override { soft::ResetDevice(); }
  void Mode(uint32_t bpp, uint32_t w = 64, uint32_t h = 48) {
    ASSERT_EQ(soft::SetDisplayMode(dd, w, h, bpp, 0, 0), plat::DD_OK);
  }
  plat::DirectDraw4 dd = nullptr;
};

} // namespace softtest

#endif
