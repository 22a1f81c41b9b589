// headless_state.h - what the parts of the headless backend share.
#ifndef VANTREL_PLATFORM_HEADLESS_HEADLESS_STATE_H
#define VANTREL_PLATFORM_HEADLESS_HEADLESS_STATE_H

#include "platform/headless/headless.h"

namespace headless {

extern uint32_t clockNow;

// The window procedure of the live window, or null.
plat::WNDPROC LiveProc(plat::HWND wnd);
// Sends a message: calls the window's procedure at once (0 for a dead handle).
plat::LRESULT SendToWindow(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                           plat::LPARAM lParam);
plat::HWND MainHandle();
// Destroys the window: WM_DESTROY to its procedure; the handle stays dead.
void DestroyMainWindow();

void ResetWindow();
void ResetQueue();
void ResetFrames();

} // namespace headless

#endif
