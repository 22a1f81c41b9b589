// The two calls of the host's upload that are not the display device's: the
// module handle it passes to LoadImageA (unused with a file name) and the
// debug output.
#include "platform/platform.h"

#include <cstdio>

namespace plat {

HINSTANCE GetModuleHandleA(const char *) {
  static char self;
  return reinterpret_cast<HINSTANCE>(&self);
}

void OutputDebugStringA(const char *text) {
  if (text != nullptr) {
    std::fputs(text, stderr);
  }
}

} // namespace plat
