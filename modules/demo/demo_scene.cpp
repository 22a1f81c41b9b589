// The demo's scene: building it, changing it between calls, freeing it.
#include "demo_scene.h"

#include <cstdio>
#include <new>

namespace demo {
namespace {

// A 32 x 32 sprite showing `frame` of sprites.bmp with its top-left corner at
// (x, y), drawn unscaled.
VSprite FrameSprite(VImg *sprites, int32_t frame, int32_t x, int32_t y) {
  return VSprite(sprites, frame * kFrameSize, 0, kFrameSize, kFrameSize, x, y, kFrameSize,
                 kFrameSize, SPR_SHOWN);
}

// Puts an actor's sprite into a layer at a depth. False when memory ran out.
bool Place(Actor &actor, VLayer *layer, int32_t depth) {
  actor.node = layer->Add(depth, 0, 0);
  if (actor.node == nullptr) {
    return false;
  }
  actor.node->sprite = &actor.sprite;
  return true;
}

// A map of cols x rows tiles at (0, 0) that draws all of its cells, its tiles
// chosen by `tileOf`. Null when memory ran out.
VMap *NewMap(int32_t cols, int32_t rows, Tile (*tileOf)(int32_t col, int32_t row)) {
  // The full constructor: cols, rows, fill, state, x, y, viewCols, viewRows,
  // tileW, tileH, extra. The host draws viewCols x viewRows cells in array
  // order, so a map that is drawn whole has viewCols = cols and
  // viewRows = rows, and is scrolled by moving x and y.
  VMap *map = new (std::nothrow)
      VMap(cols, rows, 0, MAP_SHOWN, 0, 0, uint32_t(cols), uint32_t(rows), kTileSize, kTileSize, 0);
  if (map == nullptr) {
    return nullptr;
  }
  if (map->cells == nullptr) { // the constructor reports a failed cell array this way
    delete map;
    return nullptr;
  }
  for (int32_t row = 0; row < rows; ++row) {
    for (int32_t col = 0; col < cols; ++col) {
      const Tile tile = tileOf(col, row);
      VCell &cell = map->cells[row * cols + col];
      cell.tileCol = tile.col;
      cell.tileRow = tile.row;
    }
  }
  return map;
}

Tile BackTileOf(int32_t col, int32_t row) { return BackgroundTile(col, row); }
Tile FrontTileOf(int32_t col, int32_t row) { return ForegroundTile(col, row); }

void ShowScore(Scene &scene) {
  char text[kScoreChars + 1];
  std::snprintf(text, sizeof text, "SCORE %06d", static_cast<int>(scene.score));
  scene.scoreText.Set(text); // always 12 characters: nothing is allocated
}

} // namespace

Scene *BuildScene(VProg *prog, VImg *sprites, VImg *font) {
  Scene *scene = new (std::nothrow) Scene();
  if (scene == nullptr) {
    return nullptr;
  }
  // The first layer comes from the library's NewLayer, which stores it in
  // prog->layers; further layers are chained through `next`.
  VLayer *back = prog->NewLayer(0);
  VLayer *front = new (std::nothrow) VLayer();
  VLayer *hud = new (std::nothrow) VLayer();
  scene->sprites = sprites;
  scene->layers[kBackLayer] = back;
  scene->layers[kFrontLayer] = front;
  scene->hud = hud;
  if (back == nullptr || front == nullptr || hud == nullptr) {
    FreeScene(prog, scene);
    return nullptr;
  }
  back->next = front;
  front->next = hud;

  // Every layer the host walks must carry a map.
  scene->backMap = NewMap(kBackCols, kBackRows, BackTileOf);
  scene->frontMap = NewMap(kForeCols, kForeRows, FrontTileOf);
  scene->hudMap = new (std::nothrow) VMap();
  back->map = scene->backMap;
  front->map = scene->frontMap;
  hud->map = scene->hudMap;
  bool ok = scene->backMap != nullptr && scene->frontMap != nullptr && scene->hudMap != nullptr;
  if (ok) {
    scene->hudMap->state = HIDDEN; // the hud layer draws only its sprites
    VFont vantrelFont;             // the defaults describe vantrel-font.bmp
    vantrelFont.image = font;
    scene->scoreText.SetFont(vantrelFont);
    ok = scene->scoreText.Place(hud, kScoreDepth, kScoreX, kScoreY, kScoreScale);
    ShowScore(*scene);
    ok = ok && scene->scoreText.Length() == kScoreChars;
  }

  for (int32_t i = 0; ok && i < kStartSpriteCount; ++i) {
    const Placement &p = kStartSprites[i];
    scene->start[i].sprite = FrameSprite(sprites, p.frame, p.x, p.y);
    ok = Place(scene->start[i], scene->layers[p.layer], p.depth);
  }
  if (ok) {
    scene->star.sprite = FrameSprite(sprites, kStar, 0, 0);
    PulseStar(*scene, 0);
    ok = Place(scene->star, front, kPulseDepth);
  }
  if (ok) {
    scene->cursor.sprite = FrameSprite(sprites, kCursor, 0, 0);
    MoveCursor(*scene, kCursorStartX, kCursorStartY);
    ok = Place(scene->cursor, front, kCursorDepth);
  }
  if (!ok) {
    FreeScene(prog, scene);
    return nullptr;
  }
  return scene;
}

void FreeScene(VProg *prog, Scene *scene) {
  if (scene == nullptr) {
    return;
  }
  // First take the scene away from the host, then free it.
  if (prog != nullptr && prog->layers == scene->layers[kBackLayer]) {
    prog->layers = nullptr;
  }
  // The score's nodes and sprites are the text's own; every other node of
  // the scene sits in one of the two lists: free them by list.
  scene->scoreText.Remove();
  for (VLayer *layer : scene->layers) {
    if (layer == nullptr) {
      continue;
    }
    VNode *node = layer->first;
    while (node != nullptr) {
      VNode *next = node->next;
      delete node;
      node = next;
    }
    delete layer;
  }
  delete scene->hud;
  delete scene->backMap; // a map frees its own cell array
  delete scene->frontMap;
  delete scene->hudMap;
  delete scene; // the sprites live inside the scene record
}

void ScrollBackground(Scene &scene, int32_t dx, int32_t dy) {
  scene.backMap->x = ClampMapX(scene.backMap->x + dx);
  scene.backMap->y = ClampMapY(scene.backMap->y + dy);
}

void ToggleForeground(Scene &scene) {
  // Only HIDDEN keeps a map from being drawn; any other state shows it.
  scene.frontMap->state = scene.frontMap->state == HIDDEN ? MAP_SHOWN : HIDDEN;
}

void MoveCursor(Scene &scene, int32_t x, int32_t y) {
  scene.cursor.sprite.dstX = x - kCursorHotX;
  scene.cursor.sprite.dstY = y - kCursorHotY;
}

void PulseStar(Scene &scene, uint32_t clockMs) {
  // A destination size different from the source size makes the host
  // stretch the sprite; at 32 x 32 it is copied unscaled.
  const int32_t size = PulseSize(clockMs);
  VSprite &s = scene.star.sprite;
  s.dstW = size;
  s.dstH = size;
  s.dstX = kPulseX - size / 2;
  s.dstY = kPulseY - size / 2;
}

VNode *TopmostAt(const Scene &scene, int32_t x, int32_t y) {
  // What is drawn last lies on top: the front layer before the back one, and
  // in each layer from the last (deepest) node back to the first.
  for (int32_t l = kFrontLayer; l >= kBackLayer; --l) {
    for (VNode *n = scene.layers[l]->last; n != nullptr; n = n->prev) {
      if (n == scene.cursor.node || n->sprite == nullptr || n->sprite->state == HIDDEN) {
        continue;
      }
      if (VRectContainsPoint(VSpriteRect(*n->sprite), x, y)) {
        return n;
      }
    }
  }
  return nullptr;
}

bool DropSprite(Scene &scene, int32_t x, int32_t y) {
  // Balls of every colour and the crate, in turn.
  static constexpr Frame kDropFrames[] = {kRedBall,    kGreenBall, kBlueBall,
                                          kYellowBall, kCyanBall,  kCrate};
  const int32_t slot = scene.nextDrop;
  Actor &drop = scene.drops[slot];
  drop.sprite =
      FrameSprite(scene.sprites, kDropFrames[slot % (sizeof kDropFrames / sizeof kDropFrames[0])],
                  x - kFrameSize / 2, y - kFrameSize / 2);
  VLayer *front = scene.layers[kFrontLayer];
  if (drop.node == nullptr) {
    if (!Place(drop, front, scene.nextDropDepth)) {
      return false;
    }
    ++scene.dropCount;
  } else {
    // The oldest drop is picked up again: back into the front layer if a
    // right click moved it away, then on top of the other drops.
    if (drop.node->owner != front) {
      drop.node->MoveTo(front);
    }
    drop.node->SetDepth(scene.nextDropDepth);
  }
  scene.nextDrop = (slot + 1) % kMaxDrops;
  if (scene.nextDropDepth < kCursorDepth - kDropDepthStep) {
    scene.nextDropDepth += kDropDepthStep;
  }
  return true;
}

void SwapLayer(Scene &scene, VNode *node) {
  VLayer *other = node->owner == scene.layers[kBackLayer] ? scene.layers[kFrontLayer]
                                                          : scene.layers[kBackLayer];
  node->MoveTo(other); // the node keeps its depth in the new list
}

bool Raise(const Scene &scene, VNode *node) {
  VNode *above = node->next;
  if (above == nullptr || above == scene.cursor.node) {
    return false;
  }
  // A node moving up stands before the nodes of its new depth, so one more
  // than the neighbour's depth puts it just over that neighbour.
  node->SetDepth(above->Depth() + 1);
  return true;
}

void AddPoints(Scene &scene, int32_t points) {
  scene.score = scene.score > kMaxScore - points ? kMaxScore : scene.score + points;
  ShowScore(scene);
}

bool Lower(VNode *node) {
  VNode *below = node->prev;
  if (below == nullptr) {
    return false;
  }
  // A node moving down stands after the nodes of its new depth, so one less
  // than the neighbour's depth puts it just under that neighbour. Depths stay
  // at 1 or more: the library keeps lists in order for such depths.
  const int32_t depth = below->Depth() - 1;
  if (depth < 1) {
    return false;
  }
  node->SetDepth(depth);
  return true;
}

} // namespace demo
