// probe_module.cpp - a small game module for the desktop end-to-end tests.
//
// It sets 640x480x16, writes its own bitmap file "probe.bmp" into the current
// folder and adds it as the tileset, fills the screen with a map of blue
// tiles (the top-left one red), shows a stretched sprite and a sprite that
// follows the pointer, and answers non-zero on every call, so every idle turn
// draws a frame. M sets its mode once more, N sets 640x480x32: the host must
// bring its image back after either. It reports what it sees on standard error, one line per
// event, for the test driver to read.
//
// Bitmap "probe.bmp", 128x32, four 32x32 tiles:
//   tile 0  magenta (the colour key: the bitmap's top-left pixel)
//   tile 1  blue
//   tile 2  magenta with a yellow 16x16 square at 8..23, 8..23
//   tile 3  red
#include "vantrel.h"

#include <cstdint>
#include <cstdio>
#include <vector>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;
VSprite *follower = nullptr;
uint32_t frames = 0;
uint64_t frameMs = 0;

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kRed = 0xFF0000;

uint32_t TilesetPixel(int x, int y) {
  switch (x / 32) {
  case 0:
    return kMagenta;
  case 1:
    return kBlue;
  case 2: {
    const int tx = x % 32;
    return (tx >= 8 && tx < 24 && y >= 8 && y < 24) ? kYellow : kMagenta;
  }
  default:
    return kRed;
  }
}

void Put16(std::vector<uint8_t> &b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t> &b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A 24-bit bottom-up Windows bitmap file.
bool WriteTileset(const char *path) {
  constexpr int w = 128;
  constexpr int h = 32;
  constexpr uint32_t rowBytes = w * 3; // already a multiple of 4
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + rowBytes * h);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, w);
  Put32(b, h);
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, rowBytes * h);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t rgb = TilesetPixel(x, y);
      b.push_back(static_cast<uint8_t>(rgb));
      b.push_back(static_cast<uint8_t>(rgb >> 8));
      b.push_back(static_cast<uint8_t>(rgb >> 16));
    }
  }
  FILE *f = std::fopen(path, "wb");
  if (f == nullptr) {
    return false;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

void Init() {
  const int32_t mode = prog->SetMode(640, 480, 16);
  const bool written = WriteTileset("probe.bmp");
  VImg *tileset = prog->AddImage("probe.bmp", IMG_LOAD);
  std::fprintf(stderr, "probe: init mode=%d bitmap=%d image=%d\n", mode, written ? 1 : 0,
               tileset != nullptr ? 1 : 0);

  auto *map = new VMap(20, 15, 0, MAP_SHOWN, 0, 0, 20, 15, 32, 32, 0);
  for (int i = 0; i < 20 * 15; ++i) {
    map->cells[i].tileCol = i == 0 ? 3 : 1;
  }
  auto *layer = new VLayer();
  layer->map = map;
  auto *stretched = new VSprite(tileset, 64, 0, 32, 32, 400, 300, 64, 64, SPR_SHOWN);
  layer->Add(0, 1, 0)->sprite = stretched;
  follower = new VSprite(tileset, 64, 0, 32, 32, 304, 224, 32, 32, SPR_SHOWN);
  layer->Add(1, 2, 0)->sprite = follower;
  prog->layers = layer;
}

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  prog->version = 1;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  const VEvent &e = prog->event;
  switch (e.code) {
  case EV_INIT:
    Init();
    break;
  case EV_FRAME:
    ++frames;
    frameMs += static_cast<uint32_t>(elapsedMs);
    if (frames == 100) { // for rate checks: the time the first 100 idle turns took
      std::fprintf(stderr, "probe: frames=%u ms=%llu\n", frames,
                   static_cast<unsigned long long>(frameMs));
    }
    break;
  case EV_MOUSEMOVE:
    follower->dstX = e.mouseX - 16;
    follower->dstY = e.mouseY - 16;
    break;
  case EV_KEYDOWN:
  case EV_KEYUP:
    std::fprintf(stderr, "probe: %s 0x%02x\n", e.code == EV_KEYDOWN ? "keydown" : "keyup", e.key);
    if (e.code == EV_KEYDOWN && (e.key == 'M' || e.key == 'N')) {
      const int32_t bpp = e.key == 'M' ? 16 : 32;
      std::fprintf(stderr, "probe: mode again %d bpp=%d\n", prog->SetMode(640, 480, bpp), bpp);
    }
    break;
  case EV_LBUTTONDOWN:
  case EV_LBUTTONUP:
  case EV_RBUTTONDOWN:
  case EV_RBUTTONUP:
    std::fprintf(stderr, "probe: button %d at %d,%d frames=%u\n", e.code, e.mouseX, e.mouseY,
                 frames);
    break;
  case EV_SHUTDOWN:
    std::fprintf(stderr, "probe: shutdown frames=%u ms=%llu\n", frames,
                 static_cast<unsigned long long>(frameMs));
    break;
  default:
    break;
  }
  return 1;
}
