// play_help.h - what the hosts say for --help, --version and a bad command
// line, and where it goes on a program with a console.
#ifndef VANTREL_PLATFORM_OPTIONS_PLAY_HELP_H
#define VANTREL_PLATFORM_OPTIONS_PLAY_HELP_H

#include "platform/options/play_options.h"

#include <string>

namespace playopts {

// The host whose words are used: the desktop's `vantrel` or Windows'
// `vantrel.exe`.
enum class Host { Desktop, Windows };

// The text --help shows: every option, one a line, the keys and the keys of
// vantrel.ini.
const char *HelpText(Host host);
// The line --version shows, with its newline.
std::string VersionText();

// What a parse result asks the host to say: the text (with its newline), on
// the error stream or not, and the exit code; -1 (and no text) when the host
// is to run.
struct ParseAnswer {
  int exitCode = -1;
  std::string text;
  bool isError = false;
};
ParseAnswer AnswerParseResult(const ParseResult &result, Host host);

// Prints what a parse result asks for (help and version on standard output,
// an error on standard error with a pointer to --help) and answers the exit
// code, or -1 when the host is to run.
int ReportParseResult(const ParseResult &result, Host host = Host::Desktop);

} // namespace playopts

#endif
