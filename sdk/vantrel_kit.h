// vantrel_kit.h - the module kit: what every game writes again, compiled into
// the module with the scene library (scene/*.cpp): text drawn as sprites from
// a grid font, a fixed-step frame pacer, the module's own folder, and
// rectangle tests. It is the module's own code: the host never calls it, and
// nothing here is part of the byte contract of vantrel.h.
//
// The SDK ships a font bitmap for the text, vantrel-font.bmp: the public
// domain "misc-fixed" 8x13 font of X11 (Debian's xfonts-base), characters 32
// to 255 (ISO 8859-1), white with a black shadow on the colour key magenta.
#ifndef VANTREL_KIT_H
#define VANTREL_KIT_H

#include "vantrel.h"

#include <cstddef>
#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------
// Rectangles: x, y of the top-left corner, width, height; right and bottom
// edges exclusive. An empty rectangle (width or height 0 or less) overlaps
// nothing and contains nothing.
// ---------------------------------------------------------------------------
struct VRect {
  int32_t x;
  int32_t y;
  int32_t w;
  int32_t h;
};

// Where a sprite is drawn: dstX, dstY, dstW, dstH.
VRect VSpriteRect(const VSprite &sprite);
// True when the two share at least one pixel.
bool VRectsOverlap(const VRect &a, const VRect &b);
// True when every pixel of `inner` lies in `outer` (an empty `inner`: false).
bool VRectContains(const VRect &outer, const VRect &inner);
// True when the pixel (px, py) lies in `r`.
bool VRectContainsPoint(const VRect &r, int32_t px, int32_t py);

// ---------------------------------------------------------------------------
// Frame pacing. The host calls the module as often as it can; a module that
// answers 1 only when the pacer says so draws `framesPerSecond` frames a
// second, and steps its game that often, whatever the host's speed. Time is
// counted in 1/framesPerSecond ms, so no rounding is lost: 1000 calls of 1 ms
// at 60 give exactly 60 frames. After a long pause (a box, a dragged window)
// the time owed beyond one frame is dropped rather than paid back in a burst.
// ---------------------------------------------------------------------------
struct VFramePacer {
  uint32_t framesPerSecond = 60; // set before the first call; 1 to 1000
  uint32_t owed = 0;             // time gathered since the last frame, in 1/framesPerSecond ms
};

// Adds elapsedMs (a call's argument; negative counts as 0, one call counts at
// most one second) and answers true when a frame is due.
bool VPaceFrame(VFramePacer &pacer, int32_t elapsedMs);

// ---------------------------------------------------------------------------
// The module's own folder: where prog.dll lies, whatever the current folder
// is (GetModuleFileNameA on Windows, dladdr elsewhere).
// ---------------------------------------------------------------------------
// The folder, ending in its separator; "" when the loader does not say.
std::string VModuleFolder();
// `file` in the module's folder; `file` alone (relative to the current
// folder) when the folder is unknown or the whole path would not fit an
// image name (254 characters).
std::string VModuleFile(const char *file);

// ---------------------------------------------------------------------------
// Text drawn as sprites: one sprite and one node per character, on a layer at
// a depth, from a grid font image.
// ---------------------------------------------------------------------------
// A grid font: cells of cellW x cellH from the image's top-left corner,
// `columns` to a row, the first holding character `first`, `count` in all.
// The defaults are those of vantrel-font.bmp.
struct VFont {
  VImg *image = nullptr; // from AddImage; null draws nothing
  int32_t cellW = 8;
  int32_t cellH = 13;
  int32_t first = 32;
  int32_t columns = 16;
  int32_t count = 224;
};

class VText {
public:
  VText() = default;
  explicit VText(const VFont &font) : font_(font) {}
  ~VText(); // Remove()
  VText(const VText &) = delete;
  VText &operator=(const VText &) = delete;

  // Puts the text on `layer` (not null) with every character at `depth`,
  // its top-left corner at (x, y), each cell drawn `scale` times its size
  // (1 or more). Called again, it moves the text to the new layer, depth
  // and place. False when a node cannot be allocated.
  bool Place(VLayer *layer, int32_t depth, int32_t x, int32_t y, int32_t scale = 1);
  // The string to show; '\n' starts a new line, spaces draw nothing, and a
  // character the font lacks draws as '?'. Sprites and nodes are allocated
  // only when the string is longer than any before: setting a string of
  // the same length or shorter (a score every frame) allocates nothing.
  // False when an allocation fails (the characters that fit are shown).
  bool Set(const char *text);
  void SetFont(const VFont &font);
  void MoveTo(int32_t x, int32_t y);
  // HIDDEN sprites while not shown.
  void Show(bool shown);
  // Takes every node out of its layer and frees the nodes and sprites. Do it
  // on EV_SHUTDOWN, before the layer itself is freed.
  void Remove();

  // The string shown ("" before the first Set).
  const char *Text() const { return chars_ != nullptr ? chars_ : ""; }
  size_t Length() const { return length_; }
  // The drawn size in pixels: the longest line, and the lines.
  int32_t Width() const;
  int32_t Height() const;
  // Characters that can be shown without allocating.
  size_t Capacity() const { return capacity_; }

private:
  bool Grow(size_t n);
  void LayOut();

  VFont font_;
  VLayer *layer_ = nullptr;
  int32_t depth_ = 0;
  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t scale_ = 1;
  bool shown_ = true;
  // capacity_ characters (and a terminator), sprites and nodes (a node is
  // null until the text is placed); the first length_ are the string.
  char *chars_ = nullptr;
  VSprite **sprites_ = nullptr;
  VNode **nodes_ = nullptr;
  size_t capacity_ = 0;
  size_t length_ = 0;
};

#endif
