// A fresh platform and host for every image test, with a folder for files.
#ifndef VANTREL_TESTS_IMAGES_IMAGE_FIXTURE_H
#define VANTREL_TESTS_IMAGES_IMAGE_FIXTURE_H

#include "bmp_writer.h"
#include "display/display_mode.h"
#include "module/prog_instance.h"
#include "platform/soft/soft_device.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ImageTest : public ::testing::Test {
protected:
  void SetUp() override {
    td::Reset();
    ASSERT_FALSE(dir.Path().empty());
  }
  void TearDown() override { td::Reset(); }

  // Opens the display device; with bpp, also sets a 64 x 48 mode of that depth.
  void OpenDisplay(int32_t bpp = 0) {
    ASSERT_EQ(vantrel::InitDisplay(), 1);
    if (bpp != 0) {
      ASSERT_EQ(vantrel::SetMode(64, 48, bpp), 1);
    }
    td::ClearLog();
  }

  // Writes `image` under `name` in the test's folder and answers its path.
  std::string Write(const std::string &name, const bmp::Image &image) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(bmp::WriteFile(path, image));
    return path;
  }

  // The images on the list, head first.
  static std::vector<VImg *> List() {
    std::vector<VImg *> images;
    for (VImg *image = vantrel::prog.ihead; image != nullptr; image = image->next) {
      images.push_back(image);
    }
    return images;
  }

  static plat::Surface SurfaceOf(const VImg *image) {
    return image != nullptr && image->surf != nullptr
               ? static_cast<plat::Surface>(image->surf->surface)
               : nullptr;
  }

  static soft::SurfaceView View(plat::Surface surface) {
    soft::SurfaceView view{};
    EXPECT_TRUE(soft::View(surface, &view));
    return view;
  }

  bmp::TempDir dir;
};

#endif
