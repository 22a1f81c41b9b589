// blit_variants.h - the vectorised loop sets, each in a file of its own built
// for its instruction set. Only blit_dispatch.cpp calls these, and only after
// asking the processor whether it runs them.
#ifndef VANTREL_PLATFORM_SOFT_BLIT_VARIANTS_H
#define VANTREL_PLATFORM_SOFT_BLIT_VARIANTS_H

#include "platform/soft/blit_loops.h"

namespace soft {

const BlitLoops &Sse2BlitLoops();
const BlitLoops &Avx2BlitLoops();
const BlitLoops &Avx512BlitLoops();

} // namespace soft

#endif
