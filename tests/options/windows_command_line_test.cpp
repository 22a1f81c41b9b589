// How a Windows command line becomes the program's arguments.
#include "platform/options/windows_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsCommandLine, SplitsAsTheCRuntimeDoes) {
  const struct {
    const char *line;
    std::vector<std::string> args;
  } table[] = {
      {"vantrel.exe", {"vantrel.exe"}},
      {"", {""}},
      {"vantrel.exe   --windowed\t--scale 2  ", {"vantrel.exe", "--windowed", "--scale", "2"}},
      // The program's name: quotes group, backslashes are plain.
      {"\"C:\\Program Files\\Vantrel\\vantrel.exe\" --help",
       {"C:\\Program Files\\Vantrel\\vantrel.exe", "--help"}},
      {"C:\\games\\vantrel.exe\\\" x", {"C:\\games\\vantrel.exe\\ x"}},
      // Quotes group and go; they may start mid-argument.
      {"v --module \"My Games\\prog.dll\"", {"v", "--module", "My Games\\prog.dll"}},
      {"v --module=\"a b\"c", {"v", "--module=a bc"}},
      {"v \"\"", {"v", ""}},
      {"v \"unclosed quote", {"v", "unclosed quote"}},
      // Backslashes: plain unless before a quote.
      {"v a\\\\b\\c", {"v", "a\\\\b\\c"}},
      {"v \"C:\\dir\\\\\" next", {"v", "C:\\dir\\", "next"}},
      {"v a\\\"b", {"v", "a\"b"}},
      {"v a\\\\\\\"b", {"v", "a\\\"b"}},
      {"v a\\\\\"b c\"", {"v", "a\\b c"}},
      // "" inside quotes is one quote.
      {"v \"say \"\"hi\"\"\"", {"v", "say \"hi\""}},
  };
  for (const auto &row : table) {
    EXPECT_EQ(playopts::SplitWindowsCommandLine(row.line), row.args) << row.line;
  }
}

} // namespace
