// The frame render pass: every visible layer into the back buffer, then flip.
#include "render/render_frame.h"

#include "display/present.h"
#include "module/prog_instance.h"
#include "render/draw.h"

namespace vantrel {

// Layers in chain order (later layers cover earlier ones); within a layer the
// map first, then the sprites from `first` to `last` (ascending depth). Only
// HIDDEN hides. A layer without a map still has its sprites drawn. The back
// buffer is not cleared: what no layer covers keeps its previous pixels.
int32_t RenderFrame() {
  for (VLayer *layer = prog.layers; layer != nullptr; layer = layer->next) {
    if (layer->map != nullptr && layer->map->state != HIDDEN) {
      DrawMap(layer->map);
    }
    for (VNode *node = layer->first; node != nullptr; node = node->next) {
      if (node->sprite != nullptr && node->sprite->state != HIDDEN) {
        DrawSprite(node->sprite);
      }
    }
  }
  Present();
  return 1;
}

} // namespace vantrel
