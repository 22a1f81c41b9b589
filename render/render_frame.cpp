// The frame render pass: every visible layer into the back buffer, then flip.
#include "render/render_frame.h"

#include "base/cycle_guard.h"
#include "base/say_why.h"
#include "display/present.h"
#include "module/prog_instance.h"
#include "render/draw.h"

namespace vantrel {

namespace {

// The layer's sprites from `first` on, ascending depth. A list the module has
// bent into a loop is drawn once per node, in list order: the walk stops
// before the first node it would meet again.
void DrawSprites(const VLayer *layer) {
  VNode *node = layer->first;
  const uint64_t limit = DistinctBeforeLoop(node, [](const VNode *n) { return n->next; });
  for (uint64_t drawn = 0; node != nullptr && drawn < limit; ++drawn, node = node->next) {
    if (node->sprite != nullptr && node->sprite->state != HIDDEN) {
      DrawSprite(node->sprite);
    }
  }
  if (limit != kNoLoop) {
    SayWhy(Why::NodeChainLoops);
  }
}

} // namespace

// Layers in chain order (later layers cover earlier ones); within a layer the
// map first, then the sprites from `first` to `last` (ascending depth). Only
// HIDDEN hides. A layer without a map still has its sprites drawn. The back
// buffer is not cleared: what no layer covers keeps its previous pixels.
// Neither chain can keep the pass from ending: a chain bent into a loop is
// drawn once per record, in chain order, up to the first record met again.
int32_t RenderFrame() {
  VLayer *layer = prog.layers;
  const uint64_t limit = DistinctBeforeLoop(layer, [](const VLayer *l) { return l->next; });
  for (uint64_t drawn = 0; layer != nullptr && drawn < limit; ++drawn, layer = layer->next) {
    if (layer->map != nullptr && layer->map->state != HIDDEN) {
      DrawMap(layer->map);
    }
    DrawSprites(layer);
  }
  if (limit != kNoLoop) {
    SayWhy(Why::LayerChainLoops);
  }
  Present();
  return 1;
}

} // namespace vantrel
