// The sound calls served to modules (PlaySoundA, sndPlaySoundA): WAV
// checking over a corpus of good and broken files, the calls' rules over an
// output that records what it is asked, and the replay's virtual device.
#include "host/host_state.h"
#include "platform/module_calls/sound_player.h"
#include "platform/module_calls/wav_sound.h"
#include "tests/double/test_double.h"
#include "vantrel_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes &b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes &b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutTag(Bytes &b, const char *tag) { b.insert(b.end(), tag, tag + 4); }

struct Fmt {
  uint16_t tag = 1;
  uint16_t channels = 1;
  uint32_t rate = 8000;
  uint16_t bits = 8;
  int32_t blockAlign = -1; // -1: the right value
  int32_t byteRate = -1;
};

Bytes FmtChunk(const Fmt &f, uint32_t size = 16) {
  Bytes b;
  PutTag(b, "fmt ");
  Put32(b, size);
  const uint16_t align =
      static_cast<uint16_t>(f.blockAlign >= 0 ? f.blockAlign : f.channels * f.bits / 8);
  Put16(b, f.tag);
  Put16(b, f.channels);
  Put32(b, f.rate);
  Put32(b, f.byteRate >= 0 ? static_cast<uint32_t>(f.byteRate) : f.rate * align);
  Put16(b, align);
  Put16(b, f.bits);
  b.resize(8 + size, 0);
  return b;
}

Bytes Chunk(const char *tag, const Bytes &body, int64_t claimed = -1) {
  Bytes b;
  PutTag(b, tag);
  Put32(b, claimed >= 0 ? static_cast<uint32_t>(claimed) : static_cast<uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2 == 1) {
    b.push_back(0); // the pad byte
  }
  return b;
}

// RIFF/WAVE around the chunks; `riffDelta` makes the header lie.
Bytes Wav(const std::vector<Bytes> &chunks, int64_t riffDelta = 0) {
  Bytes body;
  PutTag(body, "WAVE");
  for (const Bytes &c : chunks) {
    body.insert(body.end(), c.begin(), c.end());
  }
  Bytes b;
  PutTag(b, "RIFF");
  Put32(b, static_cast<uint32_t>(static_cast<int64_t>(body.size()) + riffDelta));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

Bytes Samples(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) {
    b[i] = static_cast<uint8_t>(i * 7 + 3);
  }
  return b;
}

Bytes GoodWav() { return Wav({FmtChunk({}), Chunk("data", Samples(800))}); }

struct CorpusCase {
  const char *name;
  Bytes bytes;
  bool good;
  uint32_t frames; // when good
};

