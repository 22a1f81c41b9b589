// vantrel-replay as its users run it: exit codes, what it prints, the frames
// and diff images it writes. Runs the program itself on the demo module.
#include "capture/frame_image.h"
#include "vantrel_version.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

class ReplayCli : public ::testing::Test {
protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) /
          ("replay_cli_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Script(const std::string &body) {
    const fs::path path = dir / "run.script";
    std::ofstream(path) << body;
    return path;
  }

  // Runs vantrel-replay with `args` (already quoted) and the demo module;
  // `before` is shell text put before the command (variables, limits).
  Outcome Run(const std::string &args, const char *module = VANTREL_DEMO_MODULE,
              const std::string &before = "") {
    const std::string command = "cd '" + dir.string() + "' && " + before + " env -u DISPLAY '" +
                                VANTREL_REPLAY_EXE + "' --module '" + module + "' " + args +
                                " > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    Outcome o;
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.out = Slurp(dir / "out.txt");
    o.err = Slurp(dir / "err.txt");
    return o;
  }

  fs::path dir;
};

constexpr const char *kShortPlay = "vantrel-replay 1\n"
                                   "wait 1000\n"
                                   "move 200 150 8\n"
                                   "click left\n"
                                   "press RIGHT\n"
                                   "wait 1000\n";

// A golden with a few pixels changed: exit 1, the printed box and a diff
// image marking exactly those pixels; a missing golden: exit 1; the goldens
// as written: exit 0.
TEST_F(ReplayCli, GoldensCatchChangedPixelsAndMissingFiles) {
  const fs::path script = Script(kShortPlay);
  const Outcome update = Run("--golden goldens --update --frames 30,100 " + script.string());
  ASSERT_EQ(update.code, 0) << update.out << update.err;
  ASSERT_TRUE(fs::exists(dir / "goldens/frame-000030.png"));
  ASSERT_TRUE(fs::exists(dir / "goldens/frame-000100.png"));

  const Outcome same = Run("--golden goldens --out frames --frames 30,100 " + script.string());
  EXPECT_EQ(same.code, 0) << same.out << same.err;
  EXPECT_NE(same.err.find("vantrel: [Error!] DESTROY!"), std::string::npos) << same.err;

  // Three pixels of frame 100's golden change, one by less than the
  // tolerance used below.
  replay::RgbImage golden;
  std::string why;
  ASSERT_TRUE(replay::ReadPng((dir / "goldens/frame-000100.png").string(), &golden, &why));
  const auto poke = [&](int32_t x, int32_t y, int delta) {
    uint8_t &v = golden.rgb[static_cast<size_t>((y * golden.width + x) * 3 + 1)];
    v = static_cast<uint8_t>(v < 128 ? v + delta : v - delta);
  };
  poke(17, 40, 90);
  poke(301, 12, 90);
  poke(150, 222, 2);
  ASSERT_TRUE(replay::WritePng((dir / "goldens/frame-000100.png").string(), golden));

  struct Case {
    std::string args;
    int code;
    std::vector<std::string> printed;
    int64_t marked; // magenta pixels of frame 100's diff image; -1: no image
  };
  const Case cases[] = {
      {"--frames 30,100",
       1,
       {"frame 100: 3 pixels differ, box x 17..301 y 12..222 (285x211 at 17,12)"},
       3},
      {"--frames 30,100 --tolerance 2",
       1,
       {"frame 100: 2 pixels differ, box x 17..301 y 12..40 (285x29 at 17,12)"},
       2},
      {"--frames 30,100 --tolerance 90", 0, {"2 written, 2 compared, 0 differ"}, -1},
      {"--frames 30,60", 1, {"frame 60: golden goldens/frame-000060.png is missing"}, -1},
      {"--frames 30,99999", 1, {"frame 99999: never presented"}, -1},
      // The goldens there choose the frames.
      {"", 1, {"frame 100: 3 pixels differ", "2 written, 2 compared, 1 differ"}, 3},
  };
  for (const auto &c : cases) {
    fs::remove_all(dir / "frames");
    const Outcome o = Run("--golden goldens --out frames " + c.args + " " + script.string());
    EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.out << o.err;
    for (const auto &text : c.printed) {
      EXPECT_NE(o.out.find(text), std::string::npos) << c.args << ": " << o.out;
    }
    replay::RgbImage diff;
    const bool haveDiff =
        replay::ReadPng((dir / "frames/frame-000100-diff.png").string(), &diff, &why);
    EXPECT_EQ(haveDiff, c.marked >= 0) << c.args;
    if (haveDiff) {
      int64_t marked = 0;
      for (size_t i = 0; i < diff.rgb.size(); i += 3) {
        marked += diff.rgb[i] == 255 && diff.rgb[i + 1] == 0 && diff.rgb[i + 2] == 255;
      }
      EXPECT_EQ(marked, c.marked) << c.args;
      const size_t at = (static_cast<size_t>(40) * static_cast<size_t>(diff.width) + 17) * 3;
      EXPECT_EQ(diff.rgb[at], 255);
      EXPECT_EQ(diff.rgb[at + 1], 0);
    }
  }
}

