// portable_modes.h - the display modes a module can count on under Windows.
//
// The desktop host shows any mode its window can scale, but a Windows display
// driver offers only its own list: 640x480, 800x600, 1024x768 and 1280x1024 at
// 16 or 32 bits per pixel are everywhere. An 8-bit mode is offered too, but
// the host attaches no palette, so on Windows its colours need not be the
// bitmaps' own.
#ifndef VANTREL_PLATFORM_SDL_PORTABLE_MODES_H
#define VANTREL_PLATFORM_SDL_PORTABLE_MODES_H

#include <cstddef>
#include <cstdint>

namespace sdlplat {

// True for a mode every Windows display offers with the module's own colours.
bool IsPortableMode(uint32_t w, uint32_t h, uint32_t bpp);

// Writes the debug line that names a mode that is not portable, and why, into
// `out` (at most `size` bytes, terminated); `refused`: the line says that
// --strict-modes refused the mode for it. Writes nothing for a portable mode
// and answers whether it wrote.
bool DescribeUnportableMode(uint32_t w, uint32_t h, uint32_t bpp, bool refused, char *out,
                            size_t size);

} // namespace sdlplat

#endif
