// A bitmap file into a surface on the software display device, through the
// host's own upload (LoadImageA, GetObjectA, CreateSurface of the bitmap's
// size in the current mode's depth, the device-context BitBlt into it, and
// the colour key), so the corpus test and the fuzzer run the shipped code.
#ifndef VANTREL_TESTS_BITMAPS_UPLOAD_PATH_H
#define VANTREL_TESTS_BITMAPS_UPLOAD_PATH_H

#include "platform/soft/soft_device.h"

#include <cstdint>

namespace bmptest {

// Opens a fresh device in a 640 x 480 mode of `bpp` bits. Null on failure.
plat::DirectDraw4 OpenDeviceInMode(uint32_t bpp);

// Uploads the file; answers the new surface (the caller releases it), or
// null when the file does not load or a step fails. `width` and `height`
// receive the bitmap's size.
plat::Surface UploadFile(plat::DirectDraw4 dd, const char *path, int32_t *width, int32_t *height);

} // namespace bmptest

#endif
