// The call log and the scripted answers of the test double, and its reset.
#include "tests/double/double_state.h"

#include "host/host_state.h"
#include "platform/soft/soft_device.h"

namespace td {

namespace detail {

State &S() {
  static State state;
  return state;
}

void Record(const char *name, std::vector<int64_t> args, std::vector<std::string> texts) {
  S().log.push_back(Call{name, std::move(args), std::move(texts)});
  auto hook = S().hooks.find(name);
  if (hook != S().hooks.end() && hook->second) {
    auto run = hook->second;
    const Call call = S().log.back(); // the hook may log calls of its own
    run(call);
  }
}

bool Scripted(const char *name, uint64_t *answer) {
  auto found = S().scripts.find(name);
  if (found == S().scripts.end() || found->second.empty()) {
    return false;
  }
  *answer = found->second.front();
  found->second.pop_front();
  ++S().scriptedGiven[name];
  return true;
}

} // namespace detail

using detail::S;

void Reset() {
  // The host first: its image list is freed before the device that holds
  // the surfaces goes, and no entry point outlives the library it lives in.
  vantrel::ResetHostState();
  soft::ResetDevice();
  detail::ResetModules();
  S() = detail::State{};
}

const std::vector<Call> &Log() { return S().log; }

std::vector<Call> CallsNamed(const std::string &name) {
  std::vector<Call> calls;
  for (const Call &call : S().log) {
    if (call.name == name) {
      calls.push_back(call);
    }
  }
  return calls;
}

int CountCalls(const std::string &name) {
  int count = 0;
  for (const Call &call : S().log) {
    count += call.name == name ? 1 : 0;
  }
  return count;
}

void ClearLog() { S().log.clear(); }

std::vector<std::string> CallNames(const std::vector<std::string> &only) {
  std::vector<std::string> names;
  for (const Call &call : S().log) {
    bool wanted = only.empty();
    for (const std::string &name : only) {
      wanted = wanted || name == call.name;
    }
    if (wanted) {
      names.push_back(call.name);
    }
  }
  return names;
}

void Script(const std::string &name, std::vector<uint64_t> answers) {
  auto &queue = S().scripts[name];
  queue.insert(queue.end(), answers.begin(), answers.end());
}

void OnCall(const std::string &name, std::function<void(const Call &)> hook) {
  S().hooks[name] = std::move(hook);
}

void ScriptCreateSurfaceWithoutSurface(int n) { S().createSurfaceWithoutSurface += n; }

int ScriptedAnswersGiven(const std::string &name) {
  auto found = S().scriptedGiven.find(name);
  return found == S().scriptedGiven.end() ? 0 : found->second;
}

const std::string &DebugOutput() { return S().debugOutput; }

} // namespace td
