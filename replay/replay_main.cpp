// replay_main.cpp - vantrel-replay's entry point.
#include "replay/replay_run.h"

#include <string>
#include <vector>

int main(int argc, char **argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.emplace_back(argv[i]);
  }
  return replay::ReplayMain(args);
}
