// play_help.cpp - the hosts' help and version texts and their answers to a
// parsed command line.
#include "platform/options/play_help.h"

#include "vantrel_version.h"

#include <cstdio>

namespace playopts {
namespace {

constexpr const char *kDesktopHelp =
    "Usage: vantrel [OPTION]...\n"
    "Runs a game module (prog.dll) full screen.\n"
    "\n"
    "  --module PATH   load the module at PATH instead of searching for prog.dll\n"
    "                  (beside the program, then the system's library paths,\n"
    "                  then the current folder)\n"
    "  --exclusive     full screen (the default); this host never changes the\n"
    "                  display's mode, so it is the same as --borderless\n"
    "  --borderless    full screen: a borderless window over the whole desktop\n"
    "                  at the desktop's own mode\n"
    "  --windowed      run in a window of the module's display mode instead of\n"
    "                  the full screen; Alt+Enter switches between the two\n"
    "                  (the last of --exclusive, --borderless, --windowed wins)\n"
    "  --scale N       make the window N times the mode's size (1 to 16, default 1)\n"
    "  --fps-cap N     call the module at most N times a second (1 to 10000, 0 for\n"
    "                  no cap; default: as often as it can)\n"
    "  --strict-modes  refuse display modes the Windows host may not get\n"
    "  --record FILE   record the session as a replay script in FILE\n"
    "  --help          print this help and exit\n"
    "  --version       print the version and exit\n"
    "\n"
    "Keys: Escape ends the run; Alt+Enter switches between window and full\n"
    "screen; Print Screen saves the current frame as\n"
    "vantrel-YYYYMMDD-HHMMSS.png in the current folder.\n"
    "\n"
    "vantrel.ini beside the program may hold the same choices, one a line:\n"
    "present=exclusive|borderless|windowed, scale=N (1 to 16), fps_cap=N\n"
    "(0 for no cap, up to 10000), module=PATH (relative to the program's\n"
    "folder). The command line wins over the file.\n"
    "\n"
    "Exit status: the module's quit code; 1 when start-up fails; 2 for a bad\n"
    "command line.\n";

constexpr const char *kWindowsHelp =
    "Usage: vantrel.exe [OPTION]...\n"
    "Runs a game module (prog.dll) full screen.\n"
    "\n"
    "  --exclusive     full screen in the module's own display mode (the default)\n"
    "  --borderless    a borderless window over the whole desktop, which keeps\n"
    "                  its own mode\n"
    "  --windowed      a window of the module's display mode times --scale\n"
    "                  (the last of --exclusive, --borderless, --windowed wins)\n"
    "  --scale N       make the window N times the mode's size (1 to 16, default 1)\n"
    "  --module PATH   load the module at PATH instead of prog.dll\n"
    "  --fps-cap N     call the module at most N times a second (1 to 10000, 0 for\n"
    "                  no cap; default: as often as it can)\n"
    "  --record FILE   record the session as a replay script in FILE\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n"
    "\n"
    "Keys: Escape ends the run; Alt+Enter switches between window and\n"
    "borderless; Print Screen saves the current frame as\n"
    "vantrel-YYYYMMDD-HHMMSS.png beside the game.\n"
    "\n"
    "vantrel.ini beside vantrel.exe may hold the same choices, one a line:\n"
    "present=exclusive|borderless|windowed, scale=N (1 to 16), fps_cap=N\n"
    "(0 for no cap, up to 10000), module=PATH (relative to the folder of\n"
    "vantrel.exe). The command line wins over the file.\n"
    "\n"
    "Exit status: the module's quit code; 1 when start-up fails; 2 for a bad\n"
    "command line.\n";

} // namespace

const char *HelpText(Host host) { return host == Host::Windows ? kWindowsHelp : kDesktopHelp; }

std::string VersionText() { return std::string("vantrel ") + VANTREL_VERSION + "\n"; }

ParseAnswer AnswerParseResult(const ParseResult &result, Host host) {
  switch (result.status) {
  case ParseStatus::Help:
    return {0, HelpText(host), false};
  case ParseStatus::Version:
    return {0, VersionText(), false};
  case ParseStatus::Error:
    return {2,
            "vantrel: " + result.message + "\nTry '" +
                (host == Host::Windows ? "vantrel.exe" : "vantrel") + " --help' for the options.\n",
            true};
  case ParseStatus::Run:
    break;
  }
  return {};
}

int ReportParseResult(const ParseResult &result, Host host) {
  const ParseAnswer answer = AnswerParseResult(result, host);
  if (!answer.text.empty()) {
    std::fputs(answer.text.c_str(), answer.isError ? stderr : stdout);
  }
  return answer.exitCode;
}

} // namespace playopts
