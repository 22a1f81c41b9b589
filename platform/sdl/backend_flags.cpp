// backend_flags.cpp - the flags the command line sets in the desktop backend.
#include "platform/sdl/backend_state.h"

namespace sdlplat {

bool strictModes = false;
bool exclusive = true;

} // namespace sdlplat
