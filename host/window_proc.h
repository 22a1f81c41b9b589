// The window procedure: window messages into module events.
#ifndef VANTREL_HOST_WINDOW_PROC_H
#define VANTREL_HOST_WINDOW_PROC_H

#include "platform/platform.h"

namespace vantrel {

plat::LRESULT WindowProc(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                         plat::LPARAM lParam);

} // namespace vantrel

#endif
