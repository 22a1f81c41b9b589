// win32_presentation.h - how the Windows host shows the game: exclusive
// full screen on the real DirectDraw device (the default), or over the soft
// display device in a borderless window on the desktop's own mode or in a
// window, each flip put on the window with GDI.
#ifndef VANTREL_PLATFORM_WIN32_PRESENTATION_H
#define VANTREL_PLATFORM_WIN32_PRESENTATION_H

#include "platform/platform.h"

#include <cstdint>

namespace win32 {

enum class Presentation { Exclusive, Borderless, Windowed };

// The player's choice, made before the host starts. `scale` (1 to 16) sizes a
// window at that many times the module's mode.
void ChoosePresentation(Presentation presentation, int32_t scale);
Presentation CurrentPresentation();
int32_t WindowScale();

// True while the soft device draws: a window or borderless.
bool SoftDisplay();

// The real device cannot be had (`what` failed with `result`): the run goes on
// borderless over the soft device. Said once on the debug output.
void FallBackToBorderless(const char *what, plat::HRESULT result);

// The window made with the host's class: the one every frame goes into.
void SetHostWindow(plat::HWND wnd);
plat::HWND HostWindow();

// The style, extended style and outer size and place the host's window has
// in the current presentation, for a mode of `modeW` x `modeH` (0 before the
// first mode).
struct WindowShape {
  uint32_t style;
  uint32_t exStyle;
  int32_t x, y, w, h;
};
WindowShape ShapeFor(int32_t modeW, int32_t modeH);

// Gives the host's window the current presentation's shape.
void ApplyWindowShape();

// Alt+Enter: a window becomes borderless and back. Nothing in exclusive play.
void SwitchWindowAndBorderless();

// The soft device took a mode: the window takes its size (in a window) and
// shows black until the first frame.
void NoteModeSet(int32_t w, int32_t h);
// Shows the soft device's front buffer in the window: after every flip.
void PresentFrontBuffer();
// Paints the last frame shown, with its bars, into `dc` (a plain ::HDC).
void PaintLastFrame(void *dc);
// The mode shown (0 x 0 before the first mode).
void ShownMode(int32_t *w, int32_t *h);

// Frames flipped so far, on either device: the n-th flip shows frame n, as
// vantrel-replay numbers them.
uint32_t FramesPresented();

// Print Screen: the frame on the screen as vantrel-YYYYMMDD-HHMMSS.png in
// the current folder, in either presentation. The file's name, or the reason
// it was not written, goes to the debug output.
bool SaveScreenshot();
// The primary surface of the real device, for the exclusive shot.
void NoteRealPrimary(plat::Surface primary);

// The window messages the backend answers itself before the host's window
// procedure sees them, or changes on their way: painting, Alt+Enter, the
// pointer's place in a scaled picture, Print Screen. True when `*result`
// is the answer and the host's procedure is not to be called.
bool FilterMessage(plat::HWND wnd, uint32_t message, plat::WPARAM wParam, plat::LPARAM *lParam,
                   plat::LRESULT *result);

// --fps-cap: idle turns at most `perSecond` times a second (0: no cap).
void SetIdleTurnsPerSecond(int32_t perSecond);
// Waits, while no message comes, until the next idle turn is due. True when
// a message came first.
bool WaitForIdleTurn();

} // namespace win32

#endif
