// Telling a module author why a bitmap file could not be read.
#ifndef VANTREL_IMAGES_UNREAD_BITMAP_H
#define VANTREL_IMAGES_UNREAD_BITMAP_H

#include "base/say_why.h"

#include <cstdint>

namespace vantrel {

struct UnreadBitmap {
  Why cause;
  uint32_t bitsPerPixel; // for Why::ImageDepth
};

// Looks at the file the platform could not load as a bitmap: missing or
// unreadable, no bitmap at all, a depth no bitmap has, or a bitmap of a kind
// the platform does not read. Reads at most the file's first 30 bytes.
UnreadBitmap WhyBitmapUnread(const char *name);

} // namespace vantrel

#endif
