// play_ini.h - vantrel.ini, the player's choices in a file beside the
// program: the same settings as the command line, for games started by a
// double-click.
#ifndef VANTREL_PLATFORM_OPTIONS_PLAY_INI_H
#define VANTREL_PLATFORM_OPTIONS_PLAY_INI_H

#include "platform/options/play_options.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace playopts {

// The file's name, beside the program.
constexpr const char *kIniFileName = "vantrel.ini";
// At most this much of the file is read; the rest is ignored (and said so).
constexpr size_t kMaxIniBytes = 64 * 1024;
// A longer line is ignored (and said so).
constexpr size_t kMaxIniLineLength = 1024;
// At most this many problems are named one by one; the rest are counted.
constexpr int kMaxIniProblemsNamed = 12;

// What a file gave: its settings, each with its `...Given` flag set, and its
// problems.
struct IniReading {
  PlayOptions options;
  // Every problem, one a line ("vantrel.ini line 3: scale must be ..."),
  // without a final newline; "" when there is none.
  std::string problems;
};

// Reads the text of a vantrel.ini that lies in `folder`; a relative module
// path is taken from that folder. `cut` says the text is only the start of
// a longer file: its last line, which may have lost its end, is ignored.
//
// Lines are key=value; spaces around key and value are dropped, keys and
// the words of `present` are read without regard to case, and a value may
// stand in double quotes. Blank lines and lines starting with ';' or '#' are
// ignored. A [vantrel] section header is accepted; the keys of any other
// section are skipped without a word, so the file may carry other programs'
// settings. A UTF-8 byte order mark and CRLF line ends are accepted. Of a
// key given twice the last one counts. A line that is not understood is
// named in the problems and changes nothing; the other lines still count.
IniReading ReadIniText(std::string_view text, std::string_view folder, bool cut = false);

// Reads vantrel.ini in `folder` (at most kMaxIniBytes of it). A missing
// file, or an empty `folder` (the program's own is not known),
// is no problem: nothing is set and nothing said.
IniReading ReadIniFile(const std::string &folder);

// `path` taken from `folder` unless it is absolute ('/' or '\' first, or a
// drive letter and ':').
std::string PathFromFolder(std::string_view folder, std::string_view path);

} // namespace playopts

#endif