int CountFiles(const fs::path &folder) {
  int n = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    ++n;
  }
  return n;
}

// Runs that would have passed without checking anything, or lost a frame
// silently, fail: the frames written over their own goldens, listed frames
// or goldens the run never presented, unreadable goldens, a golden folder
// with nothing in it, frames that could not be written.
TEST_F(ReplayCli, NoRunPassesWithoutItsChecks) {
  const fs::path script = Script(kShortPlay);
  ASSERT_EQ(Run("--golden goldens --update --frames 30,100 " + script.string()).code, 0);
  fs::create_directories(dir / "empty");
  fs::create_directories(dir / "late");
  fs::copy_file(dir / "goldens/frame-000030.png", dir / "late/frame-000030.png");
  fs::copy_file(dir / "goldens/frame-000030.png", dir / "late/frame-099999.png");
  fs::create_directories(dir / "corrupt");
  std::ofstream(dir / "corrupt/frame-000030.png") << "not a picture";
  const std::string same = "name the same folder";
  struct Case {
    std::string args;
    int code;
    std::string printed; // on standard output or standard error
    int written;         // files in frames/ afterwards; -1: not looked at
    std::string before = "";
  };
  const Case cases[] = {
      {"--golden goldens --out goldens --frames 30", 2, same, -1},
      {"--golden goldens/ --out ./goldens --frames 30", 2, same, -1},
      {"--golden .", 2, same, -1}, // the default --out is the current folder
      {"--golden goldens --out goldens --update --frames 30", 0, "1 written", -1},
      {"--out frames --frames 30,99999", 1,
       "frame 99999: never presented (the run presented 120 frames)", 1},
      {"--golden goldens --out frames", 0, "2 written, 2 compared, 0 differ", 2},
      {"--golden late --out frames", 1,
       "frame 99999: never presented (the run presented 120 frames)", 1},
      {"--golden empty --out frames", 2, "no goldens in empty", -1},
      {"--golden nowhere --out frames", 2, "no goldens in nowhere", -1},
      {"--golden corrupt --out frames", 2,
       "cannot read the golden corrupt/frame-000030.png: not a PNG", 1},
      // Frames bigger than the file size limit: every write fails.
      {"--out frames --frames 30", 2, "cannot write frames/frame-000030.png: File too large", 0,
       "trap '' XFSZ; ulimit -f 1;"},
  };
  for (const auto &c : cases) {
    fs::remove_all(dir / "frames");
    const Outcome o = Run(c.args + " " + script.string(), VANTREL_DEMO_MODULE, c.before);
    EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.out << o.err;
    EXPECT_NE((o.out + o.err).find(c.printed), std::string::npos) << c.args << "\n"
                                                                  << o.out << o.err;
    if (c.written >= 0) {
      EXPECT_EQ(CountFiles(dir / "frames"), c.written) << c.args; // no temporary file left
    }
  }
  EXPECT_EQ(CountFiles(dir / "goldens"), 2);
}

// The goldens a folder holds are what --update rewrites when no frames are
// listed; the diff images of an earlier run are gone before the next.
TEST_F(ReplayCli, GoldenFolderChoosesTheFrames) {
  const fs::path script = Script(kShortPlay);
  ASSERT_EQ(Run("--golden goldens --update --frames 30,100 " + script.string()).code, 0);
  const std::string kept = Slurp(dir / "goldens/frame-000100.png");
  replay::RgbImage black{640, 480, std::vector<uint8_t>(640 * 480 * 3)};
  ASSERT_TRUE(replay::WritePng((dir / "goldens/frame-000100.png").string(), black));
  fs::create_directories(dir / "frames");
  std::ofstream(dir / "frames/frame-000007-diff.png") << "left by an earlier run";

  Outcome o = Run("--golden goldens --out frames " + script.string());
  EXPECT_EQ(o.code, 1) << o.out << o.err;
  EXPECT_FALSE(fs::exists(dir / "frames/frame-000007-diff.png"));
  EXPECT_TRUE(fs::exists(dir / "frames/frame-000100-diff.png"));

  o = Run("--golden goldens --update " + script.string());
  EXPECT_EQ(o.code, 0) << o.out << o.err;
  EXPECT_NE(o.out.find("2 written, 0 compared"), std::string::npos) << o.out;
  EXPECT_EQ(CountFiles(dir / "goldens"), 2);
  EXPECT_EQ(Slurp(dir / "goldens/frame-000100.png"), kept);

  o = Run("--golden goldens --out frames " + script.string());
  EXPECT_EQ(o.code, 0) << o.out << o.err;
  EXPECT_EQ(CountFiles(dir / "frames"), 2) << "the earlier diff image is still there";
}

