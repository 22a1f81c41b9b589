// Taking the display back after another program held it.
//
// On Windows the exclusive display goes away with Alt+Tab, the Windows key, a
// notification, a consent prompt, Ctrl+Alt+Del or the lock screen, some of
// them with no deactivation message at all. While it is away every surface is
// lost and Restore refuses. The device's cooperative level says when it is
// the host's again: only then is anything restored, so switching away and
// back never ends a run.
#ifndef VANTREL_DISPLAY_DISPLAY_REGAIN_H
#define VANTREL_DISPLAY_DISPLAY_REGAIN_H

#include "platform/platform.h"

namespace vantrel {

// The application was deactivated: its display may go with it.
void DisplayMayBeAway();

// Makes the display whole once the cooperative level is the host's. While
// another program holds it, sets displayAway and answers the level, having
// touched nothing. Otherwise: after a mode changed under the host
// (DDERR_WRONGMODE) the module's last mode is set again; then the primary
// surface is restored and the images reloaded. `lossSeen` says a flip found
// the chain lost; without it a chain that was never lost is left alone.
// Answers DD_OK, or the failed call's result (displayAway tells whether the
// display went away again meanwhile).
plat::HRESULT RegainDisplay(bool lossSeen);

// For the main loop: true when the host may draw, after making the display
// whole if it was away. A restore that fails while the display is the
// host's is reported as a flip's would be.
bool DisplayReady();

// The Error! box "Tried to restore primary surface and failed.", then the
// shutdown notification.
void ReportRestoreFailure();

} // namespace vantrel

#endif
