// sound_log.cpp - the sound calls of a replay, written as they are answered.
#include "replay/sound_log.h"

#include <cstdio>

#if !defined(_WIN32)
#include "module/prog_instance.h"
#include "platform/headless/headless.h"
#include "platform/module_calls/sound_player.h"
#include "platform/module_calls/window_title.h"

#include <dlfcn.h>
#endif

namespace replay {

#if defined(_WIN32)

bool StartSoundLog(const std::string &) {
  std::fprintf(stderr, "vantrel-replay: --sound-log is not available on Windows, where a module "
                       "plays its sounds through the system itself\n");
  return false;
}

bool StopSoundLog() { return true; }

void ResetRunSounds() {}

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

void ResetRunSounds() {
  modulecalls::ResetSoundPlayer();
  modulecalls::SetSoundOutput(modulecalls::VirtualSoundOutput());
  modulecalls::ResetWindowTitle();
}

#endif

} // namespace replay
