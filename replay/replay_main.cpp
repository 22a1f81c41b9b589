// replay_main.cpp - vantrel-replay's entry point.
#include "platform/headless/headless.h"
#include "platform/module_calls/module_calls.h"
#include "replay/replay_run.h"

#include <string>
#include <vector>

int main(int argc, char **argv) {
#if !defined(_WIN32)
  // A module's Sleep moves the replay's clock on at once, so a module that
  // waits for the clock to move sees it move, and no time really passes. (On
  // Windows the module calls the system's own Sleep: nothing is served.)
  modulecalls::SetModuleSleep(headless::AdvanceClock);
#endif
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.emplace_back(argv[i]);
  }
  return replay::ReplayMain(args);
}
