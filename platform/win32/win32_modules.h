// win32_modules.h - module loading on Windows, shared by the host and the
// headless backend of vantrel-replay.exe.
#ifndef VANTREL_PLATFORM_WIN32_WIN32_MODULES_H
#define VANTREL_PLATFORM_WIN32_WIN32_MODULES_H

namespace win32plat {

// Names the one file LoadLibraryA opens from now on, whatever name it is
// given (a --module option); null or "" goes back to the system's search.
void SetModuleFile(const char *path);

} // namespace win32plat

#endif
