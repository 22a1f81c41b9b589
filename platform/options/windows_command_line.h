// windows_command_line.h - a Windows command line split into arguments.
#ifndef VANTREL_PLATFORM_OPTIONS_WINDOWS_COMMAND_LINE_H
#define VANTREL_PLATFORM_OPTIONS_WINDOWS_COMMAND_LINE_H

#include <string>
#include <string_view>
#include <vector>

namespace playopts {

// Splits a command line (GetCommandLineA's) as the C runtime of a Windows
// program does for argv: arguments are separated by spaces and tabs; double
// quotes group and are dropped; inside quotes "" is one quote; 2n
// backslashes before a quote are n backslashes and the quote groups, 2n+1
// are n backslashes and a literal quote; other backslashes are themselves.
// The first argument, the program's name, ends at the first space or tab
// outside quotes, and backslashes in it are never special.
std::vector<std::string> SplitWindowsCommandLine(std::string_view line);

} // namespace playopts

#endif
