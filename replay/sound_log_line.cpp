// sound_log_line.cpp - one line of vantrel-replay's sound log.
#include "replay/sound_log.h"

#include <cstdio>

namespace replay {

std::string SoundLogLine(uint32_t frame, const char *function, const char *name, bool memory,
                         uint32_t memoryBytes, uint32_t flags, int32_t answer,
                         const std::string &moduleDir) {
  char head[64];
  std::snprintf(head, sizeof head, "frame %u %s ", frame, function);
  std::string line = head;
  if (memory) {
    line += "<memory " + std::to_string(memoryBytes) + " bytes>";
  } else if (name == nullptr) {
    line += "NULL";
  } else {
    std::string shown = name;
    if (!moduleDir.empty() && shown.size() > moduleDir.size() &&
        shown.compare(0, moduleDir.size(), moduleDir) == 0) {
      shown.erase(0, moduleDir.size());
    }
    line += '"';
    for (const char c : shown) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        line += '\\';
        line += c;
      } else if (u < 0x20 || u == 0x7F) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", u);
        line += hex;
      } else {
        line += c;
      }
    }
    line += '"';
  }
  char tail[40];
  std::snprintf(tail, sizeof tail, " 0x%08X -> %d\n", flags, answer);
  return line + tail;
}

} // namespace replay