std::vector<CorpusCase> Corpus() {
  Fmt stereo16{1, 2, 44100, 16};
  Fmt ext{0xFFFE, 1, 22050, 16};
  Bytes extFmt = FmtChunk(ext, 40);
  extFmt[8 + 24] = 1; // sub-format PCM
  Bytes extFloat = FmtChunk(ext, 40);
  extFloat[8 + 24] = 3;
  Bytes truncatedData = GoodWav();
  truncatedData.resize(truncatedData.size() - 100);
  Bytes withTail = GoodWav();
  withTail.insert(withTail.end(), 10, 0xAA); // after the RIFF: not the WAV's
  return {
      {"8-bit mono", GoodWav(), true, 800},
      {"16-bit stereo", Wav({FmtChunk(stereo16), Chunk("data", Samples(4000))}), true, 1000},
      {"a partial last frame is left out", Wav({FmtChunk(stereo16), Chunk("data", Samples(4003))}),
       true, 1000},
      {"other chunks, odd-sized, before and after",
       Wav({Chunk("LIST", Samples(5)), FmtChunk({}), Chunk("junk", Samples(3)),
            Chunk("data", Samples(9)), Chunk("cue ", Samples(1))}),
       true, 9},
      {"data before format", Wav({Chunk("data", Samples(10)), FmtChunk({})}), true, 10},
      {"extensible PCM", Wav({extFmt, Chunk("data", Samples(20))}), true, 10},
      {"bytes after the RIFF", withTail, true, 800},
      {"no samples", Wav({FmtChunk({}), Chunk("data", {})}), true, 0},
      {"empty file", {}, false, 0},
      {"only RIFF", {'R', 'I', 'F', 'F'}, false, 0},
      {"not WAVE",
       [] {
         Bytes b = GoodWav();
         b[8] = 'A';
         return b;
       }(),
       false, 0},
      {"RIFX",
       [] {
         Bytes b = GoodWav();
         b[3] = 'X';
         return b;
       }(),
       false, 0},
      {"truncated in the samples", truncatedData, false, 0},
      {"truncated in the header",
       [] {
         Bytes b = GoodWav();
         b.resize(30);
         return b;
       }(),
       false, 0},
      {"RIFF size larger than the file", Wav({FmtChunk({}), Chunk("data", Samples(8))}, 1), false,
       0},
      {"RIFF size 0xFFFFFFFF",
       [] {
         Bytes b = GoodWav();
         b[4] = b[5] = b[6] = b[7] = 0xFF;
         return b;
       }(),
       false, 0},
      {"data size past the end", Wav({FmtChunk({}), Chunk("data", Samples(8), 9000)}), false, 0},
      {"data size 0xFFFFFFFF", Wav({FmtChunk({}), Chunk("data", Samples(8), 0xFFFFFFFF)}), false,
       0},
      {"chunk size past the end", Wav({FmtChunk({}), Chunk("LIST", Samples(4), 4000)}), false, 0},
      {"no format chunk", Wav({Chunk("data", Samples(8))}), false, 0},
      {"no data chunk", Wav({FmtChunk({})}), false, 0},
      {"format chunk too short", Wav({FmtChunk({}, 14), Chunk("data", Samples(8))}), false, 0},
      {"float samples", Wav({FmtChunk({3, 1, 8000, 32}), Chunk("data", Samples(8))}), false, 0},
      {"extensible float", Wav({extFloat, Chunk("data", Samples(8))}), false, 0},
      {"ADPCM", Wav({FmtChunk({2, 1, 8000, 4}), Chunk("data", Samples(8))}), false, 0},
      {"24 bits", Wav({FmtChunk({1, 1, 8000, 24}), Chunk("data", Samples(9))}), false, 0},
      {"three channels", Wav({FmtChunk({1, 3, 8000, 8}), Chunk("data", Samples(9))}), false, 0},
      {"no channels", Wav({FmtChunk({1, 0, 8000, 8}), Chunk("data", Samples(9))}), false, 0},
      {"rate 0", Wav({FmtChunk({1, 1, 0, 8}), Chunk("data", Samples(9))}), false, 0},
      {"rate 300000", Wav({FmtChunk({1, 1, 300000, 8}), Chunk("data", Samples(9))}), false, 0},
      {"lying block size", Wav({FmtChunk({1, 2, 8000, 16, 2}), Chunk("data", Samples(8))}), false,
       0},
      {"lying byte rate", Wav({FmtChunk({1, 1, 8000, 8, -1, 16000}), Chunk("data", Samples(8))}),
       false, 0},
  };
}

TEST(WavCorpus, GoodFilesParseAndBrokenOnesAreRefusedWithAReason) {
  for (const CorpusCase &c : Corpus()) {
    modulecalls::WavSound sound;
    std::string why;
    const bool ok = modulecalls::ParseWav(c.bytes.data(), c.bytes.size(), &sound, &why);
    EXPECT_EQ(ok, c.good) << c.name << ": " << why;
    if (ok) {
      EXPECT_EQ(sound.Frames(), c.frames) << c.name;
    } else {
      EXPECT_FALSE(why.empty()) << c.name;
    }
  }
  modulecalls::WavSound sound;
  const Bytes good = GoodWav();
  ASSERT_TRUE(modulecalls::ParseWav(good.data(), good.size(), &sound, nullptr));
  EXPECT_EQ(sound.DurationMs(), 100u); // 800 frames at 8000 a second
  EXPECT_EQ(Bytes(sound.samples.begin(), sound.samples.begin() + 4), (Bytes{3, 10, 17, 24}));
}

