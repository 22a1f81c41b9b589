// RenderFrame: what the pass draws, in which order, what it skips, and the
// one presentation at its end.
#include "render_fixture.h"

#include "render/draw.h"
#include "render/render_frame.h"

#include <algorithm>

namespace {

using namespace rt;
using vantrel::prog;
using vantrel::RenderFrame;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;

class RenderFrameTest : public RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    // Tile (0, 0) is opaque blue, tile (1, 0) wholly transparent.
    UseAsTileset(MakeSurface(16, 8, [](int32_t x, int32_t) { return x < 8 ? kBlue : kKey; }));
    red = ImageOf(MakeSurface(16, 16, [](int32_t, int32_t) { return kRed; }));
    green = ImageOf(MakeSurface(16, 16, [](int32_t, int32_t) { return kGreen; }));
  }

  // A one-tile map of tile (0, 0) at (x, y).
  static VMap OneTile(int32_t x, int32_t y) {
    return VMap(1, 1, 0, MAP_SHOWN, x, y, 1, 1, 8, 8, 0);
  }

  VSprite At(VImg *image, int32_t x, int32_t y, int32_t size = 4) {
    return VSprite(image, 0, 0, size, size, x, y, size, size, SPR_SHOWN);
  }

  static void Chain(VLayer &layer, std::vector<VNode *> nodes) {
    layer.first = nodes.empty() ? nullptr : nodes.front();
    layer.last = nodes.empty() ? nullptr : nodes.back();
    for (size_t i = 0; i < nodes.size(); ++i) {
      nodes[i]->owner = &layer;
      nodes[i]->prev = i > 0 ? nodes[i - 1] : nullptr;
      nodes[i]->next = i + 1 < nodes.size() ? nodes[i + 1] : nullptr;
    }
  }

  // The x of every blit in order, and "flip" for each Flip.
  static std::vector<std::string> Drawn() {
    std::vector<std::string> drawn;
    size_t fast = 0;
    const std::vector<FastBlit> blits = FastBlits();
    for (const td::Call &call : td::Log()) {
      if (call.name == "BltFast") {
        drawn.push_back(std::to_string(blits[fast++].x));
      } else if (call.name == "Flip") {
        drawn.push_back("flip");
      } else if (call.name == "Blt") {
        drawn.push_back("stretch");
      }
    }
    return drawn;
  }

  static uint32_t Front(int32_t x, int32_t y) { return soft::PixelRgb(soft::Primary(), x, y); }

  VImg *red = nullptr;
  VImg *green = nullptr;
};

TEST_F(RenderFrameTest, WithoutLayersTheFrameIsStillPresentedOnce) {
  Fill(vantrel::backBuffer, kGreen);
  EXPECT_EQ(RenderFrame(), 1);
  EXPECT_EQ(Drawn(), std::vector<std::string>{"flip"});
  EXPECT_EQ(Front(5, 5), kGreen);
}

TEST_F(RenderFrameTest, LayersInChainOrderMapsUnderTheirSprites) {
  VMap map1 = OneTile(0, 0);
  VMap map2 = OneTile(30, 0);
  VSprite a = At(red, 10, 0), b = At(red, 20, 0), c = At(green, 40, 0);
  VNode na, nb, nc;
  na.sprite = &a;
  nb.sprite = &b;
  nc.sprite = &c;
  VLayer first, second;
  first.map = &map1;
  Chain(first, {&na, &nb});
  second.map = &map2;
  Chain(second, {&nc});
  first.next = &second;
  prog.layers = &first;

  EXPECT_EQ(RenderFrame(), 1);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"0", "10", "20", "30", "40", "flip"}));
  EXPECT_EQ(FastBlits()[0].src, Handle(prog.ihead->surf->surface));
}

