// replay_run.cpp - one replay: the host over the headless backend.
#include "replay/replay_run.h"

#include "host/call_observer.h"
#include "host/host_state.h"
#include "host/startup.h"
#include "platform/headless/headless.h"
#ifdef _WIN32
#include "platform/win32/win32_modules.h"
#elif defined(__EMSCRIPTEN__)
// The web page's module is linked into its program: there is no file to name.
#else
#include "platform/posix/module_search.h"
#endif
#include "capture/crash_catch.h"
#include "capture/frame_image.h"
#include "replay/golden.h"
#include "replay/sound_log.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace replay {
namespace {

// The run in progress (the backend's hooks are plain functions).
struct Run {
  ReplayOptions options;
  const std::vector<ScriptCall> *calls = nullptr;
  size_t next = 0;         // the call to deliver next
  uint32_t steps = 0;      // steps of the script taken (each idle turn one)
  uint32_t leftOfNext = 0; // idle turns of calls[next] already delivered
  int32_t lastLine = 0;    // the script line of the last call delivered
  plat::LPARAM pointer = 0;
  bool writeFrames = true;
  bool started = false;
  // The call in progress, for the report of a crash.
  bool inCall = false;
  vantrel::CallKind callKind = vantrel::CallKind::Init;
  int32_t callEvent = 0;
  bool fileError = false; // a frame or diff image not written, a golden not read
  ReplaySummary summary;
};
Run run;

// --module: the one file the host's LoadLibraryA opens.
void SetModuleFile(const char *path) {
#ifdef _WIN32
  win32plat::SetModuleFile(path);
#elif defined(__EMSCRIPTEN__)
  (void)path;
#else
  posixplat::SetModuleFile(path);
#endif
}

constexpr plat::WPARAM MK_LBUTTON = 0x0001;
constexpr plat::WPARAM MK_RBUTTON = 0x0002;

bool NextStep(headless::InputStep *out) {
  if (run.calls == nullptr || run.next >= run.calls->size()) {
    return false;
  }
  const ScriptCall &call = (*run.calls)[run.next];
  run.lastLine = call.line;
  ++run.steps;
  if (call.type == CallType::Frame && ++run.leftOfNext < call.count) {
    // more turns of this line to come
  } else {
    ++run.next;
    run.leftOfNext = 0;
  }
  headless::InputStep step;
  step.elapsed = call.elapsed;
  step.idle = call.type == CallType::Frame;
  step.lParam = run.pointer;
  switch (call.type) {
  case CallType::Frame:
    break;
  case CallType::KeyDown:
    step.message = plat::WM_KEYDOWN;
    step.wParam = call.key;
    step.lParam = 1; // one press, no repeat
    break;
  case CallType::KeyUp:
    step.message = plat::WM_KEYUP;
    step.wParam = call.key;
    step.lParam = static_cast<plat::LPARAM>(0xC0000001u);
    break;
  case CallType::Move:
    run.pointer = static_cast<plat::LPARAM>((static_cast<uint32_t>(call.y) << 16) |
                                            static_cast<uint32_t>(call.x));
    step.message = plat::WM_MOUSEMOVE;
    step.lParam = run.pointer;
    break;
  case CallType::LDown:
    step.message = plat::WM_LBUTTONDOWN;
    step.wParam = MK_LBUTTON;
    break;
  case CallType::LUp:
    step.message = plat::WM_LBUTTONUP;
    break;
  case CallType::RDown:
    step.message = plat::WM_RBUTTONDOWN;
    step.wParam = MK_RBUTTON;
    break;
  case CallType::RUp:
    step.message = plat::WM_RBUTTONUP;
    break;
  }
  *out = step;
  return true;
}

std::string FrameName(uint32_t n, const char *suffix) {
  char name[40];
  std::snprintf(name, sizeof name, "frame-%06u%s.png", n, suffix);
  return name;
}

std::string InFolder(const std::string &folder, const std::string &name) {
  return (std::filesystem::path(folder) / name).string();
}

void Compare(uint32_t n, const RgbImage &frame) {
  const ReplayOptions &options = run.options;
  const std::string goldenPath = InFolder(options.golden, FrameName(n, ""));
  RgbImage golden;
  std::string why;
  bool missing = false;
  if (!ReadPng(goldenPath, &golden, &why, &missing)) {
    if (missing) {
      ++run.summary.framesCompared;
      ++run.summary.goldensMissing;
      std::printf("frame %u: golden %s is missing\n", n, goldenPath.c_str());
    } else {
      // Not a difference in the game: the comparison could not be made.
      std::fprintf(stderr, "vantrel-replay: cannot read the golden %s: %s\n", goldenPath.c_str(),
                   why.c_str());
      run.fileError = true;
    }
    return;
  }
  ++run.summary.framesCompared;
  const Comparison c = CompareFrames(frame, golden, options.tolerance);
  if (c.sameSize && c.differing == 0) {
    return;
  }
  ++run.summary.framesDiffering;
  if (!c.sameSize) {
    std::printf("frame %u: %dx%d, but the golden is %dx%d\n", n, frame.width, frame.height,
                golden.width, golden.height);
    return;
  }
  const std::string diffPath = InFolder(options.out, FrameName(n, "-diff"));
  if (!WritePng(diffPath, DiffImage(frame, golden, options.tolerance), &why)) {
    std::fprintf(stderr, "vantrel-replay: cannot write %s: %s\n", diffPath.c_str(), why.c_str());
    run.fileError = true;
  }
  std::printf("frame %u: %lld pixels differ, box x %d..%d y %d..%d (%dx%d at %d,%d); see %s\n", n,
              static_cast<long long>(c.differing), c.left, c.right, c.top, c.bottom,
              c.right - c.left + 1, c.bottom - c.top + 1, c.left, c.top, diffPath.c_str());
}

void OnFrame(uint32_t n) {
  run.summary.framesPresented = n;
  if (!run.writeFrames || !FrameChosen(run.options, n)) {
    return;
  }
  if (run.options.update && run.options.golden.empty()) {
    return; // --update of the sound golden alone
  }
  RgbImage frame;
  if (!CaptureFrame(&frame)) {
    return;
  }
  const ReplayOptions &options = run.options;
  const std::string folder = options.update ? options.golden : options.out;
  const std::string path = InFolder(folder, FrameName(n, ""));
  std::string why;
  if (!WritePng(path, frame, &why)) {
    std::fprintf(stderr, "vantrel-replay: cannot write %s: %s\n", path.c_str(), why.c_str());
    run.fileError = true;
    return;
  }
  ++run.summary.framesWritten;
  if (!options.golden.empty() && !options.update) {
    Compare(n, frame);
  }
}

void OnCall(vantrel::CallKind kind, const VEvent &event, int32_t) {
  if (kind == vantrel::CallKind::Init) {
    run.started = true;
  }
  run.inCall = true;
  run.callKind = kind;
  run.callEvent = event.code;
}

// In the signal handler: plain reads and CrashText only.
void ReportCrash(const char *what) {
  CrashText text;
  text.Add("vantrel-replay: module crashed (").Add(what).Add(") ");
  const int64_t frame = headless::FramesPresented();
  if (!run.inCall) {
    text.Add("while it was being loaded or started");
  } else if (run.callKind == vantrel::CallKind::Init) {
    text.Add("in the EV_INIT call, before the script's first line");
  } else if (run.callKind == vantrel::CallKind::Shutdown) {
    text.Add("in the EV_SHUTDOWN call, after the script's calls (frame ").Add(frame).Add(")");
  } else {
    const char *name = EventName(run.callEvent);
    text.Add("in the call of script line ").Add(int64_t{run.lastLine}).Add(" (");
    if (name != nullptr) {
      text.Add(name);
    } else {
      text.Add("event ").Add(int64_t{run.callEvent});
    }
    text.Add(", frame ").Add(frame).Add(")");
  }
  text.Add("\n").Write();
}

// Where the sound log goes: --sound-log, else for --sound-golden the golden
// itself (--update) or sounds.log in the --out folder.
std::string SoundLogPath(const ReplayOptions &options) {
  if (!options.soundLog.empty()) {
    return options.soundLog;
  }
  if (options.soundGolden.empty()) {
    return "";
  }
  return options.update ? options.soundGolden : InFolder(options.out, "sounds.log");
}

std::vector<std::string> Lines(const std::string &path, bool *readable) {
  std::ifstream in(path, std::ios::binary);
  *readable = static_cast<bool>(in);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back(); // a golden checked out with Windows line ends
    }
    lines.push_back(line);
  }
  return lines;
}