// Every prefix of a good file, and every header byte changed, read from
// disk: never a crash (under the sanitizers), and only the whole file plays.
TEST(WavCorpus, EveryTruncationAndHeaderByteFromDisk) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("vantrel-wav-corpus-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "sound.wav").string();
  const auto write = [&path](const Bytes &b) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!b.empty()) {
      std::fwrite(b.data(), 1, b.size(), f);
    }
    std::fclose(f);
  };
  Bytes good = Wav({FmtChunk({1, 2, 22050, 16}), Chunk("data", Samples(64))});
  for (size_t n = 0; n <= good.size(); ++n) {
    write(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)));
    modulecalls::WavSound sound;
    EXPECT_EQ(modulecalls::ReadWavFile(path.c_str(), &sound, nullptr), n == good.size()) << n;
  }
  for (size_t i = 0; i < 44; ++i) {
    for (const uint8_t v : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes b = good;
      b[i] = v;
      write(b);
      modulecalls::WavSound sound;
      if (modulecalls::ReadWavFile(path.c_str(), &sound, nullptr)) {
        EXPECT_LE(sound.samples.size(), 64u) << i;
      }
    }
  }
  for (const CorpusCase &c : Corpus()) {
    write(c.bytes);
    modulecalls::WavSound sound;
    EXPECT_EQ(modulecalls::ReadWavFile(path.c_str(), &sound, nullptr), c.good) << c.name;
  }
  modulecalls::WavSound sound;
  std::string why;
  EXPECT_FALSE(modulecalls::ReadWavFile((dir / "missing.wav").string().c_str(), &sound, &why));
  EXPECT_EQ(why, "cannot be opened");
  EXPECT_FALSE(modulecalls::ReadWavFile(dir.string().c_str(), &sound, &why)); // a folder
  std::filesystem::remove_all(dir);
}

// An output that records what it is asked.
struct Recorder {
  bool ready = true;
  bool startAnswer = true;
  bool playing = false;
  std::string actions; // s = stop, P = start, L = start a loop, w = wait
  std::vector<uint32_t> framesStarted;
};
Recorder rec;

const modulecalls::SoundOutput kRecording = {
    []() { return rec.ready; },
    [](const modulecalls::WavSound &sound, bool loop) {
      rec.actions += loop ? 'L' : 'P';
      rec.framesStarted.push_back(sound.Frames());
      rec.playing = rec.startAnswer;
      return rec.startAnswer;
    },
    []() {
      rec.actions += 's';
      rec.playing = false;
    },
    []() { return rec.playing; },
    []() {
      rec.actions += 'w';
      rec.playing = false;
    },
};

std::vector<modulecalls::SoundCall> observed;
std::vector<std::string> observedNames;
void Observe(const modulecalls::SoundCall &call) {
  observed.push_back(call);
  observedNames.emplace_back(call.name != nullptr ? call.name : "(none)");
}

