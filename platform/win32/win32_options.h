// win32_options.h - how the player chose to play vantrel.exe: its command
// line and vantrel.ini beside it.
#ifndef VANTREL_PLATFORM_WIN32_WIN32_OPTIONS_H
#define VANTREL_PLATFORM_WIN32_WIN32_OPTIONS_H

#include "platform/options/play_options.h"

namespace win32opts {

// Reads the program's own command line (GetCommandLineA, split as the C
// runtime splits it) into *out, then fills what it left from vantrel.ini in
// the folder of vantrel.exe; the file's problems are shown in one box
// (caption "vantrel.ini") and the run goes on with the defaults for them.
// For --help, --version or a bad command line the text goes to the console
// the program was started from (or the file or pipe its output goes to),
// else into a box captioned "Vantrel"; vantrel.ini is then not read.
// Answers -1 when the host is to run, else the exit code: 0 after --help or
// --version, 2 for a bad command line.
int ReadWindowsOptions(playopts::PlayOptions *out);

} // namespace win32opts

#endif
