// sound_log.cpp - the sound calls of a replay, written as they are answered.
#include "replay/sound_log.h"

#include <cstdio>

#if !defined(_WIN32)
#include "module/prog_instance.h"
#include "platform/headless/headless.h"
#include "platform/module_calls/sound_player.h"

#include <dlfcn.h>
#endif

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

#if defined(_WIN32)

bool StartSoundLog(const std::string &) {
  std::fprintf(stderr, "vantrel-replay: --sound-log is not available on Windows, where a module "
                       "plays its sounds through the system itself\n");
  return false;
}

bool StopSoundLog() { return true; }

#else

namespace {

std::FILE *logFile = nullptr;
bool writeFailed = false;

// The folder of the running module's file, ending in a slash; "" when the
// loader does not say.
std::string ModuleFolder() {
  Dl_info info{};
  if (vantrel::progProcedure == nullptr ||
      dladdr(reinterpret_cast<void *>(vantrel::progProcedure), &info) == 0 ||
      info.dli_fname == nullptr) {
    return "";
  }
  const std::string file = info.dli_fname;
  const size_t slash = file.find_last_of('/');
  return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

void Write(const modulecalls::SoundCall &call) {
  if (logFile == nullptr) {
    return;
  }
  const std::string line =
      SoundLogLine(headless::FramesPresented(), call.function, call.name, call.memory,
                   call.memoryBytes, call.flags, call.answer, ModuleFolder());
  if (std::fputs(line.c_str(), logFile) < 0) {
    writeFailed = true;
  }
}

} // namespace

bool StartSoundLog(const std::string &path) {
  logFile = std::fopen(path.c_str(), "wb");
  if (logFile == nullptr) {
    std::fprintf(stderr, "vantrel-replay: cannot write the sound log %s\n", path.c_str());
    return false;
  }
  writeFailed = false;
  modulecalls::SetSoundCallObserver(Write);
  return true;
}

bool StopSoundLog() {
  modulecalls::SetSoundCallObserver(nullptr);
  if (logFile == nullptr) {
    return true;
  }
  const bool closed = std::fclose(logFile) == 0;
  logFile = nullptr;
  return closed && !writeFailed;
}

#endif

} // namespace replay
