// The hosts' command line: what each argument list yields, and what the
// hosts say for it.
#include "platform/options/play_help.h"
#include "platform/options/play_options.h"
#include "vantrel_version.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using playopts::ParseStatus;
using playopts::PlayOptions;
using playopts::Presentation;

// Parses one argument list (after the program's name) into *options.
playopts::ParseResult Parse(std::vector<std::string> args, PlayOptions *options) {
  args.insert(args.begin(), "vantrel");
  std::vector<const char *> argv;
  for (const auto &a : args) {
    argv.push_back(a.c_str());
  }
  return playopts::ParsePlayOptions(static_cast<int>(argv.size()), argv.data(), options);
}

playopts::ParseResult Parse(std::vector<std::string> args) {
  PlayOptions options;
  return Parse(std::move(args), &options);
}

constexpr Presentation Excl = Presentation::Exclusive;
constexpr Presentation Bord = Presentation::Borderless;
constexpr Presentation Win = Presentation::Windowed;

struct Accepted {
  std::vector<std::string> args;
  std::string module; // expected modulePath ("" when none)
  Presentation presentation;
  int32_t scale;
  int32_t fpsCap;
  bool strict;
  std::string record;
};

TEST(PlayOptions, AcceptedLines) {
  const Accepted table[] = {
      {{}, "", Excl, 1, 0, false, ""},
      {{"--module", "games/prog.so"}, "games/prog.so", Excl, 1, 0, false, ""},
      {{"--module=x.dll"}, "x.dll", Excl, 1, 0, false, ""},
      {{"--windowed", "--scale", "3"}, "", Win, 3, 0, false, ""},
      {{"--scale=16", "--windowed"}, "", Win, 16, 0, false, ""},
      {{"--fps-cap", "60"}, "", Excl, 1, 60, false, ""},
      {{"--fps-cap=10000"}, "", Excl, 1, 10000, false, ""},
      {{"--fps-cap", "0"}, "", Excl, 1, 0, false, ""}, // no cap, over a file's
      {{"--strict-modes", "--record", "run.txt"}, "", Excl, 1, 0, true, "run.txt"},
      // The last of a repeated option wins; a value may itself start "--".
      {{"--scale", "2", "--scale", "4"}, "", Excl, 4, 0, false, ""},
      {{"--record", "--windowed"}, "", Excl, 1, 0, false, "--windowed"},
      // The last presentation given wins.
      {{"--borderless"}, "", Bord, 1, 0, false, ""},
      {{"--exclusive"}, "", Excl, 1, 0, false, ""},
      {{"--windowed", "--borderless"}, "", Bord, 1, 0, false, ""},
      {{"--borderless", "--windowed"}, "", Win, 1, 0, false, ""},
      {{"--windowed", "--scale", "2", "--exclusive"}, "", Excl, 2, 0, false, ""},
      {{"--exclusive", "--borderless", "--windowed", "--exclusive"}, "", Excl, 1, 0, false, ""},
  };
  for (const auto &row : table) {
    PlayOptions o;
    const auto result = Parse(row.args, &o);
    const std::string line = testing::PrintToString(row.args);
    ASSERT_EQ(result.status, ParseStatus::Run) << line << ": " << result.message;
    EXPECT_EQ(o.modulePath, row.module) << line;
    EXPECT_EQ(o.presentation, row.presentation) << line;
    EXPECT_EQ(o.scale, row.scale) << line;
    EXPECT_EQ(o.fpsCap, row.fpsCap) << line;
    EXPECT_EQ(o.strictModes, row.strict) << line;
    EXPECT_EQ(o.recordPath, row.record) << line;
  }
}

struct Refused {
  std::vector<std::string> args;
  const char *message; // the error's exact text
};

