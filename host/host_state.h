// Host state of the shell: the window, the clock reading and the active flag.
#ifndef VANTREL_HOST_HOST_STATE_H
#define VANTREL_HOST_HOST_STATE_H

#include "platform/platform.h"

#include <cstdint>

namespace vantrel {

extern plat::HWND mainWindow; // the one window; owner of every message box
extern uint32_t lastTick;     // clock reading after the module's last procedure call
extern int32_t active;        // wParam of the last WM_ACTIVATEAPP; idle turns only while non-zero

// Puts every piece of host state back as at process start: the record `prog`
// reconstructed (its image list freed), entry points, display state and
// shell state zeroed. For tests, which run many start-ups in one process.
void ResetHostState();

} // namespace vantrel

#endif
