// replay_main.cpp - vantrel-replay's entry point.
#include "platform/module_calls/module_calls.h"
#include "replay/replay_run.h"

#include <string>
#include <vector>

int main(int argc, char **argv) {
  // On the virtual clock a module's Sleep returns at once.
  modulecalls::SetModuleSleep(nullptr);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.emplace_back(argv[i]);
  }
  return replay::ReplayMain(args);
}
