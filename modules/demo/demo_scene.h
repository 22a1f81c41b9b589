// demo_scene.h - the demo's scene: two layers, two maps and their sprites.
//
// Everything here belongs to the module: it builds the records with the
// scene library, hangs them on prog.layers for the host to draw, changes them
// between calls, and frees them at the end. The host only reads them.
#ifndef VANTREL_DEMO_SCENE_H
#define VANTREL_DEMO_SCENE_H

#include "demo_layout.h"
#include "vantrel.h"
#include "vantrel_kit.h"

namespace demo {

// A sprite record together with the list node that puts it in a layer.
struct Actor {
  VSprite sprite;
  VNode *node = nullptr;
};

struct Scene {
  VLayer *layers[2] = {nullptr, nullptr}; // kBackLayer is drawn first, kFrontLayer over it
  VLayer *hud = nullptr;                  // over both: the score
  VMap *hudMap = nullptr;                 // a HIDDEN map: every layer carries one
  VMap *backMap = nullptr;                // scrolled with the arrow keys
  VMap *frontMap = nullptr;               // hidden and shown with H
  VImg *sprites = nullptr;                // sprites.bmp, borrowed from the host's image list
  Actor start[kStartSpriteCount];         // the sprites of the first frame
  Actor star;                             // the pulsing, stretched sprite
  Actor cursor;                           // follows the pointer
  Actor drops[kMaxDrops];                 // added with the left button
  int32_t dropCount = 0;                  // drops in use
  int32_t nextDrop = 0;                   // the slot the next drop takes
  int32_t nextDropDepth = kFirstDropDepth;
  VText scoreText; // the score's characters, sprites on the hud layer
  int32_t score = 0;
};

// Builds the scene over the loaded images (`font` is vantrel-font.bmp) and
// hangs it on prog->layers. Answers null, with nothing left allocated, when
// memory runs out.
Scene *BuildScene(VProg *prog, VImg *sprites, VImg *font);
// Takes the scene off prog->layers and frees every record of it.
void FreeScene(VProg *prog, Scene *scene);

// Moves the background by (dx, dy) pixels, keeping the screen covered.
void ScrollBackground(Scene &scene, int32_t dx, int32_t dy);
// Hides the foreground map, or shows it again.
void ToggleForeground(Scene &scene);
// Puts the cursor's hot spot on (x, y).
void MoveCursor(Scene &scene, int32_t x, int32_t y);
// Sets the star's size for the animation clock.
void PulseStar(Scene &scene, uint32_t clockMs);

// The node of the topmost visible sprite whose rectangle holds (x, y), the
// cursor excepted; null when there is none.
VNode *TopmostAt(const Scene &scene, int32_t x, int32_t y);
// Adds a sprite centred on (x, y) on top of the front layer; once there are
// kMaxDrops, the oldest one is taken instead. False when memory ran out.
bool DropSprite(Scene &scene, int32_t x, int32_t y);
// Moves a node into the other layer, keeping its depth.
void SwapLayer(Scene &scene, VNode *node);
// Lifts a node just above the next sprite of its layer (never above the
// cursor), or sinks it just below the previous one. False when it was
// already at that end.
bool Raise(const Scene &scene, VNode *node);
bool Lower(VNode *node);
// Adds points to the score (at most kMaxScore) and shows it.
void AddPoints(Scene &scene, int32_t points);

} // namespace demo

#endif // VANTREL_DEMO_SCENE_H
