// script.h - the replay script: one call of the module's procedure per line.
//
//   vantrel-replay 1        first non-comment line: format name and version
//   # comment               from '#' to the end of the line; blank lines too
//   frame 16 [xN]           an idle turn with elapsed 16 (N of them)
//   keydown KEY [E]         a key pressed (KEY: virtual-key name or number)
//   keyup KEY [E]           a key released
//   move X Y [E]            the pointer at (X, Y) in mode pixels
//   ldown/lup/rdown/rup [E] the buttons
//   step S                  the step `wait` uses (default 16)
//   wait MS                 MS milliseconds of idle turns of the step
//   press KEY               keydown KEY 0, keyup KEY 0
//   click left|right        ldown 0, lup 0 (rdown 0, rup 0)
// E is the elapsed value the module gets (milliseconds, default 0).
#ifndef VANTREL_CAPTURE_SCRIPT_H
#define VANTREL_CAPTURE_SCRIPT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

enum class CallType { Frame, KeyDown, KeyUp, Move, LDown, LUp, RDown, RUp };

// One line of the script as the runner delivers it.
struct ScriptCall {
  CallType type = CallType::Frame;
  uint32_t elapsed = 0; // 0 .. 0x7FFFFFFF
  uint32_t count = 1;   // idle turns only: how many identical ones
  uint32_t key = 0;     // keys: the virtual-key code, 1 .. 255
  int32_t x = 0;        // move: the position, 0 .. 65535
  int32_t y = 0;
  int32_t line = 0; // the line of the script it came from (0: made in code)
};

struct ScriptError {
  int32_t line = 0;
  std::string message;
};

// The first line every script starts with.
constexpr const char *kScriptHeader = "vantrel-replay 1";
constexpr uint32_t kDefaultStep = 16;

// Reads a whole script (a UTF-8 byte-order mark before the first line is
// passed over; lines end in LF or CRLF). False with the first bad line's
// number and what is wrong with it (a NUL byte is named as one); `out` then
// holds the calls read before it.
bool ParseScript(std::string_view text, std::vector<ScriptCall> *out, ScriptError *error);

// The line that reads back as `call` (without the line end).
std::string FormatCall(const ScriptCall &call);

// Virtual-key names without the VK_ prefix ("LEFT", "A", "F1", "NUMPAD0").
// The name of a code, or "0x.." for a code without one.
std::string KeyName(uint32_t code);
// A key by name (any case) or number (decimal or 0x..): false when neither
// or outside 1 .. 255.
bool KeyFromName(std::string_view name, uint32_t *code);

} // namespace replay

#endif
