// hello-module: the smallest game module worth starting from. It sets a
// 640 x 480 x 16 mode, covers it with tiles from hello.bmp and shows one
// sprite that the arrow keys move; F1 shows a help box, Escape (the host's
// own key) ends the run.
//
// hello.bmp is 64 x 32: the sprite on the left (its magenta top-left pixel is
// the colour the host keys out of the whole image), the background tile on
// the right.
#include "vantrel.h"

#include <new>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

// clang-format off
VANTREL_EXPORTS
// clang-format on

namespace {

constexpr int32_t kTile = 32;
constexpr int32_t kCols = 640 / kTile, kRows = 480 / kTile;
constexpr int32_t kStep = 8; // pixels per arrow key press
constexpr uint8_t kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28, kKeyF1 = 0x70;

VProg *prog = nullptr;
VMap *background = nullptr;
VSprite square;
VNode *squareNode = nullptr;

// `file` in this module's own folder, so the module runs from any folder.
std::string NextToModule(const char *file) {
  static const char anchor = 0;
  std::string self;
#if defined(_WIN32)
  HMODULE module = nullptr;
  char name[MAX_PATH];
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         &anchor, &module) &&
      GetModuleFileNameA(module, name, MAX_PATH) < MAX_PATH) {
    self = name;
  }
#else
  Dl_info info{};
  if (dladdr(&anchor, &info) != 0 && info.dli_fname != nullptr) {
    self = info.dli_fname;
  }
#endif
  const std::size_t slash = self.find_last_of("/\\");
  return slash == std::string::npos ? file : self.substr(0, slash + 1) + file;
}

bool Start() {
  if (!prog->SetMode(640, 480, 16)) {
    return false; // the host has shown why
  }
  VImg *image = prog->AddImage(NextToModule("hello.bmp").c_str(), IMG_LOAD);
  if (image == nullptr) {
    return false;
  }
  VLayer *layer = prog->NewLayer(0);
  background =
      new (std::nothrow) VMap(kCols, kRows, 0, MAP_SHOWN, 0, 0, kCols, kRows, kTile, kTile, 0);
  if (layer == nullptr || background == nullptr || background->cells == nullptr) {
    return false;
  }
  for (int32_t i = 0; i < kCols * kRows; ++i) {
    background->cells[i].tileCol = 1; // the right half of hello.bmp
  }
  layer->map = background;
  square = VSprite(image, 0, 0, kTile, kTile, 304, 224, kTile, kTile, SPR_SHOWN);
  squareNode = layer->Add(0, 0, 0);
  if (squareNode == nullptr) {
    return false;
  }
  squareNode->sprite = &square;
  return true;
}

void Stop() {
  if (prog->layers != nullptr) {
    delete prog->layers->first; // the one node
    delete prog->layers;
    prog->layers = nullptr;
  }
  delete background;
  background = nullptr;
}

// Moves the square for an arrow key; false for any other key.
bool Move(uint8_t key) {
  switch (key) {
  case kKeyLeft:
    square.dstX -= kStep;
    return true;
  case kKeyRight:
    square.dstX += kStep;
    return true;
  case kKeyUp:
    square.dstY -= kStep;
    return true;
  case kKeyDown:
    square.dstY += kStep;
    return true;
  default:
    return false;
  }
}

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *p) {
  prog = p;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t /*elapsedMs*/) {
  switch (prog->event.code) {
  case EV_INIT:
    Start();
    return 0;
  case EV_SHUTDOWN:
    Stop();
    return 0;
  case EV_KEYDOWN:
    if (prog->event.key == kKeyF1) {
      prog->Report("hello-module\n\nArrow keys: move the square\nEscape: quit");
      return 1;
    }
    return Move(prog->event.key) ? 1 : 0;
  case EV_FRAME:
    return prog->layers != nullptr ? 1 : 0; // draw once the scene stands
  default:
    return 0;
  }
}
