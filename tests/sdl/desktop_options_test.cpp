// The desktop host's command line: what each argument list yields.
#include "platform/sdl/desktop_options.h"
#include "vantrel_version.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using sdlplat::DesktopOptions;
using sdlplat::ParseStatus;

// The outcome of one argument list (the options' strings would point into a
// vector that is gone, so only the result is kept).
sdlplat::ParseResult Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "vantrel");
  std::vector<char *> argv;
  for (auto &a : args) {
    argv.push_back(a.data());
  }
  DesktopOptions options;
  return sdlplat::ParseDesktopOptions(static_cast<int>(argv.size()), argv.data(), &options);
}

struct Accepted {
  std::vector<std::string> args;
  const char *module; // expected modulePath, or null
  bool windowed;
  int32_t scale;
  int32_t fpsCap;
  bool strict;
  const char *record;
};

TEST(DesktopOptions, AcceptedLines) {
  const Accepted table[] = {
      {{}, nullptr, false, 1, 0, false, nullptr},
      {{"--module", "games/prog.so"}, "games/prog.so", false, 1, 0, false, nullptr},
      {{"--module=x.dll"}, "x.dll", false, 1, 0, false, nullptr},
      {{"--windowed", "--scale", "3"}, nullptr, true, 3, 0, false, nullptr},
      {{"--scale=16", "--windowed"}, nullptr, true, 16, 0, false, nullptr},
      {{"--fps-cap", "60"}, nullptr, false, 1, 60, false, nullptr},
      {{"--fps-cap=10000"}, nullptr, false, 1, 10000, false, nullptr},
      {{"--strict-modes", "--record", "run.txt"}, nullptr, false, 1, 0, true, "run.txt"},
      // The last of a repeated option wins; a value may itself start "--".
      {{"--scale", "2", "--scale", "4"}, nullptr, false, 4, 0, false, nullptr},
      {{"--record", "--windowed"}, nullptr, false, 1, 0, false, "--windowed"},
  };
  for (const auto &row : table) {
    std::vector<std::string> args = row.args;
    args.insert(args.begin(), "vantrel");
    std::vector<char *> argv;
    for (auto &a : args) {
      argv.push_back(a.data());
    }
    DesktopOptions o;
    const auto result =
        sdlplat::ParseDesktopOptions(static_cast<int>(argv.size()), argv.data(), &o);
    const std::string line = testing::PrintToString(row.args);
    ASSERT_EQ(result.status, ParseStatus::Run) << line << ": " << result.message;
    EXPECT_EQ(o.modulePath == nullptr, row.module == nullptr) << line;
    if (row.module != nullptr && o.modulePath != nullptr) {
      EXPECT_STREQ(o.modulePath, row.module) << line;
    }
    EXPECT_EQ(o.windowed, row.windowed) << line;
    EXPECT_EQ(o.scale, row.scale) << line;
    EXPECT_EQ(o.fpsCap, row.fpsCap) << line;
    EXPECT_EQ(o.strictModes, row.strict) << line;
    EXPECT_EQ(o.recordPath == nullptr, row.record == nullptr) << line;
    if (row.record != nullptr && o.recordPath != nullptr) {
      EXPECT_STREQ(o.recordPath, row.record) << line;
    }
  }
}

struct Refused {
  std::vector<std::string> args;
  const char *message; // the error's exact text
};

TEST(DesktopOptions, RefusedLines) {
  const Refused table[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--win"}, "unknown option '--win'"}, // no abbreviations
      {{"-h"}, "unexpected argument '-h'"},
      {{"prog.dll"}, "unexpected argument 'prog.dll'"},
      {{"--"}, "unexpected argument '--'"},
      {{"--module"}, "option '--module' needs a value"},
      {{"--module="}, "option '--module' needs a value"},
      {{"--record"}, "option '--record' needs a value"},
      {{"--scale"}, "option '--scale' needs a value"},
      {{"--windowed=yes"}, "option '--windowed' takes no value"},
      {{"--scale", "0"}, "option '--scale' needs a whole number from 1 to 16, not '0'"},
      {{"--scale", "17"}, "option '--scale' needs a whole number from 1 to 16, not '17'"},
      {{"--scale", "-2"}, "option '--scale' needs a whole number from 1 to 16, not '-2'"},
      {{"--scale", "2x"}, "option '--scale' needs a whole number from 1 to 16, not '2x'"},
      {{"--scale="}, "option '--scale' needs a whole number from 1 to 16, not ''"},
      {{"--fps-cap", "99999999999999999999"},
       "option '--fps-cap' needs a whole number from 1 to 10000, not '99999999999999999999'"},
      {{"--fps-cap", " 60"}, "option '--fps-cap' needs a whole number from 1 to 10000, not ' 60'"},
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

TEST(DesktopOptions, HelpAndVersionStopTheReading) {
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

TEST(DesktopOptions, ExitCodesAndWhereTheTextGoes) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(sdlplat::ReportParseResult({ParseStatus::Run, {}}), -1);
  EXPECT_EQ(sdlplat::ReportParseResult({ParseStatus::Version, {}}), 0);
  EXPECT_EQ(sdlplat::ReportParseResult({ParseStatus::Error, "unknown option '--x'"}), 2);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "vantrel " VANTREL_VERSION "\n");
  EXPECT_EQ(err, "vantrel: unknown option '--x'\nTry 'vantrel --help' for the options.\n");
}

TEST(DesktopOptions, HelpNamesEveryOption) {
  const std::string help = sdlplat::DesktopHelpText();
  for (const char *name :
       {"--help", "--version", "--module PATH", "--windowed", "--scale N", "--fps-cap N",
        "--strict-modes", "--record FILE", "Alt+Enter", "Print Screen"}) {
    EXPECT_NE(help.find(name), std::string::npos) << name;
  }
}

} // namespace
