// The lines that say why a module's request was refused, once per cause.
#include "base/say_why.h"

#include "platform/platform.h"

#include <cstdio>

namespace vantrel {

namespace {

constexpr size_t kCauses = static_cast<size_t>(Why::Count);

// One line per cause, in the order of Why. "%s" is the subject, "%u" the
// number; every line ends in a newline.
constexpr const char *kLines[kCauses] = {
    "vantrel: AddImage: no file name was given (null); the image stays on the list without a "
    "surface\n",
    "vantrel: AddImage: the file name has 256 characters or more and does not fit an image's 255; "
    "the image stays on the list without a surface\n",
    "vantrel: AddImage: the load flag is not IMG_LOAD (3101), so the bitmap is not loaded; the "
    "image stays on the list without a surface\n",
    "vantrel: AddImage: out of memory for the image's surface holder; the image cannot be loaded\n",
    "vantrel: AddImage: \"%s\" cannot be opened: the file is missing or unreadable (names are read "
    "from the current folder)\n",
    "vantrel: AddImage: \"%s\" is not a Windows bitmap file\n",
    "vantrel: AddImage: \"%s\" has %u bits per pixel; bitmaps of 1, 4, 8, 16, 24 or 32 bits per "
    "pixel can be loaded\n",
    "vantrel: AddImage: \"%s\" is a bitmap file the platform could not read (its header or "
    "compression is not supported)\n",
    "vantrel: AddImage: there is no display device, so no image can be loaded\n",
    "vantrel: AddImage: the display device refused a surface for \"%s\" (out of video memory, or "
    "too large)\n",
    "vantrel: AddImage: the image list loops back on itself (an image's next points to an "
    "earlier image); the new image is not added\n",
    "vantrel: DrawSprite: no sprite was given (null); nothing is drawn\n",
    "vantrel: DrawSprite: a sprite without an image (image is null) is not drawn\n",
    "vantrel: DrawSprite: a sprite whose image has no surface (its load failed, or it was added "
    "without IMG_LOAD) is not drawn\n",
    "vantrel: DrawSprite: a sprite whose source rectangle is empty (srcW or srcH 0 or less) is not "
    "drawn\n",
    "vantrel: DrawSprite: a sprite whose source rectangle reaches outside its image is not "
    "drawn\n",
    "vantrel: DrawMap: no map was given (null); nothing is drawn\n",
    "vantrel: DrawMap: a map without cells (cells is null, or cols or rows 0 or less) is not "
    "drawn\n",
    "vantrel: DrawMap: maps are drawn from the first image added, which is missing or has no "
    "surface; no map is drawn\n",
    "vantrel: DrawMap: a map's view (viewCols x viewRows) holds more tiles than its cols x rows "
    "cells; drawing stops at the last cell\n",
    "vantrel: nothing is drawn before a display mode has been set with SetMode\n",
    "vantrel: the layer chain (prog.layers, then each layer's next) loops back on itself; the "
    "render pass stops at the first layer met again\n",
    "vantrel: a layer's sprite list (first, then each node's next) loops back on itself; the "
    "layer's sprites stop at the first node met again\n",
};

bool said[kCauses] = {};

bool FirstTime(Why cause) {
  const auto index = static_cast<size_t>(cause);
  if (index >= kCauses || said[index]) {
    return false;
  }
  said[index] = true;
  return true;
}

} // namespace

void SayWhy(Why cause) { SayWhy(cause, nullptr, 0); }

void SayWhy(Why cause, const char *subject, uint32_t number) {
  if (!FirstTime(cause)) {
    return;
  }
  const char *line = kLines[static_cast<size_t>(cause)];
  // A name of up to 255 characters and the longest line fit.
  char text[640];
  // The subject goes in before the number in every line that has both.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
  std::snprintf(text, sizeof text, line, subject != nullptr ? subject : "", number);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  plat::OutputDebugStringA(text);
}

bool SaidWhy(Why cause) {
  const auto index = static_cast<size_t>(cause);
  return index < kCauses && said[index];
}

void ForgetSaidWhy() {
  for (bool &flag : said) {
    flag = false;
  }
}

} // namespace vantrel
