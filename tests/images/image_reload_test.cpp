// Bringing the images back after the display lost their surfaces: a restored
// primary surface and a later display mode both reload every uploaded image
// into the same records; a file that went away leaves its image blank.
#include "image_fixture.h"

#include "display/display_mode.h"
#include "display/display_state.h"
#include "display/present.h"
#include "images/image_list.h"

#include <cstdio>
#include <functional>

namespace {

constexpr uint32_t kKey = 0xFF00FF;

// Colours every depth stores exactly.
bmp::Image Tiles() {
  bmp::Image image = bmp::Solid(8, 4, 0x00FF00);
  image.pixels[0] = kKey;
  image.pixels[9] = 0xFF0000;
  image.pixels[31] = 0x0000FF;
  return image;
}

bmp::Image Ball() {
  bmp::Image image = bmp::Solid(4, 4, 0xFFFFFF);
  image.pixels[0] = 0x000000;
  image.pixels[5] = 0xFF0000;
  return image;
}

class ImageReloadTest : public ImageTest {
protected:
  void SetUp() override {
    ImageTest::SetUp();
    OpenDisplay(16);
    files = {{Write("tiles.bmp", Tiles()), Tiles()}, {Write("ball.bmp", Ball()), Ball()}};
    for (const auto &file : files) {
      ASSERT_NE(vantrel::AddImage(file.first.c_str(), IMG_LOAD), nullptr);
    }
    images = List();
    surfaces.clear();
    for (VImg *image : images) {
      surfaces.push_back(SurfaceOf(image));
    }
    td::ClearLog();
  }

  // Every image shows its bitmap's pixels in the current depth, keyed on its
  // top-left pixel, and its record is as the upload left it.
  void ExpectImagesWhole() {
    ASSERT_EQ(List(), images);
    for (size_t i = 0; i < images.size(); ++i) {
      const bmp::Image &want = files[i].second;
      EXPECT_EQ(images[i]->state, IMG_NAMED);
      EXPECT_EQ(images[i]->surf->width, want.width);
      EXPECT_EQ(images[i]->surf->height, want.height);
      const plat::Surface s = SurfaceOf(images[i]);
      const soft::SurfaceView view = View(s);
      EXPECT_EQ(view.bpp, vantrel::screenBpp);
      EXPECT_TRUE(view.hasKey);
      EXPECT_EQ(view.key, soft::EncodeRgb(view.bpp, bmp::ColourAt(want, 0, 0)));
      for (int32_t y = 0; y < want.height; ++y) {
        for (int32_t x = 0; x < want.width; ++x) {
          ASSERT_EQ(soft::PixelRgb(s, x, y), bmp::ColourAt(want, x, y))
              << "image " << i << " at " << x << "," << y;
        }
      }
    }
  }

  static void LoseAndComeBack() {
    ASSERT_TRUE(soft::LoseExclusiveMode());
    soft::RegainExclusiveMode();
    vantrel::Present(); // the flip finds the primary lost and restores it
  }

