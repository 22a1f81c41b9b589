// win_main.cpp - the Windows entry point of vantrel.exe: hands the program's
// arguments to the host core.
#include "host/startup.h"
#include "platform/platform.h"

#include <windows.h>

int WINAPI WinMain(::HINSTANCE instance, ::HINSTANCE previous, ::LPSTR commandLine, int showCmd) {
  return vantrel::WinMain(reinterpret_cast<plat::HINSTANCE>(instance),
                          reinterpret_cast<plat::HINSTANCE>(previous), commandLine, showCmd);
}
