// replay_options.h - the command line of vantrel-replay.
#ifndef VANTREL_REPLAY_REPLAY_OPTIONS_H
#define VANTREL_REPLAY_REPLAY_OPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

struct ReplayOptions {
  std::string module; // empty: the host's own search for prog.dll
  std::string out = ".";
  std::string golden; // empty: nothing compared
  bool update = false;
  int32_t tolerance = 0;
  uint32_t every = 0;           // 0: every frame, or the list below
  std::vector<uint32_t> frames; // sorted, without repeats; empty: see `every`
  std::string script;
  std::string soundLog;    // empty: no sound log (unless soundGolden asks for one)
  std::string soundGolden; // empty: the sound log is compared with nothing
  bool help = false;
  bool version = false;
};

// Reads the arguments after the program's name. False with the reason in
// `error` for an unknown option, a missing or bad value, or no script.
bool ParseReplayOptions(const std::vector<std::string> &args, ReplayOptions *out,
                        std::string *error);

// Whether frame `n` (from 1) is one the options choose.
bool FrameChosen(const ReplayOptions &options, uint32_t n);

// What --help prints.
extern const char *const kReplayUsage;

// What --version prints: "vantrel-replay 1.2.3" and a line end.
std::string ReplayVersionText();

} // namespace replay

#endif
