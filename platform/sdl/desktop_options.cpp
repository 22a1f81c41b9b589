// desktop_options.cpp - reading the desktop host's command line.
#include "platform/sdl/desktop_options.h"

#include "vantrel_version.h"

#include <cstdio>
#include <cstring>

namespace sdlplat {
namespace {

enum class Kind { Flag, Text, Number };

struct OptionSpec {
  const char *name;
  Kind kind;
  int32_t min; // for numbers
  int32_t max;
};

constexpr OptionSpec kOptions[] = {
    {"--help", Kind::Flag, 0, 0},
    {"--version", Kind::Flag, 0, 0},
    {"--module", Kind::Text, 0, 0},
    {"--windowed", Kind::Flag, 0, 0},
    {"--scale", Kind::Number, 1, kMaxScale},
    {"--fps-cap", Kind::Number, 1, kMaxFpsCap},
    {"--strict-modes", Kind::Flag, 0, 0},
    {"--record", Kind::Text, 0, 0},
};

const OptionSpec *FindOption(const char *name, size_t length) {
  for (const auto &spec : kOptions) {
    if (std::strlen(spec.name) == length && std::strncmp(spec.name, name, length) == 0) {
      return &spec;
    }
  }
  return nullptr;
}

// A plain decimal number within [min, max]: digits only, no sign, no spaces.
bool ReadNumber(const char *text, int32_t min, int32_t max, int32_t *out) {
  if (text == nullptr || *text == '\0') {
    return false;
  }
  int64_t value = 0;
  for (const char *c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') {
      return false;
    }
    value = value * 10 + (*c - '0');
    if (value > max) {
      return false;
    }
  }
  if (value < min) {
    return false;
  }
  *out = static_cast<int32_t>(value);
  return true;
}

ParseResult Fail(std::string message) { return {ParseStatus::Error, std::move(message)}; }

} // namespace

ParseResult ParseDesktopOptions(int argc, char *const *argv, DesktopOptions *options) {
  if (options == nullptr) {
    return Fail("no place for the options");
  }
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    if (arg == nullptr) {
      break;
    }
    if (std::strncmp(arg, "--", 2) != 0 || arg[2] == '\0') {
      return Fail(std::string("unexpected argument '") + arg + "'");
    }
    const char *equals = std::strchr(arg, '=');
    const size_t nameLength =
        equals != nullptr ? static_cast<size_t>(equals - arg) : std::strlen(arg);
    const OptionSpec *spec = FindOption(arg, nameLength);
    const std::string name(arg, nameLength);
    if (spec == nullptr) {
      return Fail("unknown option '" + name + "'");
    }
    const char *value = nullptr;
    if (spec->kind == Kind::Flag) {
      if (equals != nullptr) {
        return Fail("option '" + name + "' takes no value");
      }
    } else if (equals != nullptr) {
      value = equals + 1;
    } else if (i + 1 < argc && argv[i + 1] != nullptr) {
      value = argv[++i];
    } else {
      return Fail("option '" + name + "' needs a value");
    }
    if (spec->kind == Kind::Text && (value == nullptr || *value == '\0')) {
      return Fail("option '" + name + "' needs a value");
    }
    int32_t number = 0;
    if (spec->kind == Kind::Number && !ReadNumber(value, spec->min, spec->max, &number)) {
      return Fail("option '" + name + "' needs a whole number from " + std::to_string(spec->min) +
                  " to " + std::to_string(spec->max) + ", not '" + value + "'");
    }

    if (name == "--help") {
      options->help = true;
      return {ParseStatus::Help, {}};
    }
    if (name == "--version") {
      options->version = true;
      return {ParseStatus::Version, {}};
    }
    if (name == "--module") {
      options->modulePath = value;
    } else if (name == "--windowed") {
      options->windowed = true;
    } else if (name == "--scale") {
      options->scale = number;
    } else if (name == "--fps-cap") {
      options->fpsCap = number;
    } else if (name == "--strict-modes") {
      options->strictModes = true;
    } else if (name == "--record") {
      options->recordPath = value;
    }
  }
  return {ParseStatus::Run, {}};
}

const char *DesktopHelpText() {
  return "Usage: vantrel [OPTION]...\n"
         "Runs a game module (prog.dll) full screen.\n"
         "\n"
         "  --module PATH   load the module at PATH instead of searching for prog.dll\n"
         "                  (beside the program, then the system's library paths,\n"
         "                  then the current folder)\n"
         "  --windowed      run in a window of the module's display mode instead of\n"
         "                  the full screen; Alt+Enter switches between the two\n"
         "  --scale N       make the window N times the mode's size (1 to 16, default 1)\n"
         "  --fps-cap N     call the module at most N times a second (1 to 10000;\n"
         "                  default: as often as it can)\n"
         "  --strict-modes  refuse display modes the Windows host may not get\n"
         "  --record FILE   record the session as a replay script in FILE\n"
         "  --help          print this help and exit\n"
         "  --version       print the version and exit\n"
         "\n"
         "Keys: Escape ends the run; Alt+Enter switches between window and full\n"
         "screen; Print Screen saves the current frame as\n"
         "vantrel-YYYYMMDD-HHMMSS.png in the current folder.\n"
         "\n"
         "Exit status: the module's quit code; 1 when start-up fails; 2 for a bad\n"
         "command line.\n";
}

std::string DesktopVersionText() { return std::string("vantrel ") + VANTREL_VERSION + "\n"; }

int ReportParseResult(const ParseResult &result) {
  switch (result.status) {
  case ParseStatus::Help:
    std::fputs(DesktopHelpText(), stdout);
    return 0;
  case ParseStatus::Version:
    std::fputs(DesktopVersionText().c_str(), stdout);
    return 0;
  case ParseStatus::Error:
    std::fprintf(stderr, "vantrel: %s\nTry 'vantrel --help' for the options.\n",
                 result.message.c_str());
    return 2;
  case ParseStatus::Run:
    break;
  }
  return -1;
}

} // namespace sdlplat
