// page_replay.cpp - the page's replay entry: vantrel-replay's run inside the
// page. The script and the virtual clock decide every call, so the frames
// are those vantrel-replay writes; each chosen frame is put on the canvas
// and read back from it. The browser gets a turn now and then (the run
// does not wait for animation frames), so the page stays responsive.
#include "platform/web/web.h"

#include "capture/script.h"
#include "platform/headless/headless.h"
#include "platform/module_calls/module_calls.h"
#include "platform/web/canvas_frame.h"
#include "platform/web/page_bridge.h"
#include "replay/replay_options.h"
#include "replay/replay_run.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace web {
namespace {

constexpr double kTurnEveryMs = 50.0;

const replay::ReplayOptions *chosen = nullptr;
uint32_t framesKept = 0;
double lastTurn = 0;

void KeepChosenFrame(uint32_t frame) {
  if (chosen != nullptr && replay::FrameChosen(*chosen, frame) && ShowVisibleSurface()) {
    page::KeepCanvasAs(frame);
    ++framesKept;
  }
  const double now = page::Now();
  if (now - lastTurn >= kTurnEveryMs) {
    ShowVisibleSurface(); // the page shows how far the run is
    page::Yield();
    lastTurn = page::Now();
  }
}

int Fail(const std::string &why) {
  std::fprintf(stderr, "vantrel-replay: %s\n", why.c_str());
  page::ReplayEnded(replay::kUsageError, 0, 0, false, why.c_str());
  return replay::kUsageError;
}

} // namespace

int RunPageReplay(const char *frames) {
  replay::ReplayOptions options;
  std::string error;
  std::vector<std::string> args{page::kReplayScriptFile};
  if (frames != nullptr && frames[0] != '\0') {
    args.insert(args.begin(), {"--frames", frames});
  }
  if (!replay::ParseReplayOptions(args, &options, &error)) {
    return Fail(error);
  }
  std::ifstream in(options.script, std::ios::binary);
  if (!in) {
    return Fail("the page has no script to replay");
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::vector<replay::ScriptCall> calls;
  replay::ScriptError bad;
  if (!replay::ParseScript(text.str(), &calls, &bad)) {
    return Fail("script line " + std::to_string(bad.line) + ": " + bad.message);
  }

  // On the virtual clock a module's Sleep returns at once, as in vantrel-replay.
  modulecalls::SetModuleSleep(nullptr);
  chosen = &options;
  framesKept = 0;
  lastTurn = page::Now();
  headless::SetFramePresenter(KeepChosenFrame);
  const replay::ReplaySummary s = replay::RunReplay(options, calls, false);
  headless::SetFramePresenter(nullptr);
  chosen = nullptr;

  int code = s.exitCode;
  const char *why = "";
  if (code == replay::kStartupFailed) {
    why = "the module could not be started";
  } else if (!options.frames.empty() && framesKept < options.frames.size()) {
    code = replay::kFrameDiffers;
    why = "a chosen frame was never presented";
  }
  page::ReplayEnded(code, s.framesPresented, framesKept, s.scriptFinished, why);
  return code;
}

} // namespace web
