// replay_options.cpp - the command line of vantrel-replay.
#include "replay/replay_options.h"

#include "vantrel_version.h"

#include <algorithm>
#include <charconv>

namespace replay {

const char *const kReplayUsage =
    "Usage: vantrel-replay [--module PATH] [--out DIR] [--golden DIR] [--update]\n"
    "                      [--tolerance N] [--frames LIST | --every N]\n"
    "                      [--sound-log FILE] [--sound-golden FILE] SCRIPT\n"
    "\n"
    "Runs a game module without a screen: loads it as vantrel does, starts it,\n"
    "delivers the calls of SCRIPT one by one with their elapsed times, then ends\n"
    "the run as closing the window would (EV_SHUTDOWN, the box \"DESTROY!\" on\n"
    "standard error). A module that ends the run itself stops the replay there.\n"
    "\n"
    "  --module PATH    the module to run (default: prog.dll, looked for as vantrel\n"
    "                   does: next to this program, the system's library paths,\n"
    "                   the current folder)\n"
    "  --out DIR        where frames and diff images go (default: the current folder)\n"
    "  --frames LIST    write only these presented frames, numbered from 1 in the\n"
    "                   order they are flipped: numbers and ranges, as 1,60,100-120\n"
    "  --every N        write every Nth frame (N, 2N, ...); default: every frame\n"
    "  --golden DIR     compare each written frame with DIR/frame-NNNNNN.png; for\n"
    "                   each one that differs write frame-NNNNNN-diff.png beside the\n"
    "                   frame (the frame dimmed, differing pixels in magenta) and\n"
    "                   print the count of differing pixels and their bounding box.\n"
    "                   Without --frames or --every, the frames compared are those\n"
    "                   DIR has goldens for. --out must be another folder\n"
    "  --update         write the chosen frames into the --golden folder instead\n"
    "                   of comparing (without --frames or --every: the goldens\n"
    "                   that are there)\n"
    "  --tolerance N    a pixel matches when no channel differs by more than N\n"
    "                   (0 to 255, default 0)\n"
    "  --sound-log FILE write one line per sound call of the module (PlaySoundA,\n"
    "                   sndPlaySoundA): the frame on the screen, the sound, the\n"
    "                   flags and the answer, as `frame 120 PlaySoundA \"boom.wav\"\n"
    "                   0x00020001 -> 1`; the answers are the desktop host's\n"
    "  --sound-golden FILE  compare the sound log (written to --sound-log, else to\n"
    "                   DIR/sounds.log of --out) with FILE and print the first line\n"
    "                   that differs; with --update, write FILE instead\n"
    "  --help           this text\n"
    "  --version        the version\n"
    "\n"
    "Frames are PNG files named frame-NNNNNN.png, at the module's display mode, in\n"
    "the colours the desktop host shows. The same module and script give the same\n"
    "pixels on every run.\n"
    "\n"
    "Exit codes:\n"
    "  0  every compared frame matches its golden (or nothing was compared)\n"
    "  1  a frame differs from its golden, a golden is missing, or a chosen frame\n"
    "     (listed, or with a golden) was never presented\n"
    "  2  a usage, script or file error (a bad script line is named by its number;\n"
    "     a frame that cannot be written or a golden that cannot be read is named)\n"
    "  3  the module could not be started (the host's box texts are on standard\n"
    "     error)\n"
    "  4  the module crashed; standard error names the script line of the call\n"
    "     it crashed in, the event and the frame\n"
    "\n"
    "The script is plain text, one call per line, after the line 'vantrel-replay 1':\n"
    "  frame 16 [xN]      idle turns with elapsed 16     keydown LEFT [E] / keyup\n"
    "  move X Y [E]       the pointer, in mode pixels    ldown/lup/rdown/rup [E]\n"
    "  wait MS / step S   MS of idle turns of S ms       press KEY / click left|right\n"
    "'vantrel --record FILE' writes one while you play.\n";

namespace {

bool Unsigned(const std::string &text, uint32_t max, uint32_t *out) {
  uint32_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || n > max) {
    return false;
  }
  *out = n;
  return true;
}

bool FrameList(const std::string &text, std::vector<uint32_t> *out) {
  constexpr uint32_t kMaxFrame = 99999999;
  constexpr uint32_t kMaxListed = 1000000;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    const size_t dash = item.find('-');
    uint32_t first = 0;
    uint32_t last = 0;
    if (dash == std::string::npos) {
      if (!Unsigned(item, kMaxFrame, &first)) {
        return false;
      }
      last = first;
    } else if (!Unsigned(item.substr(0, dash), kMaxFrame, &first) ||
               !Unsigned(item.substr(dash + 1), kMaxFrame, &last)) {
      return false;
    }
    if (first == 0 || last < first || out->size() + (last - first) > kMaxListed) {
      return false;
    }
    for (uint32_t n = first; n <= last; ++n) {
      out->push_back(n);
    }
    start = comma + 1;
  }
  std::sort(out->begin(), out->end());
  out->erase(std::unique(out->begin(), out->end()), out->end());
  return !out->empty();
}

} // namespace

