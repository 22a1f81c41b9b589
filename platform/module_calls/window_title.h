// window_title.h - the title a module gives the host's window with
// SetWindowTextA, and how a backend shows it.
#ifndef VANTREL_PLATFORM_MODULE_CALLS_WINDOW_TITLE_H
#define VANTREL_PLATFORM_MODULE_CALLS_WINDOW_TITLE_H

#include <string>

namespace modulecalls {

// Shows a title on the host's window (the desktop: SDL's window title).
// Null: the title is only kept.
using TitleShower = void (*)(const char *title);
void SetTitleShower(TitleShower shower);

// The last title a module set ("" until one is).
const std::string &WindowTitle();

// No title, no shower (tests).
void ResetWindowTitle();

} // namespace modulecalls

#endif
