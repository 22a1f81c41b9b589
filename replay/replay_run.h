// replay_run.h - one replay: the host over the headless backend, fed a
// script, with the chosen frames written and compared.
#ifndef VANTREL_REPLAY_REPLAY_RUN_H
#define VANTREL_REPLAY_REPLAY_RUN_H

#include "capture/script.h"
#include "replay/replay_options.h"

#include <cstdint>
#include <vector>

namespace replay {

enum ExitCode : int {
  kAllMatch = 0,
  kFrameDiffers = 1,
  kUsageError = 2,
  kStartupFailed = 3,
  kModuleCrashed = 4, // said on standard error with the call it crashed in
};

struct ReplaySummary {
  int exitCode = kAllMatch;
  uint32_t framesPresented = 0;
  uint32_t framesWritten = 0;
  uint32_t framesCompared = 0;
  uint32_t framesDiffering = 0;
  uint32_t goldensMissing = 0;
  uint32_t framesNeverPresented = 0; // chosen frames beyond the last one presented
  bool soundLogDiffers = false;      // from the --sound-golden file, or that file is missing
  bool scriptFinished = false;       // false: the run ended before the script did
  int32_t quitCode = 0;
};

// Runs the host once over `calls`. With writeFrames false nothing is written
// or compared (the benchmarks time the run itself). Prints what differs on
// standard output and errors on standard error.
ReplaySummary RunReplay(const ReplayOptions &options, const std::vector<ScriptCall> &calls,
                        bool writeFrames = true);

// The whole program: options, script, run. Answers the exit code.
int ReplayMain(const std::vector<std::string> &args);

} // namespace replay

#endif
