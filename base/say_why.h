// Saying why a module's request was refused: one line on the debugger output
// (OutputDebugStringA; standard error on the desktop) per cause and run, in
// words a module author understands. Boxes, results and drawing are left as
// they are; this only adds the reason. Nothing is allocated: each cause has a
// fixed flag, and lines with a subject are formatted on the stack.
#ifndef VANTREL_BASE_SAY_WHY_H
#define VANTREL_BASE_SAY_WHY_H

#include <cstdint>

namespace vantrel {

enum class Why : uint8_t {
  ImageNameMissing,
  ImageNameTooLong,
  ImageNotAskedToLoad,
  ImageNoHolder,
  ImageCannotOpen, // subject: the file name
  ImageNotBitmap,  // subject: the file name
  ImageDepth,      // subject: the file name; number: its bits per pixel
  ImageUnreadable, // subject: the file name
  ImageNoDevice,
  ImageSurfaceRefused, // subject: the file name
  ImageListLoops,
  SpriteMissing,
  SpriteWithoutImage,
  SpriteImageWithoutSurface,
  SpriteEmptySource,
  SpriteSourceOutside,
  MapMissing,
  MapWithoutCells,
  MapWithoutTileset,
  MapViewPastCells,
  DrawBeforeMode,
  LayerChainLoops,
  NodeChainLoops,
  Count
};

// The cause's line, the first time it happens in this run.
void SayWhy(Why cause);
// The same with a subject (a file name) and a number where the line has them.
void SayWhy(Why cause, const char *subject, uint32_t number = 0);
// Whether the cause has been said (for tests).
bool SaidWhy(Why cause);
// Every cause may be said again (part of putting the host back to start).
void ForgetSaidWhy();

} // namespace vantrel

#endif