TEST_F(RenderFrameTest, SpritesGoInAscendingDepth) {
  VLayer layer;
  VSprite deep = At(red, 30, 0), shallow = At(red, 10, 0), middle = At(red, 20, 0),
          alsoShallow = At(red, 5, 0);
  layer.Add(30, 0, 0)->sprite = &deep;
  layer.Add(10, 0, 0)->sprite = &shallow;
  layer.Add(20, 0, 0)->sprite = &middle;
  layer.Add(10, 0, 0)->sprite = &alsoShallow; // before the other node of depth 10
  prog.layers = &layer;

  RenderFrame();
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"5", "10", "20", "30", "flip"}));

  for (VNode *node = layer.first; node != nullptr;) {
    VNode *next = node->next;
    delete node;
    node = next;
  }
}

TEST_F(RenderFrameTest, LaterLayersCoverEarlierOnesAndTheBufferIsNotCleared) {
  // First layer: a red sprite at (0, 0), 16 x 16, over an empty map.
  // Second layer: an opaque blue tile over its top-left 8 x 8, and a green
  // sprite over part of that tile.
  Fill(vantrel::backBuffer, 0x123456);
  VMap none = OneTile(0, 0);
  none.viewCols = 0;
  VMap tile = OneTile(0, 0);
  VSprite under = At(red, 0, 0, 16);
  VSprite over = At(green, 4, 4, 2);
  VNode nUnder, nOver;
  nUnder.sprite = &under;
  nOver.sprite = &over;
  VLayer first, second;
  first.map = &none;
  Chain(first, {&nUnder});
  second.map = &tile;
  Chain(second, {&nOver});
  first.next = &second;
  prog.layers = &first;

  RenderFrame();
  EXPECT_EQ(Front(0, 0), kBlue); // tile over the earlier layer's sprite
  EXPECT_EQ(Front(7, 7), kBlue);
  EXPECT_EQ(Front(8, 0), kRed); // the sprite where no tile covers it
  EXPECT_EQ(Front(15, 15), kRed);
  EXPECT_EQ(Front(4, 4), kGreen);      // the layer's sprite over its own map
  EXPECT_EQ(Front(16, 16), 0x123456u); // untouched pixels keep what they held
}

TEST_F(RenderFrameTest, OnlyHiddenSkipsAndNullSpritesArePassedOver) {
  VMap hiddenMap = OneTile(0, 0);
  hiddenMap.state = HIDDEN;
  VSprite hidden = At(red, 10, 0), shown = At(red, 20, 0), zero = At(red, 30, 0),
          odd = At(red, 40, 0);
  hidden.state = HIDDEN;
  zero.state = 0;
  odd.state = 123;
  VNode n1, n2, n3, n4, n5;
  n1.sprite = &hidden;
  n2.sprite = nullptr;
  n3.sprite = &shown;
  n4.sprite = &zero;
  n5.sprite = &odd;
  VLayer layer;
  layer.map = &hiddenMap;
  Chain(layer, {&n1, &n2, &n3, &n4, &n5});
  prog.layers = &layer;

  RenderFrame();
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"20", "30", "40", "flip"}));

  // Any map state but HIDDEN draws.
  td::ClearLog();
  hiddenMap.state = 0;
  RenderFrame();
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"0", "20", "30", "40", "flip"}));
}

TEST_F(RenderFrameTest, ALayerWithoutAMapStillDrawsItsSprites) {
  VSprite s = At(red, 10, 0);
  VNode n;
  n.sprite = &s;
  VLayer layer;
  Chain(layer, {&n});
  prog.layers = &layer;
  RenderFrame();
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"10", "flip"}));
}

int replacedCalls = 0;
int32_t VANTREL_CDECL ReplacedDrawSprite(VSprite *) { return ++replacedCalls; }
int32_t VANTREL_CDECL ReplacedDrawMap(VMap *) { return ++replacedCalls; }

TEST_F(RenderFrameTest, ReplacedSlotsDoNotChangeThePass) {
  prog.DrawSprite = ReplacedDrawSprite;
  prog.DrawMap = ReplacedDrawMap;
  VMap map = OneTile(0, 0);
  VSprite s = At(red, 10, 0);
  VNode n;
  n.sprite = &s;
  VLayer layer;
  layer.map = &map;
  Chain(layer, {&n});
  prog.layers = &layer;
  replacedCalls = 0;
  RenderFrame();
  EXPECT_EQ(replacedCalls, 0);
  EXPECT_EQ(Drawn(), (std::vector<std::string>{"0", "10", "flip"}));
}

