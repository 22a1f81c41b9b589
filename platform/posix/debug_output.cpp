// debug_output.cpp - debugger output goes to standard error on the desktop and headless.
#include "platform/platform.h"

#include <cstdio>

namespace plat {

void OutputDebugStringA(const char *text) {
  if (text == nullptr) {
    return;
  }
  std::fputs(text, stderr);
  std::fflush(stderr);
}

} // namespace plat
