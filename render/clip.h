// Clipping a destination rectangle and its source rectangle to the screen.
#ifndef VANTREL_RENDER_CLIP_H
#define VANTREL_RENDER_CLIP_H

#include "platform/platform.h"

#include <cstdint>

namespace vantrel {

// Wrapping 32-bit arithmetic, as the reference build computes: no signed
// overflow whatever the module stores in its records.
inline int32_t Add32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t Sub32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t Mul32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Clips `dst` to the screen of width w and height h and moves the edges of
// `src` in by the same number of pixels (unscaled, also when the two differ in
// size). The four amounts come from the unclipped `dst` and are applied top,
// bottom, left, right. An edge at exactly 0, w or h is not clipped. The result
// is not tested for emptiness: a rectangle wholly off the screen comes out
// empty or inverted, and the device refuses to draw it.
void ClipToScreen(plat::RECT *dst, plat::RECT *src, int32_t w, int32_t h);

// The same for a stretched blit: each source edge moves in by its clip amount
// times the stretch ratio (source size over destination size, in 64 bits,
// rounded down), so the visible part shows what the whole sprite shows there,
// within one source pixel, and keeps at least one source pixel while any
// destination pixel stays visible. Where a source or destination size is 0 or
// negative there is no ratio, and the edges move as ClipToScreen moves them.
void ClipScaledToScreen(plat::RECT *dst, plat::RECT *src, int32_t w, int32_t h);

} // namespace vantrel

#endif
