// The display state: device object, flipping chain and the mode's size.
#ifndef VANTREL_DISPLAY_DISPLAY_STATE_H
#define VANTREL_DISPLAY_DISPLAY_STATE_H

#include "platform/platform.h"

#include <cstdint>

namespace vantrel {

extern plat::DirectDraw4 device; // null until InitDisplay succeeds
extern plat::Surface primary;    // null until SetMode builds the chain
extern plat::Surface backBuffer; // null until SetMode builds the chain
extern int32_t screenW;          // set only by a fully successful SetMode
extern int32_t screenH;
extern int32_t screenBpp;
// The display may not be the host's to draw on: set when the application is
// deactivated and when a flip finds the surfaces lost while another program
// holds the display; cleared once the cooperative level is the host's again
// and the chain is whole. Nothing is drawn or flipped while it is set.
extern bool displayAway;

} // namespace vantrel

#endif
