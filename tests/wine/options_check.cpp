// options_check.cpp - vantrel.exe's options reader on its own: reads the
// command line and vantrel.ini as the host does and writes what it got to
// options.txt in the current folder, one line:
//
//   <presentation> <scale> <fps cap> <strict 0|1> [<module>] [<record>]
//
// Exit code: the reader's (0 after --help or --version, 2 for a bad command
// line), or 100 when the host would run.
#include "platform/win32/win32_options.h"

#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  playopts::PlayOptions options;
  const int code = win32opts::ReadWindowsOptions(&options);
  if (code >= 0) {
    return code;
  }
  std::FILE *out = std::fopen("options.txt", "wb");
  if (out == nullptr) {
    return 3;
  }
  std::fprintf(out, "%s %d %d %d [%s] [%s]\n", playopts::PresentationName(options.presentation),
               static_cast<int>(options.scale), static_cast<int>(options.fpsCap),
               options.strictModes ? 1 : 0, options.modulePath.c_str(), options.recordPath.c_str());
  std::fclose(out);
  return 100;
}