// Compares the written log with the golden; says the first difference.
bool SoundLogMatches(const std::string &logPath, const std::string &goldenPath) {
  bool readable = false;
  const std::vector<std::string> golden = Lines(goldenPath, &readable);
  if (!readable) {
    std::printf("sound log: the golden %s cannot be read\n", goldenPath.c_str());
    return false;
  }
  const std::vector<std::string> got = Lines(logPath, &readable);
  for (size_t i = 0; i < got.size() || i < golden.size(); ++i) {
    const std::string *a = i < got.size() ? &got[i] : nullptr;
    const std::string *b = i < golden.size() ? &golden[i] : nullptr;
    if (a != nullptr && b != nullptr && *a == *b) {
      continue;
    }
    std::printf("sound log: line %zu differs from %s\n  got:    %s\n  golden: %s\n", i + 1,
                goldenPath.c_str(), a != nullptr ? a->c_str() : "(the log ends)",
                b != nullptr ? b->c_str() : "(the golden ends)");
    return false;
  }
  return true;
}

bool MakeFolder(const std::string &folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "vantrel-replay: cannot make the folder %s\n", folder.c_str());
    return false;
  }
  return true;
}

// The frame a file name stands for: frame-NNNNNN.png exactly as FrameName
// writes it (`suffix` "" or "-diff"); 0 for any other name.
uint32_t FrameOfName(const std::string &name, const char *suffix) {
  const std::string tail = std::string(suffix) + ".png";
  constexpr size_t kPrefix = 6; // "frame-"
  if (name.size() <= kPrefix + tail.size() || name.compare(0, kPrefix, "frame-") != 0 ||
      name.compare(name.size() - tail.size(), tail.size(), tail) != 0) {
    return 0;
  }
  uint32_t n = 0;
  for (size_t i = kPrefix; i < name.size() - tail.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || n > 99999999) {
      return 0;
    }
    n = n * 10 + static_cast<uint32_t>(name[i] - '0');
  }
  return n != 0 && FrameName(n, suffix) == name ? n : 0;
}

