// The colour key of an image surface: its top-left pixel as stored.
#ifndef VANTREL_IMAGES_COLOUR_KEY_H
#define VANTREL_IMAGES_COLOUR_KEY_H

#include <cstdint>

namespace vantrel {

// The low `bits` bits of the little-endian 32-bit word at `firstPixel` (the
// first four bytes of the top row); the whole word for 32 bits or more. On a
// little-endian surface that is the top-left pixel's stored value.
uint32_t ColourKeyFromFirstWord(const void *firstPixel, uint32_t bits);

} // namespace vantrel

#endif
