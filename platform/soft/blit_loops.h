// blit_loops.h - the pixel loops behind BltFast and Blt.
//
// The device validates the rectangles and formats and then hands the loops
// two pixel areas that lie wholly inside their surfaces and never overlap.
// Each loop works for 1, 2, 3 and 4 bytes per pixel. A set of loops is one
// BlitLoops record, so faster variants of the same loops can sit beside the
// portable ones and be chosen once.
#ifndef VANTREL_PLATFORM_SOFT_BLIT_LOOPS_H
#define VANTREL_PLATFORM_SOFT_BLIT_LOOPS_H

#include <cstdint>

namespace soft {

// A rectangle of pixels: `pixels` is its top-left pixel, `pitch` the bytes
// from one row to the next.
struct PixelArea {
  uint8_t *pixels;
  int64_t pitch;
  int32_t width;
  int32_t height;
};

struct ConstPixelArea {
  const uint8_t *pixels;
  int64_t pitch;
  int32_t width;
  int32_t height;
};

struct BlitLoops {
  // Same-size copy (dst takes src's size).
  void (*copy)(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes);
  // Same-size copy that skips source pixels equal to `key`.
  void (*copyKeyed)(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, uint32_t key);
  // Scales src to fill dst, sampling the source pixel nearest to the centre
  // of each destination pixel; with `keyed`, source pixels equal to `key`
  // are skipped.
  void (*stretch)(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
                  uint32_t key);
};

// Plain C++ loops, correct on every platform.
const BlitLoops &PortableBlitLoops();

// The loops the device uses, chosen on first use: for each operation and
// pixel size, the variant measured fastest among those this processor runs
// (not simply the widest instruction set).
const BlitLoops &ActiveBlitLoops();

// The operations whose loop is chosen per pixel size.
enum class BlitOp { KeyedCopy, Stretch };

// The name of the variant ActiveBlitLoops uses for `op` on `bytes`-byte
// pixels (1 to 4); "portable" for any other size.
const char *ActiveBlitVariant(BlitOp op, int32_t bytes);

// A variant compiled into this build, and whether this processor can run it.
struct BlitLoopVariant {
  const char *name; // "portable", "sse2", "avx2"
  const BlitLoops *loops;
  bool runs;
};

// Every variant of this build, the portable one first; `count` receives their
// number.
const BlitLoopVariant *BlitLoopVariants(int32_t *count);

} // namespace soft

#endif
