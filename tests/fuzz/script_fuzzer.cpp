// Fuzzes the replay script reader (libFuzzer). Any bytes must read either as
// a script or as one error naming a line of the input, never crash; a script
// read must hold only calls within the format's bounds, and written back
// (the header, then one line per call) it must read as the same calls.
//
// Built and run by scripts/fuzz-script.sh.
#include "capture/script.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Break(const std::string &what) {
  std::fprintf(stderr, "script invariant broken: %s\n", what.c_str());
  std::abort();
}

bool SameCall(const replay::ScriptCall &a, const replay::ScriptCall &b) {
  return a.type == b.type && a.elapsed == b.elapsed && a.count == b.count && a.key == b.key &&
         a.x == b.x && a.y == b.y;
}

void CheckBounds(const replay::ScriptCall &c) {
  if (c.elapsed > 0x7FFFFFFFu || c.count == 0 || c.count > 0x7FFFFFFFu) {
    Break("elapsed or count out of range: " + replay::FormatCall(c));
  }
  const bool key = c.type == replay::CallType::KeyDown || c.type == replay::CallType::KeyUp;
  if (key != (c.key != 0) || c.key > 255) {
    Break("key out of range: " + replay::FormatCall(c));
  }
  if (c.x < 0 || c.x > 0xFFFF || c.y < 0 || c.y > 0xFFFF) {
    Break("position out of range: " + replay::FormatCall(c));
  }
  if (c.count != 1 && c.type != replay::CallType::Frame) {
    Break("a count on an event: " + replay::FormatCall(c));
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  std::vector<replay::ScriptCall> calls;
  replay::ScriptError error;
  if (!replay::ParseScript(text, &calls, &error)) {
    int32_t lines = 1;
    for (const char c : text) {
      lines += c == '\n' ? 1 : 0;
    }
    if (error.line < 1 || error.line > lines || error.message.empty()) {
      Break("an error without a line of the input: line " + std::to_string(error.line) + " of " +
            std::to_string(lines) + ", '" + error.message + "'");
    }
    return 0;
  }
  std::string written = std::string(replay::kScriptHeader) + "\n";
  for (const auto &c : calls) {
    CheckBounds(c);
    written += replay::FormatCall(c) + "\n";
  }
  std::vector<replay::ScriptCall> again;
  if (!replay::ParseScript(written, &again, &error)) {
    Break("a written script does not read back: line " + std::to_string(error.line) + ": " +
          error.message);
  }
  if (again.size() != calls.size()) {
    Break("a written script reads back as " + std::to_string(again.size()) + " calls, not " +
          std::to_string(calls.size()));
  }
  for (size_t i = 0; i < calls.size(); ++i) {
    if (!SameCall(calls[i], again[i])) {
      Break("call " + std::to_string(i) + " reads back as '" + replay::FormatCall(again[i]) +
            "', not '" + replay::FormatCall(calls[i]) + "'");
    }
  }
  return 0;
}
