// A game module that does every wrong thing a module author can do, to show
// that the host refuses each one cleanly and never crashes, reads or writes
// out of bounds. Run by the desktop host under AddressSanitizer.
//
// Each act is written to the file named by $VANTREL_HOSTILE_LOG (one line per
// act, "act <name>"), so the test can count what was tried. The module needs
// a valid bitmap named by $VANTREL_HOSTILE_BMP (the tileset) and answers
// non-zero on every call so the render pass runs over its broken scene.
#include "vantrel.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

VANTREL_EXPORTS

namespace {

VProg *host = nullptr;
FILE *logFile = nullptr;
int acts = 0;
int frames = 0;

// Everything the module allocates, freed on EV_SHUTDOWN.
std::vector<VLayer *> layers;
std::vector<VMap *> maps;
std::vector<VSprite *> sprites;
std::vector<VNode *> freeNodes;
std::vector<VImg *> ownImages; // image records the module made itself

// Logs "wrong <what>" when an answer is not the refusal the host and the
// scene library chose; the test fails on any such line.
void Expect(bool ok, const char *what) {
  if (!ok && logFile != nullptr) {
    std::fprintf(logFile, "wrong %s\n", what);
    std::fflush(logFile);
  }
}

void Act(const char *name) {
  ++acts;
  if (logFile != nullptr) {
    std::fprintf(logFile, "act %s\n", name);
    std::fflush(logFile);
  }
}

const char *Env(const char *name, const char *fallback) {
  const char *v = std::getenv(name);
  return v != nullptr ? v : fallback;
}

VSprite *NewSprite(VImg *img, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx,
                   int32_t dy, int32_t dw, int32_t dh) {
  auto *s = new VSprite(img, sx, sy, sw, sh, dx, dy, dw, dh, SPR_SHOWN);
  sprites.push_back(s);
  return s;
}

void BeforeMode() {
  // Drawing before any display mode exists.
  VSprite lone(nullptr, 0, 0, 8, 8, 0, 0, 8, 8, SPR_SHOWN);
  Expect(host->DrawSprite(&lone) == 1, "DrawSprite before a mode answers 1");
  Act("draw-sprite-before-mode");
  VMap early(2, 2, 0, MAP_SHOWN, 0, 0, 2, 2, 8, 8, 0);
  Expect(host->DrawMap(&early) == 1, "DrawMap before a mode answers 1");
  Act("draw-map-before-mode-and-images");
  Expect(host->DrawSprite(nullptr) == 1, "DrawSprite(null) answers 1");
  Act("draw-null-sprite");
  Expect(host->DrawMap(nullptr) == 1, "DrawMap(null) answers 1");
  Act("draw-null-map");
}

void BadModes() {
  Expect(host->SetMode(0, 0, 16) == 0, "SetMode 0x0 refused");
  Act("setmode-zero");
  Expect(host->SetMode(-640, -480, 16) == 0, "SetMode negative refused");
  Act("setmode-negative");
  Expect(host->SetMode(640, 480, 13) == 0, "SetMode 13 bits refused");
  Act("setmode-odd-depth");
  Expect(host->SetMode(INT_MAX, INT_MAX, 32) == 0, "SetMode huge refused");
  Act("setmode-huge");
  Expect(host->SetMode(640, 480, 32) == 1, "first SetMode set");
  Expect(host->SetMode(640, 480, 16) == 1, "second SetMode set");
  Act("setmode-twice");
}

void BadImages(VImg **tileset) {
  const std::string bmp = Env("VANTREL_HOSTILE_BMP", "tiles.bmp");
  *tileset = host->AddImage(bmp.c_str(), IMG_LOAD);
  Expect(*tileset != nullptr, "the tileset loads");
  Expect(host->AddImage(nullptr, IMG_LOAD) == nullptr, "null name refused");
  Act("addimage-null-name");
  const std::string longName(300, 'x');
  Expect(host->AddImage(longName.c_str(), IMG_LOAD) == nullptr, "300-char name refused");
  Act("addimage-300-char-name");
  const std::string longest(255, 'y'); // fits the record with its terminator
  Expect(host->AddImage(longest.c_str(), IMG_LOAD) == nullptr, "255-char name not found");
  Act("addimage-255-char-name");
  Expect(host->AddImage("no-such-file.bmp", IMG_LOAD) == nullptr, "missing file refused");
  Act("addimage-missing-file");
  Expect(host->AddImage(Env("VANTREL_HOSTILE_NOT_BMP", "hostile.log"), IMG_LOAD) == nullptr,
         "not a bitmap refused");
  Act("addimage-not-a-bitmap");
  Expect(host->AddImage(bmp.c_str(), 12345) == nullptr, "odd load flag not loaded");
  Act("addimage-odd-flag");
  const int many = std::atoi(Env("VANTREL_HOSTILE_IMAGES", "10000"));
  int loaded = 0;
  for (int i = 0; i < many; ++i) {
    loaded += host->AddImage(bmp.c_str(), IMG_LOAD) != nullptr ? 1 : 0;
  }
  Expect(loaded == many, "every one of the many images loads");
  Act("addimage-10000");
}

void BadScene(VImg *tileset) {
  // NewLayer many times: the host keeps only the last in prog.layers.
  for (int i = 0; i < 1000; ++i) {
    layers.push_back(host->NewLayer(0));
    Expect(layers.back() != nullptr, "NewLayer answers a layer");
  }
  Expect(host->layers == layers.back(), "prog.layers holds the last new layer");
  Act("newlayer-1000");
  VLayer *top = host->layers;

  // A layer without a map, holding sprites.
  auto *noMap = new VLayer();
  layers.push_back(noMap);
  top->next = noMap;
  Act("layer-without-map");

  // A map whose view runs far past its small cell array.
  auto *wide = new VMap(2, 2, 0, MAP_SHOWN, 0, 0, 4294967295u, 4294967295u, 16, 16, 0);
  maps.push_back(wide);
  top->map = wide;
  Act("viewcols-4294967295");

  // A map with negative counts (no cells) and hostile tile sizes and positions.
  auto *neg = new VMap(-3, 5, 0, MAP_SHOWN, INT_MIN, INT_MAX, 3, 3, -16, -16, 0);
  maps.push_back(neg);
  Expect(neg->cells == nullptr && neg->Alloc() == MAP_NOMEM, "negative cell count refused");
  auto *negLayer = new VLayer();
  layers.push_back(negLayer);
  negLayer->map = neg;
  noMap->next = negLayer;
  Act("negative-map-counts");
  auto *huge = new VMap(3, 3, 0, MAP_SHOWN, -100, -100, 3, 3, INT_MAX, INT_MIN, 0);
  maps.push_back(huge);
  if (huge->cells != nullptr) {
    huge->cells[4].tileCol = INT_MAX;
    huge->cells[4].tileRow = INT_MIN;
  }
  auto *hugeLayer = new VLayer();
  layers.push_back(hugeLayer);
  hugeLayer->map = huge;
  negLayer->next = hugeLayer;
  Act("huge-tile-sizes");

  // A map that claims cells it never allocated.
  auto *hollow = new VMap();
  maps.push_back(hollow);
  hollow->cols = 4;
  hollow->rows = 4;
  hollow->viewCols = 4;
  hollow->viewRows = 4;
  hollow->tileW = 16;
  hollow->tileH = 16;
  auto *hollowLayer = new VLayer();
  layers.push_back(hollowLayer);
  hollowLayer->map = hollow;
  hugeLayer->next = hollowLayer;
  Act("map-without-cells");

  // Every layer NewLayer made, chained behind the others: the render pass
  // walks a thousand empty layers each frame.
  VLayer *tail = hollowLayer;
  for (size_t i = 0; i + 1 < 1000; ++i) {
    tail->next = layers[i];
    tail = layers[i];
  }
  Act("chain-1000-layers");

  // Sprites with failed, missing and hostile images and rectangles.
  VImg *failed = host->ihead != nullptr ? host->ihead->next : nullptr; // the null-name image
  noMap->Add(3, 0, 0)->sprite = NewSprite(failed, 0, 0, 8, 8, 10, 10, 8, 8);
  Act("sprite-with-failed-image");
  noMap->Add(4, 0, 0)->sprite = NewSprite(nullptr, 0, 0, 8, 8, 10, 10, 8, 8);
  Act("sprite-without-image");
  noMap->Add(5, 0, 0); // a node without a sprite
  Act("node-without-sprite");
  noMap->Add(6, 0, 0)->sprite = NewSprite(tileset, -50, -50, -8, -8, -20, -20, -30, -30);
  Act("negative-rectangles");
  noMap->Add(7, 0, 0)->sprite =
      NewSprite(tileset, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  Act("extreme-rectangles");
  noMap->Add(8, 0, 0)->sprite = NewSprite(tileset, 0, 0, 1, 1, 0, 0, 640, 480);
  Act("stretch-1x1-to-screen");
  noMap->Add(9, 0, 0)->sprite = NewSprite(tileset, 0, 0, 100000, 100000, 5, 5, 100000, 100000);
  Act("source-past-image");
  // Image records the module made itself instead of asking AddImage: one
  // without a holder, one whose holder has no surface.
  ownImages.push_back(new VImg(nullptr, "made-up.bmp", IMG_LOAD));
  ownImages.push_back(new VImg(new VSurf(), "made-up.bmp", IMG_LOAD));
  noMap->Add(12, 0, 0)->sprite = NewSprite(ownImages[0], 0, 0, 8, 8, 30, 30, 8, 8);
  noMap->Add(13, 0, 0)->sprite = NewSprite(ownImages[1], 0, 0, 8, 8, 40, 40, 16, 16);
  Act("sprite-with-module-made-image");

  // List misuse the library refuses.
  VNode *n = noMap->Add(10, 0, 0);
  n->Unlink();
  n->Unlink();
  Act("unlink-twice");
  Expect(n->MoveTo(top) == NODE_NOLAYER && top->first == nullptr, "MoveTo after Unlink refused");
  Act("moveto-after-unlink");
  Expect(n->SetDepth(-7) == -7 && !n->IsLinked(), "SetDepth on an unlinked node only stores");
  Act("setdepth-unlinked");
  VNode *m = noMap->Add(11, 0, 0);
  Expect(m->MoveTo(nullptr) == NODE_NOLAYER && m->IsLinked(), "MoveTo(null) refused");
  Act("moveto-null");
  auto *loose = new VNode(noMap, 1, 0); // owner set, never linked
  loose->Unlink();
  Expect(loose->MoveTo(top) == NODE_NOLAYER && top->first == nullptr,
         "MoveTo of a never linked node refused");
  Act("unlinked-owner-node");
  freeNodes.push_back(n);
  freeNodes.push_back(loose);

  // The callbacks called straight with the hostile records.
  Expect(host->DrawMap(wide) == 1 && host->DrawMap(neg) == 1 && host->DrawMap(huge) == 1,
         "DrawMap answers 1");
  for (VSprite *s : sprites) {
    Expect(host->DrawSprite(s) == 1, "DrawSprite answers 1");
  }
  Act("direct-draws");
}

// The images were made for a 16-bit mode; a 32-bit mode under them makes
// every blit from them one between different pixel formats.
void ModeUnderImages() {
  Expect(host->SetMode(640, 480, 32) == 1, "SetMode under loaded images");
  Act("setmode-under-loaded-images");
}

// Where the module bent its chains into loops, to mend them before it frees
// its records (its own walks would not end either).
VNode *bentNode = nullptr;
VLayer *bentLayer = nullptr;

// Chains that loop back on themselves and a view that has no columns but
// four billion rows: every frame from now on walks them, and must end.
void Loops() {
  auto *flat = new VMap(2, 2, 0, MAP_SHOWN, 0, 0, 0, 4294967295u, 16, 16, 0);
  maps.push_back(flat);
  Expect(host->DrawMap(flat) == 1, "DrawMap of a view without columns answers 1");
  auto *flatLayer = new VLayer();
  layers.push_back(flatLayer);
  flatLayer->map = flat;
  VLayer *last = host->layers;
  while (last->next != nullptr) {
    last = last->next;
  }
  last->next = flatLayer;
  Act("view-0-by-4294967295");

  // The sprites of the second layer: the last node points back to the first.
  VLayer *second = host->layers->next;
  VNode *tail = second->first;
  while (tail != nullptr && tail->next != nullptr) {
    tail = tail->next;
  }
  if (tail != nullptr) {
    tail->next = second->first;
    bentNode = tail;
  }
  Act("node-chain-loop");

  // The last layer points back to the first.
  flatLayer->next = host->layers;
  bentLayer = flatLayer;
  Act("layer-chain-loop");

  // The host's image list: the last image points back to the first, then
  // one more image is asked for.
  VImg *lastImage = host->ihead;
  while (lastImage->next != nullptr) {
    lastImage = lastImage->next;
  }
  lastImage->next = host->ihead;
  Expect(host->AddImage(Env("VANTREL_HOSTILE_BMP", "tiles.bmp"), IMG_LOAD) == nullptr,
         "AddImage over a looped image list refused");
  Act("image-list-loop");
}

void FreeEverything() {
  // The host frees no scene record: the module frees what it built. Nodes
  // still in lists are freed by walking each layer, once the loops are mended.
  if (bentNode != nullptr) {
    bentNode->next = nullptr;
  }
  if (bentLayer != nullptr) {
    bentLayer->next = nullptr;
  }
  for (VLayer *l : layers) {
    if (l == nullptr) {
      continue;
    }
    VNode *node = l->first;
    while (node != nullptr) {
      VNode *next = node->next;
      delete node;
      node = next;
    }
  }
  for (VNode *n : freeNodes) {
    delete n;
  }
  for (VLayer *l : layers) {
    delete l;
  }
  for (VMap *m : maps) {
    delete m;
  }
  for (VSprite *s : sprites) {
    delete s;
  }
  for (VImg *i : ownImages) {
    delete i;
  }
  ownImages.clear();
  layers.clear();
  maps.clear();
  sprites.clear();
  freeNodes.clear();
  if (host != nullptr) {
    host->layers = nullptr;
  }
}

} // namespace

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *prog) {
  host = prog;
  logFile = std::fopen(Env("VANTREL_HOSTILE_LOG", "hostile.log"), "w");
  BeforeMode();
  return 1;
}

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t /*elapsedMs*/) {
  switch (host->event.code) {
  case EV_INIT:
    return 1; // a non-zero answer to EV_INIT, before any mode: must draw nothing
  case EV_SHUTDOWN:
    FreeEverything();
    if (logFile != nullptr) {
      std::fprintf(logFile, "acts %d frames %d\n", acts, frames);
      std::fclose(logFile);
      logFile = nullptr;
    }
    return 1;
  default:
    break;
  }
  ++frames;
  if (frames == 1) {
    Act("nonzero-answer-before-mode");
    return 1; // the render pass runs before any mode exists
  }
  if (frames == 2) {
    BadModes();
    VImg *tileset = nullptr;
    BadImages(&tileset);
    BadScene(tileset);
    Expect(host->Report(nullptr) == 1, "Report answers 1");
    Act("report-null-text");
  }
  if (frames == 3) {
    ModeUnderImages();
  }
  if (frames == 4) {
    Expect(host->SetMode(640, 480, 16) == 1, "SetMode back");
    Act("setmode-back");
    Loops();
    Act("done");
  }
  return 1;
}
