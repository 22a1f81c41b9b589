// script_writer.cpp - one call as the script line that reads back as it.
#include "capture/script.h"

namespace replay {

std::string FormatCall(const ScriptCall &call) {
  const std::string elapsed = std::to_string(call.elapsed);
  switch (call.type) {
  case CallType::Frame:
    return "frame " + elapsed + (call.count > 1 ? " x" + std::to_string(call.count) : "");
  case CallType::KeyDown:
    return "keydown " + KeyName(call.key) + " " + elapsed;
  case CallType::KeyUp:
    return "keyup " + KeyName(call.key) + " " + elapsed;
  case CallType::Move:
    return "move " + std::to_string(call.x) + " " + std::to_string(call.y) + " " + elapsed;
  case CallType::LDown:
    return "ldown " + elapsed;
  case CallType::LUp:
    return "lup " + elapsed;
  case CallType::RDown:
    return "rdown " + elapsed;
  case CallType::RUp:
    return "rup " + elapsed;
  }
  return "";
}

} // namespace replay
