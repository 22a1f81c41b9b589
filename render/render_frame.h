// The frame render pass.
#ifndef VANTREL_RENDER_RENDER_FRAME_H
#define VANTREL_RENDER_RENDER_FRAME_H

#include <cstdint>

namespace vantrel {

// Draws every visible layer of prog.layers into the back buffer (map, then
// sprites in list order) and presents the frame. Answers 1.
int32_t RenderFrame();

} // namespace vantrel

#endif
