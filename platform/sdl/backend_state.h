// backend_state.h - what the parts of the desktop backend share: the one
// window, SDL's video start-up and the presentation of the display device.
#ifndef VANTREL_PLATFORM_SDL_BACKEND_STATE_H
#define VANTREL_PLATFORM_SDL_BACKEND_STATE_H

#include "platform/platform.h"

#include <SDL.h>
#include <cstdint>

namespace sdlplat {

// Flags the command line sets before start-up.
// Refuse display modes that the Windows host may not get.
extern bool strictModes;
// Full screen and exclusive (the default): surfaces are lost when the focus
// goes. False in a window, where nothing is lost.
extern bool exclusive;

// How many window pixels a mode pixel takes in a window (--scale).
extern int32_t windowScale;
// The size of a window showing a mode of modeW x modeH at windowScale (a
// 640x480 mode before the module sets one).
void WindowedSize(int32_t modeW, int32_t modeH, int32_t *w, int32_t *h);
// Puts the window in full screen or, when not exclusive, in a window sized
// for the presented mode and centred.
void ApplyWindowMode();
// Alt+Enter: between full screen and a window.
void ToggleFullScreen();
// The window's title, as a module sets it with SetWindowTextA.
void ShowWindowTitle(const char *title);

// Starts SDL's video subsystem once. False (with the reason on standard
// error) when there is no display to open.
bool EnsureVideo();

// The one window: its SDL window and the procedure of its class.
struct WindowRecord {
  SDL_Window *sdl = nullptr;
  plat::WNDPROC proc = nullptr;
  plat::HCURSOR classCursor = nullptr;
  bool destroyed = false;
};

// The record behind a handle, or null for a handle that is not a live window.
WindowRecord *LiveWindow(plat::HWND wnd);
// The live window's handle and SDL window, or null.
plat::HWND MainHandle();
SDL_Window *MainSdlWindow();

// Sends a message: calls the window's procedure at once. 0 for a handle that
// is not a live window.
plat::LRESULT SendToWindow(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                           plat::LPARAM lParam);

// Destroys the window: WM_DESTROY to its procedure, then the SDL window and
// its presentation go. The handle stays known but no longer live.
void DestroyMainWindow();

// Drops the queued messages of a window that is being destroyed.
void DropQueuedMessagesFor(plat::HWND wnd);

// Presentation of the soft device's front buffer in the window.
// Makes the window's renderer. Done when the window is created, while it is
// still hidden: SDL may have to rebuild a window for its renderer, and a
// window rebuilt after it was shown and focused loses the input focus.
bool CreateRenderer(SDL_Window *window);
// Sets it up for a display mode of w x h x bpp: renderer, streaming texture,
// logical size (letterboxed, scaled to the window). False when SDL refuses.
bool SetUpPresentation(SDL_Window *window, int32_t w, int32_t h, int32_t bpp);
// Uploads the soft device's primary surface and shows it.
void PresentFrontBuffer();
// Shows the last uploaded frame again (after the window was exposed).
void RepresentLastFrame();
// Releases the renderer and texture (the window is going away).
void TearDownPresentation();
// The window's renderer, or null (for tests, which read back what it shows).
SDL_Renderer *PresentationRenderer();
// The presented mode's size; false before a mode is presented.
bool PresentedModeSize(int32_t *w, int32_t *h);
// How many frames have been flipped, in the order a replay numbers them.
uint32_t FramesPresented();

} // namespace sdlplat

#endif
