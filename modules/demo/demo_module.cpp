// The Vantrel demo: a small game module, and the example to start a module from.
//
// What a module does:
//  - VProgInterface keeps the address of the host's record `prog`.
//  - VProgProcedure is called with prog->event telling why: EV_INIT once at
//    the start, EV_FRAME whenever the host is idle, an input event for every
//    key, pointer move and button, and EV_SHUTDOWN once at the end. It is
//    given the milliseconds since its previous call, and answers non-zero
//    when the host is to draw the scene (prog->layers) and show it.
//  - It calls the host back only through the slots of `prog` (SetMode,
//    AddImage, DrawMap, DrawSprite, Report), and only from inside these two
//    functions.
//
// This demo sets 640 x 480 x 16, loads its two bitmaps, builds a scene of two
// layers (demo_scene.cpp) and then changes it in answer to input, drawing
// about 60 frames a second. Escape is the host's own: it ends the run.
#include "demo_art.h"
#include "demo_layout.h"
#include "demo_scene.h"
#include "frame_pacer.h"
#include "module_path.h"
#include "vantrel.h"

#include <string>

// Declares the two entry points, exported under their plain names.
// clang-format off
VANTREL_EXPORTS
// clang-format on

namespace {

// Windows virtual-key codes, as prog->event.key holds them (low 8 bits).
enum : uint8_t {
  kKeyPageUp = 0x21,   // VK_PRIOR
  kKeyPageDown = 0x22, // VK_NEXT
  kKeyLeft = 0x25,     // VK_LEFT
  kKeyUp = 0x26,       // VK_UP
  kKeyRight = 0x27,    // VK_RIGHT
  kKeyDown = 0x28,     // VK_DOWN
  kKeyH = 0x48,        // 'H'
  kKeyPadPlus = 0x6B,  // VK_ADD
  kKeyPadMinus = 0x6D, // VK_SUBTRACT
  kKeyF1 = 0x70,       // VK_F1
  kKeyPlus = 0xBB,     // VK_OEM_PLUS, the =/+ key
  kKeyMinus = 0xBD,    // VK_OEM_MINUS, the -/_ key
};

constexpr const char *kHelp = "Vantrel demo\n"
                              "\n"
                              "Arrow keys: scroll the background\n"
                              "H: hide or show the foreground\n"
                              "Left click: drop a sprite (64 at most, then the oldest moves)\n"
                              "Right click: move the sprite under the pointer to the other layer\n"
                              "Page Up or +: raise the sprite under the pointer\n"
                              "Page Down or -: lower the sprite under the pointer\n"
                              "F1: this help\n"
                              "Escape: quit";

VProg *prog = nullptr;                  // the host's record, valid for the whole run
demo::Scene *scene = nullptr;           // null until the start succeeded, and after the end
demo::FramePacer pacer;                 // answers "draw" about 60 times a second
uint32_t clockMs = 0;                   // time since the start, for the animation
int32_t pointerX = demo::kCursorStartX; // the pointer as the last move left it
int32_t pointerY = demo::kCursorStartY;

// EV_INIT: the display mode first (images take its pixel format), then the
// tileset (the first image is every map's tileset), then the sprites.
void Start() {
  if (prog->SetMode(demo::kScreenW, demo::kScreenH, demo::kScreenBpp) == 0) {
    return; // the host has shown why; without a mode there is nothing to draw
  }
  const std::string tilesPath = demo::PathNextToModule(demo::kTilesFile);
  const std::string spritesPath = demo::PathNextToModule(demo::kSpritesFile);
  VImg *tiles = prog->AddImage(tilesPath.c_str(), IMG_LOAD);
  VImg *sprites = tiles != nullptr ? prog->AddImage(spritesPath.c_str(), IMG_LOAD) : nullptr;
  if (tiles == nullptr || sprites == nullptr) {
    prog->Report("The demo needs tiles.bmp and sprites.bmp next to prog.dll.");
    return;
  }
  scene = demo::BuildScene(prog, sprites);
  if (scene == nullptr) {
    prog->Report("The demo ran out of memory while building its scene.");
  }
}

// EV_SHUTDOWN: the scene is ours to free; the host frees only its images.
// Whatever comes after it (the host may go on after a failed display
// restore) finds no scene and draws nothing.
void Stop() {
  demo::FreeScene(prog, scene);
  scene = nullptr;
}

void OnKeyDown(uint8_t key) {
  switch (key) {
  case kKeyLeft: // the view moves left, so the map moves right
    demo::ScrollBackground(*scene, demo::kScrollStep, 0);
    break;
  case kKeyRight:
    demo::ScrollBackground(*scene, -demo::kScrollStep, 0);
    break;
  case kKeyUp:
    demo::ScrollBackground(*scene, 0, demo::kScrollStep);
    break;
  case kKeyDown:
    demo::ScrollBackground(*scene, 0, -demo::kScrollStep);
    break;
  case kKeyH:
    demo::ToggleForeground(*scene);
    break;
  case kKeyPageUp:
  case kKeyPadPlus:
  case kKeyPlus:
    if (VNode *node = demo::TopmostAt(*scene, pointerX, pointerY)) {
      demo::Raise(*scene, node);
    }
    break;
  case kKeyPageDown:
  case kKeyPadMinus:
  case kKeyMinus:
    if (VNode *node = demo::TopmostAt(*scene, pointerX, pointerY)) {
      demo::Lower(node);
    }
    break;
  case kKeyF1:
    prog->Report(kHelp); // a modal box: the host waits until it is closed
    break;
  default:
    break;
  }
}

// One input event or idle turn.
void OnEvent(const VEvent &event) {
  switch (event.code) {
  case EV_KEYDOWN: // repeats while a key is held
    OnKeyDown(event.key);
    break;
  case EV_MOUSEMOVE:
    pointerX = event.mouseX;
    pointerY = event.mouseY;
    demo::MoveCursor(*scene, pointerX, pointerY);
    break;
  case EV_LBUTTONDOWN: // buttons carry no position: the last move's holds
    demo::DropSprite(*scene, pointerX, pointerY);
    break;
  case EV_RBUTTONDOWN:
    if (VNode *node = demo::TopmostAt(*scene, pointerX, pointerY)) {
      demo::SwapLayer(*scene, node);
    }
    break;
  default: // EV_FRAME, key-ups and button-ups change nothing
    break;
  }
}

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *p) {
  if (p == nullptr) {
    return 0; // refuse: the host then shuts down
  }
  prog = p;
  prog->version = MODULE_VERSION_MAX; // written against this SDK
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  if (prog == nullptr) {
    return 0;
  }
  if (prog->event.code == EV_INIT) {
    if (scene == nullptr) {
      Start();
    }
    return 0; // the host draws nothing for EV_INIT anyway
  }
  if (prog->event.code == EV_SHUTDOWN) {
    Stop();
    return 0;
  }
  if (scene == nullptr) {
    return 0; // the start failed: never ask for a frame
  }
  OnEvent(prog->event);

  // Every call, input events included, brings elapsed time: the pacer turns
  // it into a frame about every 1/60 s, and the animation follows the clock.
  clockMs += elapsedMs > 0 ? uint32_t(elapsedMs) : 0u;
  if (!demo::PaceFrame(pacer, elapsedMs)) {
    return 0;
  }
  demo::PulseStar(*scene, clockMs);
  return 1;
}
