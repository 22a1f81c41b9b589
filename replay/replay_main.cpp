// replay_main.cpp - vantrel-replay's entry point.
#include "platform/module_calls/module_calls.h"
#include "replay/replay_run.h"

#include <string>
#include <vector>

int main(int argc, char **argv) {
#if !defined(_WIN32)
  // On the virtual clock a module's Sleep returns at once. (On Windows the
  // module calls the system's own Sleep: nothing is served.)
  modulecalls::SetModuleSleep(nullptr);
#endif
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.emplace_back(argv[i]);
  }
  return replay::ReplayMain(args);
}