  std::vector<std::pair<std::string, bmp::Image>> files;
  std::vector<VImg *> images;
  std::vector<plat::Surface> surfaces;
};

TEST_F(ImageReloadTest, EveryLossBringsEveryImageBackIntoTheSameRecords) {
  struct Row {
    const char *what;
    std::function<void()> lose;
    int remade; // image surfaces made anew
  };
  const Row rows[] = {
      {"primary lost and restored", LoseAndComeBack, 0},
      {"the same mode again", [] { ASSERT_EQ(vantrel::SetMode(64, 48, 16), 1); }, 0},
      {"another size", [] { ASSERT_EQ(vantrel::SetMode(80, 60, 16), 1); }, 0},
      {"another depth", [] { ASSERT_EQ(vantrel::SetMode(64, 48, 32), 1); }, 2},
      {"8 bits", [] { ASSERT_EQ(vantrel::SetMode(64, 48, 8), 1); }, 2},
      {"the device restores nothing",
       [] {
         td::Script("RestoreAllSurfaces", {plat::E_FAIL});
         ASSERT_EQ(vantrel::SetMode(64, 48, 16), 1);
       },
       2},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    TearDown();
    SetUp();
    const int chainSurfaces = std::string(row.what).find("primary") == 0 ? 0 : 1;
    row.lose();
    EXPECT_TRUE(td::Boxes().empty());
    EXPECT_EQ(td::CountCalls("RestoreAllSurfaces"), 1);
    EXPECT_EQ(td::CountCalls("LoadImageA"), 2);
    EXPECT_EQ(td::CountCalls("CreateSurface"), chainSurfaces + row.remade);
    if (row.remade == 0) {
      EXPECT_EQ(SurfaceOf(images[0]), surfaces[0]);
      EXPECT_EQ(SurfaceOf(images[1]), surfaces[1]);
    }
    EXPECT_EQ(td::DebugOutput(), "");
    ExpectImagesWhole();
    // The next loss comes back the same way.
    td::ClearLog();
    LoseAndComeBack();
    EXPECT_EQ(td::CountCalls("LoadImageA"), 2);
    ExpectImagesWhole();
  }
}

TEST_F(ImageReloadTest, AFileThatWentAwayLeavesItsImageBlankAndSaysSoOnce) {
  ASSERT_EQ(std::remove(files[1].first.c_str()), 0);
  LoseAndComeBack();
  ASSERT_EQ(vantrel::SetMode(64, 48, 32), 1); // made anew, still no file
  EXPECT_TRUE(td::Boxes().empty());
  const std::string expected =
      "Image " + files[1].first + " could not be loaded again and stays blank\n";
  EXPECT_EQ(td::DebugOutput(), expected);

  // Blank: keyed on its one value, so drawing it changes nothing.
  const plat::Surface blank = SurfaceOf(images[1]);
  const soft::SurfaceView view = View(blank);
  EXPECT_EQ(view.bpp, 32);
  EXPECT_TRUE(view.hasKey);
  for (int32_t y = 0; y < view.height; ++y) {
    for (int32_t x = 0; x < view.width; ++x) {
      EXPECT_EQ(soft::PixelRgb(blank, x, y), soft::PixelRgb(blank, 0, 0));
    }
  }
  soft::SurfaceView back = View(vantrel::backBuffer);
  const std::vector<uint8_t> before(back.pixels, back.pixels + back.pitch * back.height);
  plat::RECT whole{0, 0, view.width, view.height};
  EXPECT_EQ(soft::BltFast(vantrel::backBuffer, 0, 0, blank, &whole, plat::DDBLTFAST_SRCCOLORKEY),
            plat::DD_OK);
  EXPECT_EQ(std::vector<uint8_t>(back.pixels, back.pixels + back.pitch * back.height), before);
  // The other image is whole.
  EXPECT_EQ(soft::PixelRgb(SurfaceOf(images[0]), 1, 1), 0xFF0000u);
}

TEST_F(ImageReloadTest, NothingIsReloadedWhileNothingWasLost) {
  for (int frame = 0; frame < 3; ++frame) {
    vantrel::Present();
  }
  EXPECT_EQ(td::CountCalls("Flip"), 3);
  const char *reloadCalls[] = {"RestoreAllSurfaces", "IsLost", "LoadImageA", "CreateSurface",
                               "Restore"};
  for (const char *call : reloadCalls) {
    EXPECT_EQ(td::CountCalls(call), 0) << call;
  }
  // A display another program holds is not restored, reported or reloaded
  // from; a restore that fails while the display is the host's keeps its
  // boxes and reloads nothing either.
  soft::LoseExclusiveMode();
  vantrel::Present();
  EXPECT_EQ(td::CountCalls("Restore"), 0);
  EXPECT_TRUE(td::Boxes().empty());
  soft::RegainExclusiveMode();
  vantrel::displayAway = false;
  td::Script("Restore", {plat::E_FAIL});
  vantrel::Present();
  EXPECT_EQ(td::CountCalls("LoadImageA"), 0);
  ASSERT_FALSE(td::Boxes().empty());
  EXPECT_EQ(td::Boxes()[0].text, "Tried to restore primary surface and failed.");
}

TEST(ImageReloadFirstMode, AFirstModeWithNoImagesRestoresNothing) {
  td::Reset();
  ASSERT_EQ(vantrel::InitDisplay(), 1);
  ASSERT_EQ(vantrel::SetMode(64, 48, 16), 1);
  EXPECT_EQ(td::CountCalls("RestoreAllSurfaces"), 0);
  td::Reset();
}

} // namespace
