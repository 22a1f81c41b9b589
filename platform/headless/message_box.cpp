// message_box.cpp - message boxes on standard error, answered at once unless
// the program asks them of a person (SetBoxAsker).
#include "platform/headless/headless.h"

#include <cstdio>

namespace headless {
namespace {

BoxAsker boxAsker = nullptr;

} // namespace

void SetBoxAsker(BoxAsker asker) { boxAsker = asker; }

} // namespace headless

namespace plat {

int32_t MessageBoxA(HWND owner, const char *text, const char *caption, uint32_t type) {
  (void)owner;
  constexpr int32_t IDOK = 1;
  std::fprintf(stderr, "vantrel: [%s] %s\n", caption != nullptr ? caption : "Error",
               text != nullptr ? text : "");
  std::fflush(stderr);
  if (headless::boxAsker != nullptr) {
    return headless::boxAsker(text != nullptr ? text : "", caption != nullptr ? caption : "Error",
                              type);
  }
  return IDOK;
}

} // namespace plat
