// message_box.cpp - message boxes on standard error, answered at once.
#include "platform/platform.h"

#include <cstdio>

namespace plat {

int32_t MessageBoxA(HWND owner, const char *text, const char *caption, uint32_t type) {
  (void)owner;
  (void)type;
  constexpr int32_t IDOK = 1;
  std::fprintf(stderr, "vantrel: [%s] %s\n", caption != nullptr ? caption : "Error",
               text != nullptr ? text : "");
  std::fflush(stderr);
  return IDOK;
}

} // namespace plat
