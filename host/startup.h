// The host's entry point: start-up and the main loop.
#ifndef VANTREL_HOST_STARTUP_H
#define VANTREL_HOST_STARTUP_H

#include "platform/platform.h"
#include "vantrel.h"

namespace vantrel {

// Runs the host: start-up, the main loop until the quit message, shutdown.
// Answers the process's exit code. Called by the backend's real entry point.
int WinMain(plat::HINSTANCE instance, plat::HINSTANCE previous, char *commandLine, int showCmd);

// The version check applied to a module's record right after VProgInterface
// accepts it: above MODULE_VERSION_MAX it shows the Error! box and answers 0.
int32_t CheckModuleVersion(const VProg *record);

} // namespace vantrel

#endif
