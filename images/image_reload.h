// Bringing the images back after the display lost their surfaces.
//
// A display-mode change, or another application taking the exclusive display,
// loses every surface of the device. The host then makes every image whose
// upload succeeded whole again: it restores the surfaces, or makes them anew
// in the current pixel format where a restore fails or the depth changed, and
// loads each bitmap file again through the upload's own copy and colour key.
// The image records keep their place, state and size; only surf->surface may
// change. An image whose file can no longer be read stays blank and says so
// once on the debug output.
#ifndef VANTREL_IMAGES_IMAGE_RELOAD_H
#define VANTREL_IMAGES_IMAGE_RELOAD_H

#include "vantrel.h"

namespace vantrel {

// Notes an image whose upload succeeded under the current display mode.
// AddImage calls it; it is the only place the notes grow.
void RememberUpload(VImg *image);

// True once any image has been uploaded.
bool AnyUploads();

// Restores or remakes the surface of every noted image and loads its bitmap
// again. Allocates nothing of its own.
void ReloadImages();

// Drops every note (the list of images went away).
void ForgetUploads();

} // namespace vantrel

#endif
