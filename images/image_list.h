// The image list hanging off prog.ihead.
#ifndef VANTREL_IMAGES_IMAGE_LIST_H
#define VANTREL_IMAGES_IMAGE_LIST_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// The module's AddImage slot: appends an image for `file` and loads it when
// loadFlag is IMG_LOAD. Answers the image, or null after a box.
VImg *VANTREL_CDECL AddImage(const char *file, int32_t loadFlag);
// Loads the image's bitmap when its loadFlag asks for it: 1 loaded, 0 upload
// failed, NO_SURFACE, or IMG_DEFER when not asked to load.
int32_t LoadIfRequested(VImg *image);

} // namespace vantrel

#endif
