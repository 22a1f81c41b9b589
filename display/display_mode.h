// Opening the display device and setting the display mode.
#ifndef VANTREL_DISPLAY_DISPLAY_MODE_H
#define VANTREL_DISPLAY_DISPLAY_MODE_H

#include "vantrel.h"

#include <cstdint>

namespace vantrel {

// Creates the device object and takes exclusive full-screen use of the
// display for the main window. Answers 1, or 0 after its Error! box.
int32_t InitDisplay();
// The module's SetMode slot: switches the mode and builds the flipping chain.
// Answers 1, or 0 after the Error! box naming the failed call.
int32_t VANTREL_CDECL SetMode(int32_t width, int32_t height, int32_t bpp);

} // namespace vantrel

#endif
