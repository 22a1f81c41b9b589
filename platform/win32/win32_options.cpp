// win32_options.cpp - vantrel.exe's command line and vantrel.ini, and where
// its answers are shown.
#include "platform/win32/win32_options.h"

#include "platform/options/play_help.h"
#include "platform/options/play_ini.h"
#include "platform/options/windows_command_line.h"

#include <windows.h>

#include <string>
#include <vector>

namespace win32opts {
namespace {

// The folder of vantrel.exe with its final separator, or "" when it cannot
// be known.
std::string ProgramFolder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return "";
    }
    if (length < buffer.size()) {
      const std::string path(buffer.data(), length);
      const size_t separator = path.find_last_of("\\/");
      return separator == std::string::npos ? "" : path.substr(0, separator + 1);
    }
    // Cut short: a longer path than the buffer holds.
    if (buffer.size() >= 32768) {
      return "";
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The text with Windows line ends.
std::string WithCrLf(const std::string &text) {
  std::string out;
  out.reserve(text.size() + 64);
  for (const char c : text) {
    if (c == '\n') {
      out += '\r';
    }
    out += c;
  }
  return out;
}

bool WriteAll(HANDLE handle, const std::string &text) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
         written == text.size();
}

// Writes the text where a program started from a console shows it: the
// file or pipe its output is sent to, else the console of the program that
// started it. False when there is neither.
bool WriteToConsole(const std::string &text, bool isError) {
  const std::string crlf = WithCrLf(text);
  const HANDLE given = GetStdHandle(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (given != nullptr && given != INVALID_HANDLE_VALUE &&
      GetFileType(given) != FILE_TYPE_UNKNOWN && WriteAll(given, crlf)) {
    return true;
  }
  if (AttachConsole(ATTACH_PARENT_PROCESS) == 0) {
    return false;
  }
  const HANDLE console =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  // The console's shell did not wait for a windowed program and has shown
  // its prompt already: the text starts on a line of its own.
  const bool written = WriteAll(console, "\r\n" + crlf);
  if (console != INVALID_HANDLE_VALUE) {
    CloseHandle(console);
  }
  FreeConsole();
  return written;
}

void Show(const playopts::ParseAnswer &answer) {
  if (WriteToConsole(answer.text, answer.isError)) {
    return;
  }
  MessageBoxA(nullptr, answer.text.c_str(), "Vantrel",
              MB_OK | (answer.isError ? MB_ICONERROR : MB_ICONINFORMATION));
}

} // namespace

int ReadWindowsOptions(playopts::PlayOptions *out) {
  if (out == nullptr) {
    return 2;
  }
  const char *commandLine = GetCommandLineA();
  const std::vector<std::string> args =
      playopts::SplitWindowsCommandLine(commandLine != nullptr ? commandLine : "");
  std::vector<const char *> argv;
  argv.reserve(args.size());
  for (const auto &arg : args) {
    argv.push_back(arg.c_str());
  }
  const playopts::ParseAnswer answer = playopts::AnswerParseResult(
      playopts::ParsePlayOptions(static_cast<int>(argv.size()), argv.data(), out),
      playopts::Host::Windows);
  if (answer.exitCode >= 0) {
    Show(answer);
    return answer.exitCode;
  }
  const playopts::IniReading file = playopts::ReadIniFile(ProgramFolder());
  if (!file.problems.empty()) {
    MessageBoxA(nullptr, file.problems.c_str(), playopts::kIniFileName, MB_OK | MB_ICONWARNING);
  }
  playopts::FillFromFile(file.options, out);
  return -1;
}

} // namespace win32opts