class SoundCalls : public ::testing::Test {
protected:
  void SetUp() override {
    td::Reset();
    modulecalls::ResetSoundPlayer();
    modulecalls::SetSoundOutput(&kRecording);
    modulecalls::SetSoundCallObserver(Observe);
    rec = Recorder{};
    observed.clear();
    observedNames.clear();
    // Each case has a folder of its own: ctest runs them side by side.
    dir = std::filesystem::temp_directory_path() /
          ("vantrel-sound-calls-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
           std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Save("a.wav", GoodWav());
    Save("b.wav", Wav({FmtChunk({1, 1, 8000, 16}), Chunk("data", Samples(40))}));
    Save("broken.wav", Wav({FmtChunk({}), Chunk("data", Samples(8), 9000)}));
    Save("silent.wav", Wav({FmtChunk({}), Chunk("data", {})}));
  }
  void TearDown() override {
    modulecalls::ResetSoundPlayer();
    std::filesystem::remove_all(dir);
  }
  void Save(const char *name, const Bytes &b) {
    std::FILE *f = std::fopen(File(name).c_str(), "wb");
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
  }
  std::string File(const char *name) { return (dir / name).string(); }
  std::filesystem::path dir;
};

struct CallRow {
  const char *sound; // a file in the test's folder, or null
  DWORD flags;
  bool playingBefore;
  BOOL answer;
  const char *actions;
};

TEST_F(SoundCalls, EachFlagAsWindowsHasIt) {
  constexpr DWORD F = SND_FILENAME;
  const CallRow rows[] = {
      {"a.wav", F | SND_ASYNC, false, TRUE, "sP"},
      {"a.wav", F | SND_SYNC, false, TRUE, "sPw"}, // returns when played
      {"a.wav", SND_ASYNC, false, TRUE, "sP"},     // no kind flag: a file name
      {"a.wav", F | SND_ASYNC, true, TRUE, "sP"},  // a new sound stops the last
      {"a.wav", F | SND_ASYNC | SND_LOOP, false, TRUE, "sL"},
      {"a.wav", F | SND_LOOP, false, FALSE, ""}, // a synchronous loop never returns
      {"a.wav", F | SND_ASYNC | SND_NOSTOP, true, FALSE, ""},
      {"a.wav", F | SND_ASYNC | SND_NOSTOP, false, TRUE, "sP"},
      {"a.wav", F | SND_ASYNC | SND_NODEFAULT, false, TRUE, "sP"},
      {"missing.wav", F | SND_ASYNC, true, FALSE, "s"}, // the last sound still stops
      {"missing.wav", F | SND_ASYNC | SND_NODEFAULT, false, FALSE, "s"},
      {"broken.wav", F | SND_SYNC, false, FALSE, "s"},
      {"silent.wav", F | SND_SYNC, false, TRUE, "s"}, // nothing to hear
      {"a.wav", SND_ALIAS | SND_ASYNC, false, FALSE, "s"},
      {"a.wav", SND_RESOURCE | SND_ASYNC, false, FALSE, "s"},
      {nullptr, 0, true, TRUE, "s"}, // NULL stops
      {nullptr, SND_PURGE, true, TRUE, "s"},
      {"b.wav", F | SND_PURGE, true, TRUE, ""}, // another sound plays: kept
  };
  for (const CallRow &row : rows) {
    rec.actions.clear();
    rec.playing = row.playingBefore;
    const std::string path = row.sound != nullptr ? File(row.sound) : "";
    EXPECT_EQ(PlaySoundA(row.sound != nullptr ? path.c_str() : nullptr, nullptr, row.flags),
              row.answer)
        << (row.sound ? row.sound : "NULL") << " 0x" << std::hex << row.flags;
    EXPECT_EQ(rec.actions, row.actions)
        << (row.sound ? row.sound : "NULL") << " 0x" << std::hex << row.flags;
  }
}

TEST_F(SoundCalls, PurgeByNameStopsThatSoundOnly) {
  ASSERT_EQ(PlaySoundA(File("a.wav").c_str(), nullptr, SND_ASYNC), TRUE);
  rec.actions.clear();
  EXPECT_EQ(PlaySoundA(File("b.wav").c_str(), nullptr, SND_PURGE), TRUE);
  EXPECT_EQ(rec.actions, "");
  EXPECT_EQ(PlaySoundA(File("a.wav").c_str(), nullptr, SND_PURGE), TRUE);
  EXPECT_EQ(rec.actions, "s");
}

TEST_F(SoundCalls, FromMemoryAndThroughSndPlaySound) {
  const Bytes image = Wav({FmtChunk({1, 1, 8000, 16}), Chunk("data", Samples(40))});
  const auto *mem = reinterpret_cast<LPCSTR>(image.data());
  EXPECT_EQ(PlaySoundA(mem, nullptr, SND_MEMORY | SND_ASYNC), TRUE);
  EXPECT_EQ(sndPlaySoundA(mem, SND_MEMORY | SND_SYNC), TRUE);
  const Bytes notWav(16, 'x');
  EXPECT_EQ(PlaySoundA(reinterpret_cast<LPCSTR>(notWav.data()), nullptr, SND_MEMORY), FALSE);
  EXPECT_EQ(sndPlaySoundA(File("b.wav").c_str(), SND_ASYNC | SND_LOOP), TRUE);
  // sndPlaySoundA takes a name as a file whatever else is set.
  EXPECT_EQ(sndPlaySoundA(File("a.wav").c_str(), SND_ASYNC | SND_ALIAS), TRUE);
  EXPECT_EQ(sndPlaySoundA(nullptr, 0), TRUE);
  EXPECT_EQ(rec.actions, "sPsPwssLsPs");
  EXPECT_EQ(rec.framesStarted, (std::vector<uint32_t>{20, 20, 20, 800}));

  ASSERT_EQ(observed.size(), 6u);
  EXPECT_STREQ(observed[0].function, "PlaySoundA");
  EXPECT_TRUE(observed[0].memory);
  EXPECT_EQ(observed[0].memoryBytes, image.size());
  EXPECT_EQ(observed[0].flags, SND_MEMORY | SND_ASYNC);
  EXPECT_STREQ(observed[1].function, "sndPlaySoundA");
  EXPECT_EQ(observed[2].answer, FALSE);
  EXPECT_EQ(observed[2].memoryBytes, 0u);
  EXPECT_EQ(observedNames[3], File("b.wav"));
  EXPECT_EQ(observed[4].flags, SND_ASYNC | SND_ALIAS); // logged as given
  EXPECT_EQ(observedNames[5], "(none)");
  EXPECT_FALSE(observed[5].memory);
}

TEST_F(SoundCalls, NoDeviceAnswersFalseToEveryCall) {
  for (const bool haveOutput : {false, true}) {
    modulecalls::SetSoundOutput(haveOutput ? &kRecording : nullptr);
    rec.ready = false;
    rec.actions.clear();
    EXPECT_EQ(PlaySoundA(File("a.wav").c_str(), nullptr, SND_ASYNC), FALSE);
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, 0), FALSE);
    EXPECT_EQ(sndPlaySoundA(File("a.wav").c_str(), SND_SYNC), FALSE);
    EXPECT_EQ(rec.actions, "");
  }
  // A device that refuses the sound.
  modulecalls::SetSoundOutput(&kRecording);
  rec.ready = true;
  rec.startAnswer = false;
  EXPECT_EQ(PlaySoundA(File("a.wav").c_str(), nullptr, SND_SYNC), FALSE);
  EXPECT_EQ(rec.actions, "sP");
}

