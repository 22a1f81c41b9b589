// corpus_module.cpp - a game module that hands the host a list of bitmap
// files and draws every one that loads.
//
// On its first call it sets 640 x 480 x 32, adds the good tileset tiles.bmp
// (so it is the head of the image list and every later failure gets the
// ordinary "Error!" box), then adds each file named in corpus.txt (one
// relative path a line, in that order) with IMG_LOAD. It writes what the host
// answered to corpus-result.txt in the current folder:
//
//   setmode 640 480 32 -> 1
//   tileset ok 128 64
//   ok g\rgb24.bmp 127 64 boxes 0   (the image and its size as the host read it)
//   null q\pal1huffmsb.bmp boxes 1 (AddImage answered null; the first box)
//   loaded 70 of 87
//   frame drawn 71 sprites 71       (after the first frame: images, sprites drawn)
//
// "boxes N" is the number of lines in boxes.txt, the log the test's box
// watcher keeps in the same folder, once AddImage has returned: the watcher
// writes a box down before it answers it, so a box shown by that call is
// already counted, and the test can tell which file each box belongs to.
//
// Every idle call draws each loaded image (the tileset first) into its own
// 64 x 60 cell of a 10-column grid, scaled to fit 60 x 56 with its aspect
// kept, and asks for the frame to be shown. The cell of the n-th drawn image
// has its top-left corner at (64 * (n % 10), 60 * (n / 10)); the image sits
// 2 pixels in from it.
#include "vantrel.h"

#include <cstdio>
#include <cstring>

VANTREL_EXPORTS

namespace {

constexpr int kMaxImages = 128;
constexpr int kColumns = 10;
constexpr int kCellW = 64;
constexpr int kCellH = 60;
constexpr int kInset = 2;

VProg *prog = nullptr;
FILE *out = nullptr;
VImg *drawn[kMaxImages] = {};
int drawnCount = 0;
bool frameNoted = false;

void Line(const char *text) {
  if (out != nullptr) {
    std::fputs(text, out);
    std::fputc('\n', out);
    std::fflush(out);
  }
}

// Width and height of a loaded image, or 0 when it has no usable surface.
bool SizeOf(const VImg *image, int *w, int *h) {
  if (image == nullptr || image->surf == nullptr || image->surf->surface == nullptr) {
    return false;
  }
  *w = image->surf->width;
  *h = image->surf->height;
  return *w > 0 && *h > 0;
}

void Keep(VImg *image) {
  if (image != nullptr && drawnCount < kMaxImages) {
    drawn[drawnCount++] = image;
  }
}

// Lines written so far to the box watcher's log (0 when it has none).
int BoxesLogged() {
  FILE *log = std::fopen("boxes.txt", "rb");
  if (log == nullptr) {
    return 0;
  }
  int lines = 0;
  for (int c = std::fgetc(log); c != EOF; c = std::fgetc(log)) {
    lines += c == '\n' ? 1 : 0;
  }
  std::fclose(log);
  return lines;
}

void Note(const char *file, const VImg *image) {
  char text[600];
  int w = 0;
  int h = 0;
  const int boxes = BoxesLogged();
  if (image == nullptr) {
    std::snprintf(text, sizeof text, "null %s boxes %d", file, boxes);
  } else if (SizeOf(image, &w, &h)) {
    std::snprintf(text, sizeof text, "ok %s %d %d boxes %d", file, w, h, boxes);
  } else {
    std::snprintf(text, sizeof text, "ok %s no-surface boxes %d", file, boxes);
  }
  Line(text);
}

void LoadAll() {
  char text[600];
  std::snprintf(text, sizeof text, "setmode 640 480 32 -> %d", prog->SetMode(640, 480, 32));
  Line(text);

  VImg *tiles = prog->AddImage("tiles.bmp", IMG_LOAD);
  int w = 0;
  int h = 0;
  if (SizeOf(tiles, &w, &h)) {
    std::snprintf(text, sizeof text, "tileset ok %d %d", w, h);
  } else {
    std::snprintf(text, sizeof text, "tileset %s", tiles != nullptr ? "no-surface" : "null");
  }
  Line(text);
  Keep(tiles);

  FILE *list = std::fopen("corpus.txt", "r");
  if (list == nullptr) {
    Line("corpus.txt missing");
    return;
  }
  int total = 0;
  int loaded = 0;
  char file[512];
  while (std::fgets(file, sizeof file, list) != nullptr) {
    file[std::strcspn(file, "\r\n")] = '\0';
    if (file[0] == '\0') {
      continue;
    }
    ++total;
    VImg *image = prog->AddImage(file, IMG_LOAD);
    Note(file, image);
    if (image != nullptr) {
      ++loaded;
      Keep(image);
    }
  }
  std::fclose(list);
  std::snprintf(text, sizeof text, "loaded %d of %d", loaded, total);
  Line(text);
}

// Draws the n-th kept image into its cell; answers DrawSprite's answer, or 0
// when the image has no size to draw.
int DrawCell(int n) {
  int w = 0;
  int h = 0;
  if (!SizeOf(drawn[n], &w, &h)) {
    return 0;
  }
  const int boxW = kCellW - 2 * kInset;
  const int boxH = kCellH - 2 * kInset;
  // Fit w x h into boxW x boxH with the aspect kept (at least one pixel).
  int dstW = boxW;
  int dstH = static_cast<int>(static_cast<long long>(h) * boxW / w);
  if (dstH > boxH) {
    dstH = boxH;
    dstW = static_cast<int>(static_cast<long long>(w) * boxH / h);
  }
  dstW = dstW < 1 ? 1 : dstW;
  dstH = dstH < 1 ? 1 : dstH;
  VSprite sprite(drawn[n], 0, 0, w, h, kCellW * (n % kColumns) + kInset,
                 kCellH * (n / kColumns) + kInset, dstW, dstH, SPR_SHOWN);
  return prog->DrawSprite(&sprite);
}

void DrawFrame() {
  int answered = 0;
  for (int n = 0; n < drawnCount; ++n) {
    answered += DrawCell(n) == 1 ? 1 : 0;
  }
  if (!frameNoted) {
    frameNoted = true;
    char text[64];
    std::snprintf(text, sizeof text, "frame drawn %d sprites %d", drawnCount, answered);
    Line(text);
  }
}

} // namespace

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  out = std::fopen("corpus-result.txt", "w");
  return record != nullptr ? 1 : 0;
}

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t) {
  if (prog == nullptr) {
    return 0;
  }
  switch (prog->event.code) {
  case EV_INIT:
    LoadAll();
    return 1;
  case EV_FRAME:
    DrawFrame();
    return 1;
  case EV_SHUTDOWN:
    Line("shutdown");
    if (out != nullptr) {
      std::fclose(out);
      out = nullptr;
    }
    return 1;
  default:
    return 0;
  }
}
