// play_options.cpp - reading the hosts' command line.
#include "platform/options/play_options.h"

#include <cstring>

namespace playopts {
namespace {

enum class Kind { Flag, Text, Number };

struct OptionRule {
  const char *name;
  Kind kind;
  int32_t min; // for numbers
  int32_t max;
};

constexpr OptionRule kOptions[] = {
    {"--help", Kind::Flag, 0, 0},
    {"--version", Kind::Flag, 0, 0},
    {"--module", Kind::Text, 0, 0},
    {"--exclusive", Kind::Flag, 0, 0},
    {"--borderless", Kind::Flag, 0, 0},
    {"--windowed", Kind::Flag, 0, 0},
    {"--scale", Kind::Number, 1, kMaxScale},
    {"--fps-cap", Kind::Number, 0, kMaxFpsCap},
    {"--strict-modes", Kind::Flag, 0, 0},
    {"--record", Kind::Text, 0, 0},
};

const OptionRule *FindOption(const char *name, size_t length) {
  for (const auto &rule : kOptions) {
    if (std::strlen(rule.name) == length && std::strncmp(rule.name, name, length) == 0) {
      return &rule;
    }
  }
  return nullptr;
}

ParseResult Fail(std::string message) { return {ParseStatus::Error, std::move(message)}; }

void SetPresentation(PlayOptions *options, Presentation presentation) {
  options->presentation = presentation;
  options->presentationGiven = true;
}

} // namespace

ParseResult ParsePlayOptions(int argc, const char *const *argv, PlayOptions *options) {
  if (options == nullptr) {
    return Fail("no place for the options");
  }
  for (int i = 1; i < argc && argv != nullptr; ++i) {
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
    const OptionRule *rule = FindOption(arg, nameLength);
    const std::string name(arg, nameLength);
    if (rule == nullptr) {
      return Fail("unknown option '" + name + "'");
    }
    const char *value = nullptr;
    if (rule->kind == Kind::Flag) {
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
    if (rule->kind == Kind::Text && (value == nullptr || *value == '\0')) {
      return Fail("option '" + name + "' needs a value");
    }
    int32_t number = 0;
    if (rule->kind == Kind::Number && !ReadWholeNumber(value, rule->min, rule->max, &number)) {
      return Fail("option '" + name + "' needs a whole number from " + std::to_string(rule->min) +
                  " to " + std::to_string(rule->max) + ", not '" + value + "'");
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
      options->moduleGiven = true;
    } else if (name == "--exclusive") {
      SetPresentation(options, Presentation::Exclusive);
    } else if (name == "--borderless") {
      SetPresentation(options, Presentation::Borderless);
    } else if (name == "--windowed") {
      SetPresentation(options, Presentation::Windowed);
    } else if (name == "--scale") {
      options->scale = number;
      options->scaleGiven = true;
    } else if (name == "--fps-cap") {
      options->fpsCap = number;
      options->fpsCapGiven = true;
    } else if (name == "--strict-modes") {
      options->strictModes = true;
    } else if (name == "--record") {
      options->recordPath = value;
    }
  }
  return {ParseStatus::Run, {}};
}

void FillFromFile(const PlayOptions &fromFile, PlayOptions *options) {
  if (options == nullptr) {
    return;
  }
  if (fromFile.moduleGiven && !options->moduleGiven) {
    options->modulePath = fromFile.modulePath;
  }
  if (fromFile.presentationGiven && !options->presentationGiven) {
    options->presentation = fromFile.presentation;
  }
  if (fromFile.scaleGiven && !options->scaleGiven) {
    options->scale = fromFile.scale;
  }
  if (fromFile.fpsCapGiven && !options->fpsCapGiven) {
    options->fpsCap = fromFile.fpsCap;
  }
}

bool ReadWholeNumber(std::string_view text, int32_t min, int32_t max, int32_t *out) {
  if (text.empty()) {
    return false;
  }
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    value = value * 10 + (c - '0');
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

const char *PresentationName(Presentation presentation) {
  switch (presentation) {
  case Presentation::Exclusive:
    return "exclusive";
  case Presentation::Borderless:
    return "borderless";
  case Presentation::Windowed:
    return "windowed";
  }
  return "exclusive";
}

} // namespace playopts
