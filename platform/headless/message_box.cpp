// message_box.cpp - message boxes on standard error, answered at once by
// their default button unless the program asks them of a person
// (SetBoxAsker).
#include "platform/box_buttons.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

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
  const BoxButtons set = ButtonsOf(type);
  std::fprintf(stderr, "vantrel: [%s] %s", caption != nullptr ? caption : "Error",
               text != nullptr ? text : "");
  int32_t answer = 0;
  if (set.count == 0) {
    std::fprintf(stderr, "\nvantrel: the box was not shown: unknown button set %u", type & 0xFu);
  } else {
    answer = set.buttons[set.defaultIndex].answer;
    // A box with a choice says which answer the run goes on with.
    if (set.count > 1) {
      std::fprintf(stderr, " [answered %s]", set.buttons[set.defaultIndex].label);
    }
  }
  std::fputc('\n', stderr);
  std::fflush(stderr);
  if (headless::boxAsker != nullptr && set.count != 0) {
    return headless::boxAsker(text != nullptr ? text : "", caption != nullptr ? caption : "Error",
                              type);
  }
  return answer;
}

} // namespace plat
