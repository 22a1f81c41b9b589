// Clipped, colour-keyed blitting of one sprite or one tile map.
#ifndef VANTREL_RENDER_DRAW_H
#define VANTREL_RENDER_DRAW_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// The module's DrawSprite slot and the render pass's sprite draw. Answers 1.
int32_t VANTREL_CDECL DrawSprite(VSprite *sprite);
// The module's DrawMap slot and the render pass's map draw. Answers 1.
int32_t VANTREL_CDECL DrawMap(VMap *map);

} // namespace vantrel

#endif