// The frames that have a golden in `folder`, ascending.
std::vector<uint32_t> GoldenFrames(const std::string &folder) {
  std::vector<uint32_t> frames;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (const uint32_t n = FrameOfName(it->path().filename().string(), ""); n != 0) {
      frames.push_back(n);
    }
  }
  std::sort(frames.begin(), frames.end());
  return frames;
}

bool SameFolder(const std::string &a, const std::string &b) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) {
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
  }
  const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return pa.lexically_normal() == pb.lexically_normal();
}

// What is settled before the module starts: which frames are written, the
// folders, and the diff images of an earlier run gone. False (an error
// already printed) ends the replay with a usage or file error.
bool PrepareFrames(ReplayOptions *options) {
  if (!options->golden.empty() && !options->update && SameFolder(options->out, options->golden)) {
    std::fprintf(stderr,
                 "vantrel-replay: --out and --golden name the same folder (%s): each frame "
                 "would replace its golden and then match it. Write the frames elsewhere, or "
                 "give --update to rewrite the goldens\n",
                 options->golden.c_str());
    return false;
  }
  // A golden folder alone chooses the frames: those it has goldens for.
  if (!options->golden.empty() && options->frames.empty() && options->every == 0) {
    options->frames = GoldenFrames(options->golden);
    if (options->frames.empty()) {
      std::fprintf(stderr,
                   "vantrel-replay: no goldens in %s (frame-NNNNNN.png files); choose the "
                   "frames to make them with --update and --frames or --every\n",
                   options->golden.c_str());
      return false;
    }
  }
  const std::string &folder = options->update ? options->golden : options->out;
  if (!MakeFolder(folder)) {
    return false;
  }
  if (options->update) {
    return true;
  }
  // The folder shows this run's differences only.
  std::error_code ec;
  std::vector<std::filesystem::path> stale;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (FrameOfName(it->path().filename().string(), "-diff") != 0) {
      stale.push_back(it->path());
    }
  }
  for (const auto &path : stale) {
    if (!std::filesystem::remove(path, ec) && ec) {
      std::fprintf(stderr, "vantrel-replay: cannot remove the earlier diff image %s: %s\n",
                   path.string().c_str(), ec.message().c_str());
      return false;
    }
  }
  return true;
}

// The line that says how the run ended, when the script did not end it.
void SayHowTheRunEnded(const std::vector<ScriptCall> &calls, bool inputEnded, int32_t code) {
  if (inputEnded) {
    return; // every call delivered, and the run closed as a closed window is
  }
  if (run.steps == 0) {
    std::printf("vantrel-replay: the module ended the run during EV_INIT, before the script's "
                "first call, quit code %d\n",
                code);
  } else if (run.next >= calls.size()) {
    std::printf("vantrel-replay: the run ended with the script's last line (line %d), quit "
                "code %d\n",
                run.lastLine, code);
  } else {
    std::printf("vantrel-replay: the run ended at line %d of the script, quit code %d\n",
                run.lastLine, code);
  }
}

} // namespace

