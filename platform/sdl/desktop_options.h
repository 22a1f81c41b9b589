// desktop_options.h - the desktop host's command line.
#ifndef VANTREL_PLATFORM_SDL_DESKTOP_OPTIONS_H
#define VANTREL_PLATFORM_SDL_DESKTOP_OPTIONS_H

#include <cstdint>
#include <string>

namespace sdlplat {

// What the command line asks for. Strings point into argv, which outlives
// the run; a null string is an option that was not given.
struct DesktopOptions {
  bool help = false;
  bool version = false;
  // The module to load instead of searching for prog.dll.
  const char *modulePath = nullptr;
  // A window of the module's mode times `scale` instead of the full screen.
  bool windowed = false;
  int32_t scale = 1;
  // At most this many calls of the module a second; 0 is no cap.
  int32_t fpsCap = 0;
  // Refuse display modes that the Windows host may not get.
  bool strictModes = false;
  // Where the session is recorded as a replay script.
  const char *recordPath = nullptr;
};

enum class ParseStatus {
  Run,     // options read: start the host
  Help,    // print the help text, exit 0
  Version, // print the version, exit 0
  Error,   // print the message, exit 2
};

struct ParseResult {
  ParseStatus status = ParseStatus::Run;
  std::string message; // the error's text for an Error, without a newline
};

// Reads argv[1..argc-1] into *options (which keeps its defaults for options
// not given). Values follow their option as the next argument or after '='.
// Arguments are read in order and the first that settles the outcome wins:
// --help, --version or a malformed argument; later ones are not looked at.
ParseResult ParseDesktopOptions(int argc, char *const *argv, DesktopOptions *options);

// The text --help prints: every option, one a line.
const char *DesktopHelpText();
// The line --version prints, with its newline.
std::string DesktopVersionText();

// Prints what a parse result asks for (help and version on standard output,
// an error on standard error with a pointer to --help) and answers the exit
// code, or -1 when the host is to run.
int ReportParseResult(const ParseResult &result);

// The largest --scale and --fps-cap accepted.
constexpr int32_t kMaxScale = 16;
constexpr int32_t kMaxFpsCap = 10000;

} // namespace sdlplat

#endif