TEST_F(RenderFrameTest, BeforeAnyModeNothingIsDrawnOrPresented) {
  td::Reset();
  ASSERT_EQ(vantrel::InitDisplay(), 1);
  VMap map = OneTile(0, 0);
  VSprite s = At(red, 10, 0);
  VNode n;
  n.sprite = &s;
  VLayer layer;
  layer.map = &map;
  Chain(layer, {&n});
  prog.layers = &layer;
  EXPECT_EQ(RenderFrame(), 1);
  EXPECT_EQ(td::CountCalls("BltFast") + td::CountCalls("Blt") + td::CountCalls("Flip"), 0);
}

// A module can bend either chain into a loop; the pass must still end, draw
// every record of the chain once, in chain order (nothing drawn again over
// what came after it), flip once and say why once per cause.
struct BentChain {
  const char *name;
  int loopLayersTo; // -1: the layer chain ends; else the last layer's next is layer n
  int loopNodesTo;  // -1: the node chain ends; else the last node's next is node n
  const char *why;  // a phrase of the line said
};

class RenderFrameBent : public RenderFrameTest, public ::testing::WithParamInterface<BentChain> {};

TEST_P(RenderFrameBent, DrawsEveryRecordOnceInOrderAndSaysWhyOnce) {
  const BentChain &c = GetParam();
  VMap map1 = OneTile(0, 0), map2 = OneTile(30, 0), map3 = OneTile(60, 0);
  VSprite a = At(red, 10, 0), b = At(red, 20, 0), s3 = At(green, 40, 0), s4 = At(green, 50, 0),
          s5 = At(green, 70, 0);
  VNode na, nb, nc, nd, n5;
  na.sprite = &a;
  nb.sprite = &b;
  nc.sprite = &s3;
  nd.sprite = &s4;
  n5.sprite = &s5;
  VLayer layers[3];
  VMap *maps[3] = {&map1, &map2, &map3};
  for (int i = 0; i < 3; ++i) {
    layers[i].map = maps[i];
    layers[i].next = i < 2 ? &layers[i + 1] : nullptr;
  }
  Chain(layers[0], {&na, &nb, &nc, &nd});
  Chain(layers[2], {&n5});
  VNode *nodes[4] = {&na, &nb, &nc, &nd};
  if (c.loopLayersTo >= 0) {
    layers[2].next = &layers[c.loopLayersTo];
  }
  if (c.loopNodesTo >= 0) {
    nd.next = nodes[c.loopNodesTo];
  }
  prog.layers = &layers[0];

  const std::vector<std::string> once = {"0", "10", "20", "40", "50", "30", "60", "70", "flip"};
  for (int frame = 0; frame < 2; ++frame) {
    td::ClearLog();
    EXPECT_EQ(RenderFrame(), 1) << c.name;
    EXPECT_EQ(Drawn(), once) << c.name;
  }
  const std::string &out = td::DebugOutput();
  ASSERT_NE(out.find(c.why), std::string::npos) << c.name << ": " << out;
  EXPECT_EQ(out.find(c.why), out.rfind(c.why)) << c.name << ": said once";
}

INSTANTIATE_TEST_SUITE_P(Loops, RenderFrameBent,
                         ::testing::Values(BentChain{"LayerToFirst", 0, -1, "layer chain"},
                                           BentChain{"LayerToMiddle", 1, -1, "layer chain"},
                                           BentChain{"LayerToItself", 2, -1, "layer chain"},
                                           BentChain{"NodeToFirst", -1, 0, "sprite list"},
                                           BentChain{"NodeToSecond", -1, 1, "sprite list"},
                                           BentChain{"NodeToThird", -1, 2, "sprite list"},
                                           BentChain{"NodeToItself", -1, 3, "sprite list"},
                                           BentChain{"Both", 0, 0, "sprite list"}),
                         [](const ::testing::TestParamInfo<BentChain> &param) {
                           return param.param.name;
                         });

} // namespace