// The line that ends the output says how the run ended.
TEST_F(ReplayCli, TheRunsEndIsToldExactly) {
  struct Case {
    std::string body;
    const char *behaviour;
    std::string said; // "": no line about the end
  };
  const Case cases[] = {
      {"frame 16 x3\n", "", ""},
      {"frame 16\n", "quit-at-init",
       "the module ended the run during EV_INIT, before the script's first call, quit code 5"},
      {"", "quit-at-init",
       "the module ended the run during EV_INIT, before the script's first call, quit code 5"},
      {"frame 16\nframe 16\npress ESCAPE\nframe 16\n", "",
       "the run ended at line 4 of the script, quit code 0"},
      {"frame 16\nkeydown ESCAPE\n", "",
       "the run ended with the script's last line (line 3), quit code 0"},
  };
  for (const auto &c : cases) {
    const fs::path script = Script("vantrel-replay 1\n" + c.body);
    const Outcome o = Run("--out frames " + script.string(), VANTREL_MISBEHAVING_MODULE,
                          std::string("VANTREL_TEST_MODULE=") + c.behaviour);
    EXPECT_EQ(o.code, 0) << c.body << o.out << o.err;
    if (c.said.empty()) {
      EXPECT_EQ(o.out.find("ended"), std::string::npos) << c.body << o.out;
    } else {
      EXPECT_NE(o.out.find(c.said), std::string::npos) << c.body << o.out;
    }
  }
}

// The served calls under replay: a module polling the clock with Sleep sees
// it move (and the same times on every run); each box is answered by its
// default button and says so.
TEST_F(ReplayCli, ServedCallsBehaveAsOnWindows) {
  const fs::path script = Script("vantrel-replay 1\nframe 16 x3\n");
  struct Case {
    const char *behaviour;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {"clock-wait", {"clock: waited 10 ms, ticks moved 10 ms, done"}},
      {"boxes",
       {"vantrel: [Buttons] MB_OK\nbox: MB_OK answered 1",
        "vantrel: [Buttons] MB_OKCANCEL [answered OK]\nbox: MB_OKCANCEL answered 1",
        "[Buttons] MB_ABORTRETRYIGNORE [answered Abort]\nbox: MB_ABORTRETRYIGNORE answered 3",
        "[Buttons] MB_YESNOCANCEL [answered Yes]\nbox: MB_YESNOCANCEL answered 6",
        "[Buttons] MB_YESNO [answered Yes]\nbox: MB_YESNO answered 6",
        "[Buttons] MB_RETRYCANCEL [answered Retry]\nbox: MB_RETRYCANCEL answered 4",
        "box: MB_YESNO|MB_DEFBUTTON2 answered 7",
        "[answered Cancel]\nbox: MB_YESNOCANCEL|MB_DEFBUTTON3 answered 2"}},
  };
  for (const auto &c : cases) {
    for (int run = 0; run < 2; ++run) {
      const Outcome o = Run(script.string(), VANTREL_MISBEHAVING_MODULE,
                            std::string("VANTREL_TEST_MODULE=") + c.behaviour);
      EXPECT_EQ(o.code, 0) << c.behaviour << o.out << o.err;
      for (const auto &text : c.said) {
        EXPECT_NE(o.err.find(text), std::string::npos) << c.behaviour << ": " << text << "\n"
                                                       << o.err;
      }
    }
  }
}