TEST(PlayOptions, RefusedLines) {
  const Refused table[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--win"}, "unknown option '--win'"}, // no abbreviations
      {{"--fullscreen"}, "unknown option '--fullscreen'"},
      {{"-h"}, "unexpected argument '-h'"},
      {{"prog.dll"}, "unexpected argument 'prog.dll'"},
      {{"--"}, "unexpected argument '--'"},
      {{"--module"}, "option '--module' needs a value"},
      {{"--module="}, "option '--module' needs a value"},
      {{"--record"}, "option '--record' needs a value"},
      {{"--scale"}, "option '--scale' needs a value"},
      {{"--windowed=yes"}, "option '--windowed' takes no value"},
      {{"--borderless=1"}, "option '--borderless' takes no value"},
      {{"--exclusive="}, "option '--exclusive' takes no value"},
      {{"--scale", "0"}, "option '--scale' needs a whole number from 1 to 16, not '0'"},
      {{"--scale", "17"}, "option '--scale' needs a whole number from 1 to 16, not '17'"},
      {{"--scale", "-2"}, "option '--scale' needs a whole number from 1 to 16, not '-2'"},
      {{"--scale", "2x"}, "option '--scale' needs a whole number from 1 to 16, not '2x'"},
      {{"--scale="}, "option '--scale' needs a whole number from 1 to 16, not ''"},
      {{"--fps-cap", "-1"}, "option '--fps-cap' needs a whole number from 0 to 10000, not '-1'"},
      {{"--fps-cap", "99999999999999999999"},
       "option '--fps-cap' needs a whole number from 0 to 10000, not '99999999999999999999'"},
      {{"--fps-cap", " 60"}, "option '--fps-cap' needs a whole number from 0 to 10000, not ' 60'"},
      // The first bad argument is the one named.
      {{"--windowed", "--nope", "--help"}, "unknown option '--nope'"},
  };
  for (const auto &row : table) {
    const auto result = Parse(row.args);
    const std::string line = testing::PrintToString(row.args);
    EXPECT_EQ(result.status, ParseStatus::Error) << line;
    EXPECT_EQ(result.message, row.message) << line;
  }
}

TEST(PlayOptions, HelpAndVersionStopTheReading) {
  const struct {
    std::vector<std::string> args;
    ParseStatus status;
  } table[] = {
      {{"--help"}, ParseStatus::Help},
      {{"--version"}, ParseStatus::Version},
      {{"--windowed", "--help", "--bogus"}, ParseStatus::Help},
      {{"--version", "--help"}, ParseStatus::Version},
      {{"--help=1"}, ParseStatus::Error},
  };
  for (const auto &row : table) {
    EXPECT_EQ(Parse(row.args).status, row.status) << testing::PrintToString(row.args);
  }
}

TEST(PlayOptions, ExitCodesAndWhereTheTextGoes) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(playopts::ReportParseResult({ParseStatus::Run, {}}), -1);
  EXPECT_EQ(playopts::ReportParseResult({ParseStatus::Version, {}}), 0);
  EXPECT_EQ(playopts::ReportParseResult({ParseStatus::Error, "unknown option '--x'"}), 2);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "vantrel " VANTREL_VERSION "\n");
  EXPECT_EQ(err, "vantrel: unknown option '--x'\nTry 'vantrel --help' for the options.\n");
}

TEST(PlayOptions, HelpNamesEveryOption) {
  using playopts::Host;
  const struct {
    Host host;
    std::vector<const char *> names;
  } table[] = {
      {Host::Desktop,
       {"Usage: vantrel [", "--help", "--version", "--module PATH", "--exclusive", "--borderless",
        "--windowed", "--scale N", "--fps-cap N", "--strict-modes", "--record FILE", "Alt+Enter",
        "Print Screen", "vantrel.ini",
        "present=", "scale=", "fps_cap=", "module=", "same as --borderless"}},
      {Host::Windows,
       {"Usage: vantrel.exe [", "--help", "--version", "--module PATH", "--exclusive",
        "--borderless", "--windowed", "--scale N", "--fps-cap N", "--record FILE", "Escape",
        "Alt+Enter", "Print Screen", "vantrel-YYYYMMDD-HHMMSS.png beside the game", "vantrel.ini",
        "present=", "scale=", "fps_cap=", "module="}},
  };
  for (const auto &row : table) {
    const std::string help = playopts::HelpText(row.host);
    for (const char *name : row.names) {
      EXPECT_NE(help.find(name), std::string::npos) << name;
    }
  }
}

} // namespace
