// Presenting a finished frame.
#ifndef VANTREL_DISPLAY_PRESENT_H
#define VANTREL_DISPLAY_PRESENT_H

#include <cstdint>

namespace vantrel {

// Flips the chain, waiting out a busy flip and restoring a lost primary
// surface. Answers 0.
int32_t Present();

} // namespace vantrel

#endif
