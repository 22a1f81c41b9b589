// The reason a drawing request of the module is refused, said once per cause
// on the debug output; what is merely off the screen says nothing. Results
// and pixels stay as they were.
#include "render_fixture.h"

#include "render/draw.h"

namespace {

using namespace rt;

struct Refusal {
  const char *name;
  // Makes the request on the fixture's 16 x 16 image and tileset.
  std::function<void(VImg *image)> request;
  const char *why; // a phrase of the line; empty: nothing is said
};

class RefusalReasons : public RenderTest, public ::testing::WithParamInterface<Refusal> {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    plat::Surface pixels = MakeSurface(16, 16, [](int32_t x, int32_t y) { return Probe(x, y); });
    UseAsTileset(pixels);
    image = ImageOf(pixels);
    image->surf->width = 16;
    image->surf->height = 16;
  }
  VImg *image = nullptr;
};

VSprite Sprite(VImg *image, int32_t srcX, int32_t srcW, int32_t dstX) {
  return VSprite(image, srcX, 0, srcW, 8, dstX, 0, srcW, 8, SPR_SHOWN);
}

void Draw(VSprite sprite) { EXPECT_EQ(vantrel::DrawSprite(&sprite), 1); }

void DrawMapOf(VMap &map) { EXPECT_EQ(vantrel::DrawMap(&map), 1); }

TEST_P(RefusalReasons, SaidOnceOrNotAtAll) {
  const Refusal &r = GetParam();
  r.request(image);
  r.request(image);
  const std::string &out = td::DebugOutput();
  if (r.why[0] == '\0') {
    EXPECT_EQ(out, "") << r.name;
    return;
  }
  const size_t at = out.find(r.why);
  ASSERT_NE(at, std::string::npos) << r.name << ": " << out;
  EXPECT_EQ(at, out.rfind(r.why)) << r.name << ": said twice";
  EXPECT_EQ(out.back(), '\n') << r.name;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << r.name << ": one line";
}

INSTANTIATE_TEST_SUITE_P(
    Causes, RefusalReasons,
    ::testing::Values(
        Refusal{"NullSprite", [](VImg *) { EXPECT_EQ(vantrel::DrawSprite(nullptr), 1); },
                "no sprite was given"},
        Refusal{"SpriteWithoutImage", [](VImg *) { Draw(Sprite(nullptr, 0, 8, 0)); },
                "without an image"},
        Refusal{"ImageWithoutSurface",
                [](VImg *image) {
                  VImg bare(new VSurf(), "bare", IMG_DEFER);
                  Draw(Sprite(&bare, 0, 8, 0));
                  (void)image;
                },
                "has no surface"},
        Refusal{"EmptySource", [](VImg *image) { Draw(Sprite(image, 0, 0, 0)); },
                "source rectangle is empty"},
        Refusal{"SourcePastTheImage", [](VImg *image) { Draw(Sprite(image, 10, 8, 0)); },
                "outside its image"},
        Refusal{"SourceLeftOfTheImage", [](VImg *image) { Draw(Sprite(image, -4, 8, 20)); },
                "outside its image"},
        Refusal{"SpriteOffTheScreen", [](VImg *image) { Draw(Sprite(image, 0, 8, 500)); }, ""},
        Refusal{"SpriteLeftOfTheScreen", [](VImg *image) { Draw(Sprite(image, 0, 8, -500)); }, ""},
        Refusal{"ClippingBringsTheSourceBack", [](VImg *image) { Draw(Sprite(image, -4, 8, -4)); },
                ""},
        Refusal{"HiddenSprite",
                [](VImg *) {
                  VSprite hidden = Sprite(nullptr, 0, 8, 0);
                  hidden.state = HIDDEN;
                  Draw(hidden);
                },
                ""},
        Refusal{"NullMap", [](VImg *) { EXPECT_EQ(vantrel::DrawMap(nullptr), 1); },
                "no map was given"},
        Refusal{"MapWithoutCells",
                [](VImg *) {
                  VMap map(2, 2, 0, MAP_SHOWN, 0, 0, 2, 2, 8, 8, 0);
                  delete[] map.cells;
                  map.cells = nullptr;
                  DrawMapOf(map);
                },
                "without cells"},
        Refusal{"MapWithoutTileset",
                [](VImg *) {
                  vantrel::prog.ihead->surf->surface = nullptr;
                  VMap map(2, 2, 0, MAP_SHOWN, 0, 0, 2, 2, 8, 8, 0);
                  DrawMapOf(map);
                },
                "first image added"},
        Refusal{"ViewPastTheCells",
                [](VImg *) {
                  VMap map(2, 2, 0, MAP_SHOWN, 0, 0, 3, 3, 8, 8, 0);
                  DrawMapOf(map);
                },
                "more tiles than"},
        Refusal{"MapOffTheScreen",
                [](VImg *) {
                  VMap map(2, 2, 0, MAP_SHOWN, -400, 300, 2, 2, 8, 8, 0);
                  DrawMapOf(map);
                },
                ""},
        Refusal{"EmptyView",
                [](VImg *) {
                  VMap map(2, 2, 0, MAP_SHOWN, 0, 0, 0, 2, 8, 8, 0);
                  DrawMapOf(map);
                },
                ""}),
    [](const ::testing::TestParamInfo<Refusal> &param) { return param.param.name; });

TEST_F(RenderTest, NothingIsDrawnBeforeAModeAndThatIsSaidOnce) {
  td::Reset();
  ASSERT_EQ(vantrel::InitDisplay(), 1);
  plat::Surface pixels = MakeSurface(16, 16, [](int32_t x, int32_t y) { return Probe(x, y); });
  UseAsTileset(pixels);
  VMap map(1, 1, 0, MAP_SHOWN, 0, 0, 1, 1, 8, 8, 0);
  VSprite sprite = Sprite(ImageOf(pixels), 0, 8, 0);
  EXPECT_EQ(vantrel::DrawMap(&map), 1);
  EXPECT_EQ(vantrel::DrawSprite(&sprite), 1);
  EXPECT_EQ(td::DebugOutput(),
            "vantrel: nothing is drawn before a display mode has been set with SetMode\n");
}

} // namespace