// A module that crashes: exit code 4 and the call it crashed in, by script
// line, event and frame, also when the crash is in the first or last call.
TEST_F(ReplayCli, AModuleCrashIsNamedByItsCall) {
  struct Case {
    std::string body;
    const char *behaviour;
    std::string said;
  };
  const Case cases[] = {
      {"frame 16 x2\nmove 3 4\nkeydown LEFT 5\nframe 16\n", "crash-at=4",
       "module crashed (SIGSEGV) in the call of script line 4 (EV_KEYDOWN, frame 2)"},
      {"frame 16\nframe 16 x5\nframe 16\n", "crash-at=4",
       "module crashed (SIGSEGV) in the call of script line 3 (EV_FRAME, frame 3)"},
      {"frame 16\n", "crash-at=1",
       "module crashed (SIGSEGV) in the call of script line 2 (EV_FRAME, frame 0)"},
  };
  for (const auto &c : cases) {
    const fs::path script = Script("vantrel-replay 1\n" + c.body);
    const Outcome o = Run("--out frames " + script.string(), VANTREL_MISBEHAVING_MODULE,
                          std::string("VANTREL_TEST_MODULE=") + c.behaviour);
    EXPECT_EQ(o.code, 4) << c.body << o.out << o.err;
    EXPECT_NE(o.err.find(c.said), std::string::npos) << c.body << o.err;
  }
}

// Everything that is not a frame comparison: usage, script and start-up
// failures, and a run the script ends early.
TEST_F(ReplayCli, ExitCodesSayWhatWentWrong) {
  const fs::path good = Script(kShortPlay);
  std::ofstream(dir / "bad.script") << "vantrel-replay 1\n# fine so far\nwait 100\nkeydown NOKEY\n";
  std::ofstream(dir / "escape.script") << "vantrel-replay 1\nwait 100\npress ESCAPE\nwait 1000\n";
  const std::string notALibrary = (dir / "prog.dll").string();
  std::ofstream(notALibrary) << "this is text, not a library\n";
  struct Case {
    std::string args;
    const char *module;
    int code;
    std::string printed; // on standard output or standard error
  };
  const Case cases[] = {
      {"--help", VANTREL_DEMO_MODULE, 0, "Exit codes:"},
      {"--version", VANTREL_DEMO_MODULE, 0, "vantrel-replay " VANTREL_VERSION "\n"},
      {"--frames 1 " + good.string(), VANTREL_DEMO_MODULE, 0, "1 written, 0 compared"},
      {"bad.script", VANTREL_DEMO_MODULE, 2, "bad.script:4: unknown key 'NOKEY'"},
      {"missing.script", VANTREL_DEMO_MODULE, 2, "cannot read the script missing.script"},
      {"--frames 0 " + good.string(), VANTREL_DEMO_MODULE, 2, "--frames takes"},
      {"--every 2 --frames 3 " + good.string(), VANTREL_DEMO_MODULE, 2, "cannot be used together"},
      {"--update " + good.string(), VANTREL_DEMO_MODULE, 2, "--update needs --golden"},
      {"--tolerance 256 " + good.string(), VANTREL_DEMO_MODULE, 2, "--tolerance takes"},
      {"--bogus " + good.string(), VANTREL_DEMO_MODULE, 2, "unknown option '--bogus'"},
      {"", VANTREL_DEMO_MODULE, 2, "no script given"},
      {"--out /proc/no-frames-here " + good.string(), VANTREL_DEMO_MODULE, 2,
       "cannot make the folder"},
      {good.string(), "/nonexistent/prog.dll", 3,
       "vantrel: [Error!] prog.dll was not found or is not a valid DLL."},
      {good.string(), notALibrary.c_str(), 3,
       "vantrel: [Error!] prog.dll was not found or is not a valid DLL."},
      {"--frames 1 escape.script", VANTREL_DEMO_MODULE, 0,
       "the run ended at line 3 of the script, quit code 0"},
  };
  for (const auto &c : cases) {
    const Outcome o = Run(c.args, c.module);
    EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.out << o.err;
    EXPECT_NE((o.out + o.err).find(c.printed), std::string::npos) << c.args << "\n"
                                                                  << o.out << o.err;
  }
}

