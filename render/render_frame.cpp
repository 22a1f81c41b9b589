// The frame render pass: every visible layer into the back buffer, then flip.
#include "render/render_frame.h"

#include "display/present.h"
#include "host/cycle_guard.h"
#include "host/say_why.h"
#include "module/prog_instance.h"
#include "render/draw.h"

namespace vantrel {

namespace {

// The layer's sprites from `first` on, ascending depth. A list the module has
// bent into a loop is walked until the walk meets a node again.
void DrawSprites(const VLayer *layer) {
  VNode *node = layer->first;
  CycleGuard<VNode> guard(node);
  while (node != nullptr) {
    if (node->sprite != nullptr && node->sprite->state != HIDDEN) {
      DrawSprite(node->sprite);
    }
    node = node->next;
    if (node != nullptr && !guard.Step(node)) {
      SayWhy(Why::NodeChainLoops);
      return;
    }
  }
}

} // namespace

// Layers in chain order (later layers cover earlier ones); within a layer the
// map first, then the sprites from `first` to `last` (ascending depth). Only
// HIDDEN hides. A layer without a map still has its sprites drawn. The back
// buffer is not cleared: what no layer covers keeps its previous pixels.
// Neither chain can keep the pass from ending: a loop is noticed and ends
// the walk (the layers or sprites already drawn stay drawn).
int32_t RenderFrame() {
  VLayer *layer = prog.layers;
  CycleGuard<VLayer> guard(layer);
  while (layer != nullptr) {
    if (layer->map != nullptr && layer->map->state != HIDDEN) {
      DrawMap(layer->map);
    }
    DrawSprites(layer);
    layer = layer->next;
    if (layer != nullptr && !guard.Step(layer)) {
      SayWhy(Why::LayerChainLoops);
      break;
    }
  }
  Present();
  return 1;
}

} // namespace vantrel
