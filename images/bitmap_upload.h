// Reading a bitmap file into an off-screen surface keyed on its top-left pixel.
#ifndef VANTREL_IMAGES_BITMAP_UPLOAD_H
#define VANTREL_IMAGES_BITMAP_UPLOAD_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// Answers 1 when the surface holds the bitmap with its colour key, 0 when a
// step failed, NO_SURFACE when creation delivered no surface.
int32_t UploadBitmap(VImg *image);

} // namespace vantrel

#endif
