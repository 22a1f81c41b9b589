// win32_kernel.cpp - the millisecond clock, straight over the multimedia
// timer. Module loading is in win32_modules.cpp.
#include "platform/platform.h"

#include "platform/win32/win32_records.h"

#include <mmsystem.h>

uint32_t plat::timeGetTime() { return ::timeGetTime(); }
