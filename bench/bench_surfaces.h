// bench_surfaces.h - the pictures the benchmarks blit, on the soft device and
// the same memory seen as SDL2 surfaces.
#ifndef VANTREL_BENCH_BENCH_SURFACES_H
#define VANTREL_BENCH_BENCH_SURFACES_H

#include "platform/platform.h"

#include <cstdint>

// SDL2 is there to compare with on the desktop; the web and Windows builds of
// the benchmark scene have none.
#if !defined(__EMSCRIPTEN__) && !defined(_WIN32)
#define VANTREL_BENCH_SDL2 1
#include <SDL.h>
#else
struct SDL_Surface;
#endif

namespace bench {

// Opens the soft device through the host core (InitDisplay) once, and sets
// its display mode to 640x480 at `bpp` through the core's SetMode, so the
// core's back buffer and screen size are those of the mode.
void UseMode(int32_t bpp);

// An off-screen surface of the current mode's depth; aborts on failure.
plat::Surface NewSurface(int32_t w, int32_t h);

// The colour every picture is keyed on (magenta), as stored at `bpp`.
uint32_t KeyValue(int32_t bpp);

// A grid of cells of `cell` x `cell` pixels. Each cell holds a disc of random
// colours on the key colour (or, with `opaque`, random colours throughout);
// the top-left pixel is always the key, and the surface is keyed on it as an
// uploaded bitmap is.
void PaintCells(plat::Surface s, int32_t cell, bool opaque, uint32_t seed);

// The same memory as an SDL2 surface of the same format, with the same key
// and (8 bits) the device's palette. Lives as long as the program.
SDL_Surface *AsSdl(plat::Surface s);

} // namespace bench

#endif
