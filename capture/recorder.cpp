// recorder.cpp - the call observer that writes the replay script. Each call
// is in the file before the module gets it, so a module that crashes leaves
// a recording complete up to and including the call it crashed in. Runs of
// identical idle turns fold into one line, rewritten in place as it grows
// (it is always the file's last line, and it only grows).
#include "capture/recorder.h"

#include "capture/script.h"
#include "host/call_observer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace replay {
namespace {

std::FILE *file = nullptr;
ScriptCall pendingFrames{}; // count 0: the last line is not an idle run
long pendingAt = 0;         // where the idle run's line starts
bool writeFailed = false;

// Hands what is written to the system: it outlives a crash of the process.
void Flush() {
  if (file != nullptr && std::fflush(file) != 0) {
    writeFailed = true;
  }
}

void WriteLine(const std::string &line) {
  if (file == nullptr) {
    return;
  }
  if (std::fputs(line.c_str(), file) < 0 || std::fputc('\n', file) == EOF) {
    writeFailed = true;
  }
}

// The idle run is the last line: written again over itself, one longer.
void WriteFrames() {
  if (file == nullptr) {
    return;
  }
  if (std::fseek(file, pendingAt, SEEK_SET) != 0) {
    writeFailed = true;
  }
  WriteLine(FormatCall(pendingFrames));
}

void EndFrames() { pendingFrames.count = 0; }

void Observe(vantrel::CallKind kind, const VEvent &event, int32_t elapsed) {
  const uint32_t ms = elapsed < 0 ? 0u : static_cast<uint32_t>(elapsed);
  if (kind == vantrel::CallKind::Idle) {
    if (pendingFrames.count > 0 && pendingFrames.elapsed == ms &&
        pendingFrames.count < 0x7FFFFFFFu) {
      ++pendingFrames.count;
    } else {
      pendingFrames = ScriptCall{};
      pendingFrames.elapsed = ms;
      pendingAt = file != nullptr ? std::ftell(file) : 0;
      if (pendingAt < 0) {
        writeFailed = true;
      }
    }
    WriteFrames();
    Flush();
    return;
  }
  EndFrames();
  if (kind == vantrel::CallKind::Init) {
    WriteLine("# init " + std::to_string(ms));
    Flush();
    return;
  }
  if (kind == vantrel::CallKind::Shutdown) {
    WriteLine("# shutdown " + std::to_string(ms));
    Flush();
    return;
  }
  ScriptCall call;
  call.elapsed = ms;
  switch (event.code) {
  case EV_KEYDOWN:
    call.type = CallType::KeyDown;
    call.key = event.key;
    break;
  case EV_KEYUP:
    call.type = CallType::KeyUp;
    call.key = event.key;
    break;
  case EV_MOUSEMOVE:
    call.type = CallType::Move;
    call.x = event.mouseX;
    call.y = event.mouseY;
    break;
  case EV_LBUTTONDOWN:
    call.type = CallType::LDown;
    break;
  case EV_LBUTTONUP:
    call.type = CallType::LUp;
    break;
  case EV_RBUTTONDOWN:
    call.type = CallType::RDown;
    break;
  case EV_RBUTTONUP:
    call.type = CallType::RUp;
    break;
  default:
    // No window message makes any other event; say so rather than guess.
    WriteLine("# unrecorded event " + std::to_string(event.code) + " " + std::to_string(ms));
    Flush();
    return;
  }
  WriteLine(FormatCall(call));
  Flush();
}

} // namespace

bool StartRecording(const char *path, std::string *why) {
  std::string ignored;
  if (why == nullptr) {
    why = &ignored;
  }
  StopRecording();
  if (path == nullptr || path[0] == '\0') {
    *why = "no file to record into";
    return false;
  }
  // Binary: the same bytes on every system, and a folded run rewritten in
  // place has the length it had.
  file = std::fopen(path, "wb");
  if (file == nullptr) {
    *why = std::string("cannot record into ") + path + ": " + std::strerror(errno);
    return false;
  }
  writeFailed = false;
  pendingFrames = ScriptCall{};
  pendingFrames.count = 0;
  WriteLine(kScriptHeader);
  WriteLine("# recorded by vantrel: one call of the module's procedure per line");
  Flush();
  vantrel::callObserver = Observe;
  return true;
}

bool StartRecording(const char *path) {
  std::string why;
  if (!StartRecording(path, &why)) {
    std::fprintf(stderr, "vantrel: %s\n", why.c_str());
    return false;
  }
  return true;
}

bool Recording() { return file != nullptr; }

void RecordComment(const std::string &text) {
  if (file == nullptr) {
    return;
  }
  EndFrames();
  WriteLine("# " + text);
  Flush();
}

bool StopRecording() {
  if (file == nullptr) {
    return true;
  }
  if (vantrel::callObserver == Observe) {
    vantrel::callObserver = nullptr;
  }
  EndFrames();
  bool ok = !writeFailed;
  if (std::fclose(file) != 0) {
    ok = false;
  }
  file = nullptr;
  if (!ok) {
    std::fprintf(stderr, "vantrel: the recording could not be written completely\n");
  }
  return ok;
}

} // namespace replay
