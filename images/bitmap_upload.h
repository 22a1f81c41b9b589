// Reading a bitmap file into an off-screen surface keyed on its top-left pixel.
#ifndef VANTREL_IMAGES_BITMAP_UPLOAD_H
#define VANTREL_IMAGES_BITMAP_UPLOAD_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// Answers 1 when the surface holds the bitmap with its colour key, 0 when a
// step failed, NO_SURFACE when creation delivered no surface.
int32_t UploadBitmap(VImg *image);

// Loads the image's bitmap file again into the surface it holds, through the
// same copy and colour key as the upload; creates nothing. Answers 1, or 0
// when the file can no longer be read or a step failed.
int32_t ReloadBitmap(VImg *image);

// Releases the image's surface and creates a new one of the holder's size in
// the current display mode's pixel format. Answers 1, or 0 with no surface.
int32_t RemakeSurface(VImg *image);

// Clears the image's surface and keys it on its one stored value, so that
// drawing it shows nothing.
void BlankSurface(VImg *image);

} // namespace vantrel

#endif
