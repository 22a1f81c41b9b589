// vantrel-replay's sound log, run as its users run it, on the sense module
// (tests/e2e/modules/sense_module.cpp): one line per sound call, with the
// frame on the screen and the answers the desktop host gives for the same
// scene (checked live by the sound_disk case of sense_e2e.py).
#include "replay/sound_log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char *CurrentTestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string Slurp(const fs::path &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SoundLogLine, NamesFlagsAndAnswers) {
  const struct {
    uint32_t frame;
    const char *function;
    const char *name;
    bool memory;
    uint32_t bytes;
    uint32_t flags;
    int32_t answer;
    const char *moduleDir;
    const char *line;
  } rows[] = {
      {120, "PlaySoundA", "boom.wav", false, 0, 0x00020001, 1, "",
       "frame 120 PlaySoundA \"boom.wav\" 0x00020001 -> 1\n"},
      {0, "PlaySoundA", nullptr, false, 0, 0, 1, "", "frame 0 PlaySoundA NULL 0x00000000 -> 1\n"},
      {7, "sndPlaySoundA", nullptr, true, 4410, 5, 0, "",
       "frame 7 sndPlaySoundA <memory 4410 bytes> 0x00000005 -> 0\n"},
      // A sound in the module's folder is written from there; others as given.
      {3, "PlaySoundA", "/games/mine/sfx/hit.wav", false, 0, 1, 1, "/games/mine/",
       "frame 3 PlaySoundA \"sfx/hit.wav\" 0x00000001 -> 1\n"},
      {3, "PlaySoundA", "/other/hit.wav", false, 0, 1, 1, "/games/mine/",
       "frame 3 PlaySoundA \"/other/hit.wav\" 0x00000001 -> 1\n"},
      {3, "PlaySoundA", "a\"b\\c\n\x7f.wav", false, 0, 1, 0, "",
       "frame 3 PlaySoundA \"a\\\"b\\\\c\\x0A\\x7F.wav\" 0x00000001 -> 0\n"},
  };
  for (const auto &r : rows) {
    EXPECT_EQ(replay::SoundLogLine(r.frame, r.function, r.name, r.memory, r.bytes, r.flags,
                                   r.answer, r.moduleDir),
              r.line);
  }
}

class ReplaySound : public ::testing::Test {
protected:
  void SetUp() override {
    // Each case has a folder of its own: ctest runs them side by side.
    dir = fs::path(::testing::TempDir()) /
          ("replay_sound_" + std::string(CurrentTestName()) + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "run.script") << "vantrel-replay 1\nwait 100\npress S\nwait 100\n";
  }
  void TearDown() override { fs::remove_all(dir); }

  int Run(const std::string &args) {
    const std::string command = "cd '" + dir.string() + "' && env -u DISPLAY '" +
                                VANTREL_REPLAY_EXE + "' --module '" + VANTREL_SENSE_MODULE +
                                "' --out frames " + args + " run.script > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir;
};

TEST_F(ReplaySound, TheLogHasEveryCallWithTheDesktopsAnswers) {
  ASSERT_EQ(Run("--sound-log sounds.log"), 0) << Slurp(dir / "err.txt");
  // The scene starts on the key-down of S, after 6 frames of idle turns.
  EXPECT_EQ(Slurp(dir / "sounds.log"), "frame 6 PlaySoundA \"tone_a.wav\" 0x00020000 -> 1\n"
                                       "frame 6 PlaySoundA \"tone_b.wav\" 0x00020009 -> 1\n"
                                       "frame 6 PlaySoundA \"tone_e.wav\" 0x00020011 -> 0\n"
                                       "frame 6 PlaySoundA NULL 0x00000000 -> 1\n"
                                       "frame 6 PlaySoundA \"tone_c.wav\" 0x00020001 -> 1\n"
                                       "frame 6 sndPlaySoundA \"tone_d.wav\" 0x00000000 -> 1\n"
                                       "frame 6 PlaySoundA \"broken.wav\" 0x00020001 -> 0\n"
                                       "frame 6 PlaySoundA \"missing.wav\" 0x00020003 -> 0\n");
  // Why the broken file is refused goes to the debug output, as on the desktop.
  EXPECT_NE(Slurp(dir / "err.txt")
                .find("PlaySoundA: \"broken.wav\": the header promises more "
                      "bytes than there are"),
            std::string::npos);
}

// The log kept as a golden: written with --update, matched, and a changed
// line named with exit code 1.
TEST_F(ReplaySound, TheSoundGoldenCatchesAChangedCall) {
  ASSERT_EQ(Run("--sound-golden sounds.golden --update"), 0) << Slurp(dir / "err.txt");
  EXPECT_FALSE(fs::exists(dir / "frames")); // --update of the sound golden alone
  const std::string golden = Slurp(dir / "sounds.golden");
  ASSERT_NE(golden.find("frame 6 PlaySoundA NULL 0x00000000 -> 1\n"), std::string::npos);
  ASSERT_EQ(Run("--sound-golden sounds.golden"), 0) << Slurp(dir / "out.txt");
  EXPECT_TRUE(fs::exists(dir / "frames/sounds.log"));

  std::string changed = golden;
  changed.replace(changed.find("NULL 0x00000000 -> 1"), 20, "NULL 0x00000000 -> 0");
  std::ofstream(dir / "sounds.golden") << changed;
  EXPECT_EQ(Run("--sound-golden sounds.golden"), 1);
  EXPECT_NE(Slurp(dir / "out.txt")
                .find("sound log: line 4 differs from sounds.golden\n"
                      "  got:    frame 6 PlaySoundA NULL 0x00000000 -> 1\n"
                      "  golden: frame 6 PlaySoundA NULL 0x00000000 -> 0\n"),
            std::string::npos)
      << Slurp(dir / "out.txt");
  std::ofstream(dir / "sounds.golden") << golden << "frame 9 PlaySoundA NULL 0x00000000 -> 1\n";
  EXPECT_EQ(Run("--sound-golden sounds.golden"), 1);
  EXPECT_NE(Slurp(dir / "out.txt").find("  got:    (the log ends)"), std::string::npos);
  EXPECT_EQ(Run("--sound-golden missing.golden"), 1);
  EXPECT_NE(Slurp(dir / "out.txt").find("the golden missing.golden cannot be read"),
            std::string::npos);
}

TEST_F(ReplaySound, ALogThatCannotBeWrittenIsAFileError) {
  EXPECT_EQ(Run("--sound-log no/such/folder/sounds.log"), 2);
  EXPECT_NE(Slurp(dir / "err.txt").find("cannot write the sound log no/such/folder/sounds.log"),
            std::string::npos);
  EXPECT_EQ(Run("--sound-log"), 2); // needs a value
}

} // namespace