TEST_F(SoundCalls, AFailureIsExplainedOnceOnTheDebugOutput) {
  for (int i = 0; i < 3; ++i) {
    PlaySoundA(File("broken.wav").c_str(), nullptr, SND_ASYNC);
  }
  PlaySoundA(File("missing.wav").c_str(), nullptr, SND_ASYNC);
  const std::string want = "PlaySoundA: \"" + File("broken.wav") +
                           "\": a chunk runs past the end of the file\n"
                           "PlaySoundA: \"" +
                           File("missing.wav") + "\": cannot be opened\n";
  EXPECT_EQ(td::DebugOutput(), want);
}

// The replay's device: a sound lasts its length on the served clock.
TEST_F(SoundCalls, TheVirtualDeviceKeepsTimeOnTheServedClock) {
  modulecalls::SetSoundOutput(modulecalls::VirtualSoundOutput());
  const std::string a = File("a.wav"); // 100 ms
  const std::string b = File("b.wav"); // 5 ms
  struct Row {
    uint32_t tick;
    const char *sound;
    DWORD flags;
    BOOL answer;
  };
  const Row rows[] = {
      {1000, a.c_str(), SND_ASYNC, TRUE},
      {1099, b.c_str(), SND_ASYNC | SND_NOSTOP, FALSE}, // a plays until 1100
      {1100, b.c_str(), SND_ASYNC | SND_NOSTOP, TRUE},
      {1100, a.c_str(), SND_ASYNC | SND_LOOP, TRUE},
      {9000, b.c_str(), SND_ASYNC | SND_NOSTOP, FALSE}, // a loop plays on
      {9000, nullptr, 0, TRUE},
      {9000, b.c_str(), SND_ASYNC | SND_NOSTOP, TRUE},
      {9001, a.c_str(), SND_SYNC, TRUE}, // played out when the call returns
      {9001, b.c_str(), SND_ASYNC | SND_NOSTOP, TRUE},
  };
  for (const Row &row : rows) {
    td::SetClock(row.tick);
    EXPECT_EQ(PlaySoundA(row.sound, nullptr, row.flags), row.answer) << row.tick;
  }
}

} // namespace
