// play_options.h - how the player chooses to play: the options both hosts
// take on their command line, and the record they fill.
#ifndef VANTREL_PLATFORM_OPTIONS_PLAY_OPTIONS_H
#define VANTREL_PLATFORM_OPTIONS_PLAY_OPTIONS_H

#include <cstdint>
#include <string>
#include <string_view>

namespace playopts {

// How the game is shown.
enum class Presentation {
  // The display itself switches to the module's mode (DirectDraw full screen
  // on Windows; the desktop host, which never changes the display's mode,
  // shows it over the whole desktop as for Borderless).
  Exclusive,
  // A borderless window over the whole desktop at the desktop's own mode.
  Borderless,
  // A window of the module's mode times `scale`.
  Windowed,
};

// The largest --scale and --fps-cap accepted.
constexpr int32_t kMaxScale = 16;
constexpr int32_t kMaxFpsCap = 10000;

// What the player asked for. Each setting that vantrel.ini may also give
// carries a `...Given` flag: true when the command line (or, in the record a
// file was read into, the file) named it, so a later source fills only what
// an earlier one left.
struct PlayOptions {
  bool help = false;
  bool version = false;
  // The module to load instead of searching for prog.dll; "" searches.
  std::string modulePath;
  bool moduleGiven = false;
  Presentation presentation = Presentation::Exclusive;
  bool presentationGiven = false;
  // Window pixels per mode pixel in a window.
  int32_t scale = 1;
  bool scaleGiven = false;
  // At most this many idle turns a second; 0 is no cap.
  int32_t fpsCap = 0;
  bool fpsCapGiven = false;
  // Refuse display modes that the Windows host may not get.
  bool strictModes = false;
  // Where the session is recorded as a replay script; "" records nothing.
  std::string recordPath;
};

enum class ParseStatus {
  Run,     // options read: start the host
  Help,    // show the help text, exit 0
  Version, // show the version, exit 0
  Error,   // show the message, exit 2
};

struct ParseResult {
  ParseStatus status = ParseStatus::Run;
  std::string message; // the error's text for an Error, without a newline
};

// Reads argv[1..argc-1] into *options (which keeps its defaults for options
// not given). Values follow their option as the next argument or after '='.
// Of --exclusive, --borderless and --windowed the last one given wins.
// Arguments are read in order and the first that settles the outcome wins:
// --help, --version or a malformed argument; later ones are not looked at.
ParseResult ParsePlayOptions(int argc, const char *const *argv, PlayOptions *options);

// Fills what the command line left from what a file gave: each setting with
// its `...Given` flag set in *fromFile and clear in *options is taken over
// (the flag stays clear: the command line still did not give it).
void FillFromFile(const PlayOptions &fromFile, PlayOptions *options);

// A plain decimal number within [min, max]: digits only, no sign, no spaces.
bool ReadWholeNumber(std::string_view text, int32_t min, int32_t max, int32_t *out);

// The name of a presentation as the file and the help text spell it.
const char *PresentationName(Presentation presentation);

} // namespace playopts

#endif