// The module sees exactly the calls the script lists: each event with its
// elapsed value, idle turns as EV_FRAME, the first call EV_INIT and the last
// EV_SHUTDOWN, both with 0; Escape ends the run without a call.
TEST_F(ReplayCli, TheModuleSeesTheScriptsCalls) {
  struct Case {
    const char *body;
    std::vector<std::string> calls; // between init and shutdown
    int frames;                     // presented
  };
  const Case cases[] = {
      {"", {}, 0},
      {"frame 16 x3\nframe 0\nframe 7\n",
       {"2000 key=0 at=0,0 ms=16", "2000 key=0 at=0,0 ms=16", "2000 key=0 at=0,0 ms=16",
        "2000 key=0 at=0,0 ms=0", "2000 key=0 at=0,0 ms=7"},
       4},
      {"keydown LEFT 3\nframe 5\nkeyup LEFT 40\nkeydown 0x41\n",
       {"2100 key=37 at=0,0 ms=3", "2000 key=37 at=0,0 ms=5", "2101 key=37 at=0,0 ms=40",
        "2100 key=65 at=0,0 ms=0"},
       1},
      {"move 100 20 5\nldown 7\nlup 80\nmove 65535 1\nrdown\nrup 2\n",
       {"2200 key=0 at=100,20 ms=5", "2210 key=0 at=100,20 ms=7", "2211 key=0 at=100,20 ms=80",
        "2200 key=0 at=65535,1 ms=0", "2220 key=0 at=65535,1 ms=0", "2221 key=0 at=65535,1 ms=2"},
       0},
      {"step 10\nwait 25\npress SPACE\nclick right\n",
       {"2000 key=0 at=0,0 ms=10", "2000 key=0 at=0,0 ms=10", "2000 key=0 at=0,0 ms=5",
        "2100 key=32 at=0,0 ms=0", "2101 key=32 at=0,0 ms=0", "2220 key=32 at=0,0 ms=0",
        "2221 key=32 at=0,0 ms=0"},
       3},
      {"frame 9\nkeydown ESCAPE 4\nframe 11\n", {"2000 key=0 at=0,0 ms=9"}, 1},
  };
  for (const auto &c : cases) {
    const fs::path script = Script(std::string("vantrel-replay 1\n") + c.body);
    const Outcome o = Run("--out frames " + script.string(), VANTREL_CALL_LOG_MODULE);
    EXPECT_EQ(o.code, 0) << c.body << o.err;
    std::vector<std::string> calls;
    std::istringstream lines(o.err);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("call ", 0) == 0) {
        calls.push_back(line.substr(5));
      }
    }
    ASSERT_GE(calls.size(), 2u) << c.body << o.err;
    EXPECT_EQ(calls.front(), "2003 key=0 at=0,0 ms=0") << c.body;
    EXPECT_EQ(calls.back().substr(0, 5), "2001 ") << c.body;
    EXPECT_EQ(calls.back().substr(calls.back().size() - 5), " ms=0") << c.body;
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 1, calls.end() - 1), c.calls) << c.body;
    int written = 0;
    for ([[maybe_unused]] const auto &f : fs::directory_iterator(dir / "frames")) {
      ++written;
    }
    EXPECT_EQ(written, c.frames) << c.body;
    fs::remove_all(dir / "frames");
  }
}

#ifdef VANTREL_QUIT_MODULE
// A module that reads the clock, sleeps, shows a box and quits with code 7
// through the served Win32 calls: under replay the clock is the virtual one,
// Sleep moves it on at once, the box is answered on
// standard error, and the run stops there with the module's code.
TEST_F(ReplayCli, ModuleQuitsThroughTheServedCalls) {
  const fs::path script = Script("vantrel-replay 1\nframe 16 x2\nframe 20\nframe 16 x50\n");
  for (int run = 0; run < 2; ++run) {
    const Outcome o = Run(script.string(), VANTREL_QUIT_MODULE);
    EXPECT_EQ(o.code, 0) << o.out << o.err;
    EXPECT_NE(o.out.find("the run ended at line 3 of the script, quit code 7"), std::string::npos)
        << o.out;
    // Init at 0, then 16 + 16 + 20 ms: the third idle turn starts at 52;
    // its Sleep(200) moves the replay's clock on without waiting.
    const size_t at = o.err.find("quit: clock before=52 after=252 ticks=252 slept=");
    ASSERT_NE(at, std::string::npos) << o.err;
    const int slept = std::atoi(o.err.c_str() + o.err.find("slept=", at) + 6);
    EXPECT_LT(slept, 150) << "Sleep(200) waited under replay";
    EXPECT_NE(o.err.find("vantrel: [Quit module] quitting with 7"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("quit: box answered 1"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("quit: shutdown frames=3"), std::string::npos) << o.err;
  }
}
#endif

// The same module and script give the same pixels, run after run.
TEST_F(ReplayCli, RunsAreDeterministic) {
  const fs::path script = Script(kShortPlay);
  ASSERT_EQ(Run("--out a --every 20 " + script.string()).code, 0);
  ASSERT_EQ(Run("--out b --every 20 " + script.string()).code, 0);
  int compared = 0;
  for (const auto &entry : fs::directory_iterator(dir / "a")) {
    EXPECT_EQ(Slurp(entry.path()), Slurp(dir / "b" / entry.path().filename()))
        << entry.path().filename();
    ++compared;
  }
  EXPECT_GE(compared, 3);
}

} // namespace