bool ParseReplayOptions(const std::vector<std::string> &args, ReplayOptions *out,
                        std::string *error) {
  ReplayOptions options;
  std::string ignored;
  std::string &why = error != nullptr ? *error : ignored;
  bool sawFrames = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--version") {
      options.version = true;
      continue;
    }
    if (arg == "--update") {
      options.update = true;
      continue;
    }
    const bool takesValue = arg == "--module" || arg == "--out" || arg == "--golden" ||
                            arg == "--tolerance" || arg == "--frames" || arg == "--every" ||
                            arg == "--sound-log" || arg == "--sound-golden";
    if (takesValue) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        why = arg + " needs a value";
        return false;
      }
      const std::string &value = args[++i];
      uint32_t n = 0;
      if (arg == "--module") {
        options.module = value;
      } else if (arg == "--out") {
        options.out = value;
      } else if (arg == "--golden") {
        options.golden = value;
      } else if (arg == "--sound-log") {
        options.soundLog = value;
      } else if (arg == "--sound-golden") {
        options.soundGolden = value;
      } else if (arg == "--tolerance") {
        if (!Unsigned(value, 255, &n)) {
          why = "--tolerance takes a number from 0 to 255, not '" + value + "'";
          return false;
        }
        options.tolerance = static_cast<int32_t>(n);
      } else if (arg == "--every") {
        if (!Unsigned(value, 99999999, &n) || n == 0) {
          why = "--every takes a number of at least 1, not '" + value + "'";
          return false;
        }
        options.every = n;
      } else {
        options.frames.clear();
        if (!FrameList(value, &options.frames)) {
          why = "--frames takes frame numbers from 1 and ranges, as 1,60,100-120, not '" + value +
                "'";
          return false;
        }
        sawFrames = true;
      }
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      why = "unknown option '" + arg + "'";
      return false;
    }
    if (!options.script.empty()) {
      why = "one script only ('" + options.script + "' and '" + arg + "')";
      return false;
    }
    options.script = arg;
  }
  if (options.help || options.version) {
    *out = options;
    return true;
  }
  if (sawFrames && options.every != 0) {
    why = "--frames and --every cannot be used together";
    return false;
  }
  if (options.update && options.golden.empty() && options.soundGolden.empty()) {
    why = "--update needs --golden DIR or --sound-golden FILE";
    return false;
  }
  if (options.script.empty()) {
    why = "no script given";
    return false;
  }
  *out = options;
  return true;
}

std::string ReplayVersionText() { return std::string("vantrel-replay ") + VANTREL_VERSION + "\n"; }

bool FrameChosen(const ReplayOptions &options, uint32_t n) {
  if (!options.frames.empty()) {
    return std::binary_search(options.frames.begin(), options.frames.end(), n);
  }
  return options.every == 0 || n % options.every == 0;
}

} // namespace replay
