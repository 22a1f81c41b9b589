// State shared by the parts of the test double.
#ifndef VANTREL_TESTS_DOUBLE_DOUBLE_STATE_H
#define VANTREL_TESTS_DOUBLE_DOUBLE_STATE_H

#include "tests/double/test_double.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace td::detail {

struct FakeModule {
  VProgInterfaceFn iface;
  VProgProcedureFn proc;
};

struct State {
  std::vector<Call> log;
  std::map<std::string, std::deque<uint64_t>> scripts;
  std::map<std::string, std::function<void(const Call &)>> hooks;
  int createSurfaceWithoutSurface = 0;
  std::map<std::string, int> scriptedGiven; // scripted answers handed out, by call

  // Window class and window.
  std::string className; // empty until RegisterClassA succeeds
  plat::WNDPROC windowProc = nullptr;
  bool windowAlive = false;
  bool activateOnShow = true;
  plat::HCURSOR cursor = nullptr;
  int32_t screenW = 1024;
  int32_t screenH = 768;

  // Message queue.
  std::deque<plat::MSG> queue;
  bool quitPending = false; // set by PostQuitMessage
  int32_t quitPendingCode = 0;
  std::function<void()> onWait;
  int quitAfterPeeks = 0; // 0: not armed
  int32_t quitCode = 0;
  int timedOutWaits = 0; // MsgWaitForMultipleObjects timeouts in a row

  // Message boxes.
  std::vector<Box> boxes;
  std::function<void(const Box &)> onBox;

  // Clock.
  uint32_t now = 0;
  uint32_t step = 0;
  // Power and timer requests.
  uint32_t executionState = 0x80000000u; // ES_CONTINUOUS: nothing held awake
  std::vector<uint32_t> timerPeriods;    // periods begun and not yet ended

  // Modules.
  std::deque<FakeModule> fakes; // stable addresses serve as module handles
  std::map<std::string, size_t> fakeByName;
  std::string moduleFolder;
  std::vector<void *> libraries; // dlopen handles

  std::string debugOutput;
};

State &S();

// Logs a call.
void Record(const char *name, std::vector<int64_t> args = {}, std::vector<std::string> texts = {});
// Takes the next scripted answer for `name`, if one is queued.
bool Scripted(const char *name, uint64_t *answer);

inline int64_t H(const void *handle) {
  return static_cast<int64_t>(reinterpret_cast<intptr_t>(handle));
}
inline std::string Text(const char *text) {
  return text != nullptr ? std::string(text) : std::string();
}

// The fake handles the double hands out.
plat::HWND WindowHandle();

// Drops the loaded shared libraries and fake modules.
void ResetModules();

} // namespace td::detail

#endif