ReplaySummary RunReplay(const ReplayOptions &options, const std::vector<ScriptCall> &calls,
                        bool writeFrames) {
  run = Run{};
  run.options = options;
  run.calls = &calls;
  run.writeFrames = writeFrames;
  // --update of the sound golden alone writes no frames.
  const bool soundGoldenOnly = run.options.update && run.options.golden.empty();
  if (writeFrames && !soundGoldenOnly && !PrepareFrames(&run.options)) {
    run.summary.exitCode = kUsageError;
    return run.summary;
  }
  const std::string soundLog = SoundLogPath(options);
  if (!options.soundGolden.empty() && !options.update && options.soundLog.empty() &&
      !MakeFolder(options.out)) {
    run.summary.exitCode = kUsageError;
    return run.summary;
  }
  ResetRunSounds();
  if (!soundLog.empty() && !StartSoundLog(soundLog)) {
    run.summary.exitCode = kUsageError;
    return run.summary;
  }
  vantrel::ResetHostState();
  headless::ResetBackend();
  headless::SetInputSource(NextStep);
  headless::SetFrameSink(OnFrame);
  SetModuleFile(options.module.empty() ? nullptr : options.module.c_str());
  vantrel::callObserver = OnCall;

  char commandLine[] = "";
  constexpr int SW_SHOWNORMAL = 1;
  const int code =
      vantrel::WinMain(plat::GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
  const bool inputEnded = headless::InputEnded();
  vantrel::callObserver = nullptr;
  headless::SetInputSource(nullptr);
  headless::SetFrameSink(nullptr);
  if (!StopSoundLog()) {
    std::fprintf(stderr, "vantrel-replay: cannot write the sound log %s\n", soundLog.c_str());
    run.fileError = true;
  } else if (!options.soundGolden.empty() && !options.update && run.started) {
    run.summary.soundLogDiffers = !SoundLogMatches(soundLog, options.soundGolden);
  }
  run.summary.quitCode = code;
  run.summary.framesPresented = headless::FramesPresented();

  ReplaySummary &s = run.summary;
  s.scriptFinished = run.next >= calls.size();
  if (!run.started) {
    s.exitCode = kStartupFailed;
    return s;
  }
  SayHowTheRunEnded(calls, inputEnded, code);
  // A chosen frame the run never showed cannot be checked: a failure, with
  // or without goldens.
  if (writeFrames) {
    for (const uint32_t n : run.options.frames) {
      if (n > s.framesPresented) {
        std::printf("frame %u: never presented (the run presented %u frames)\n", n,
                    s.framesPresented);
        ++s.framesNeverPresented;
      }
    }
  }
  if (run.fileError) {
    s.exitCode = kUsageError;
  } else if (s.framesDiffering > 0 || s.goldensMissing > 0 || s.framesNeverPresented > 0 ||
             s.soundLogDiffers) {
    s.exitCode = kFrameDiffers;
  }
  return s;
}

int ReplayMain(const std::vector<std::string> &args) {
  ReplayOptions options;
  std::string error;
  if (!ParseReplayOptions(args, &options, &error)) {
    std::fprintf(stderr, "vantrel-replay: %s\n(vantrel-replay --help tells more)\n", error.c_str());
    return kUsageError;
  }
  if (options.help) {
    std::fputs(kReplayUsage, stdout);
    return kAllMatch;
  }
  if (options.version) {
    std::fputs(ReplayVersionText().c_str(), stdout);
    return kAllMatch;
  }
  std::ifstream in(options.script, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vantrel-replay: cannot read the script %s\n", options.script.c_str());
    return kUsageError;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::vector<ScriptCall> calls;
  ScriptError bad;
  if (!ParseScript(text.str(), &calls, &bad)) {
    std::fprintf(stderr, "vantrel-replay: %s:%d: %s\n", options.script.c_str(), bad.line,
                 bad.message.c_str());
    return kUsageError;
  }
  // Anything the module writes ahead of a crash reaches the output.
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  CatchCrashes(ReportCrash, kModuleCrashed);
  const ReplaySummary s = RunReplay(options, calls);
  if (s.exitCode == kStartupFailed) {
    std::fprintf(stderr, "vantrel-replay: the module could not be started\n");
    return s.exitCode;
  }
  std::printf("vantrel-replay: %u frames presented, %u written, %u compared, %u differ, %u "
              "goldens missing, %u never presented\n",
              s.framesPresented, s.framesWritten, s.framesCompared, s.framesDiffering,
              s.goldensMissing, s.framesNeverPresented);
  return s.exitCode;
}

} // namespace replay
