// vantrel.ini: what each text gives, what it complains of, how the file is
// read from disk, and how it fills what the command line left.
#include "platform/options/play_ini.h"
#include "platform/options/play_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using playopts::PlayOptions;
using playopts::Presentation;

constexpr Presentation Excl = Presentation::Exclusive;
constexpr Presentation Bord = Presentation::Borderless;
constexpr Presentation Win = Presentation::Windowed;

// The settings a reading gave, with a key missing shown as "-": present,
// scale, fps_cap and module, one a word.
std::string Given(const PlayOptions &o) {
  std::string out;
  out += o.presentationGiven ? playopts::PresentationName(o.presentation) : "-";
  out += ' ';
  out += o.scaleGiven ? std::to_string(o.scale) : "-";
  out += ' ';
  out += o.fpsCapGiven ? std::to_string(o.fpsCap) : "-";
  out += ' ';
  out += o.moduleGiven ? o.modulePath : "-";
  return out;
}

const std::string kKeys = " (the keys are present, scale, fps_cap and module)";

struct TextRow {
  const char *what;
  std::string text;
  std::string given;    // Given() of the reading
  std::string problems; // the one message, exactly
  bool cut = false;
};

TEST(PlayIni, WhatEachTextGives) {
  const TextRow table[] = {
      {"empty", "", "- - - -", ""},
      {"every key", "present=borderless\nscale=2\nfps_cap=60\nmodule=game/prog.dll\n",
       "borderless 2 60 /games/game/prog.dll", ""},
      {"no newline at the end", "scale=2", "- 2 - -", ""},
      {"byte order mark", "\xEF\xBB\xBFscale=3\n", "- 3 - -", ""},
      {"CRLF line ends", "present=windowed\r\nscale=4\r\n", "windowed 4 - -", ""},
      {"comments and blank lines", "; scale=9\n# scale=8\n\n  \t\n  ;indented\nscale=2\n",
       "- 2 - -", ""},
      {"spaces, tabs and case", "  SCALE \t=\t 5  \nPresent = BorderLess\nFPS_Cap=0\n",
       "borderless 5 0 -", ""},
      {"window for windowed", "present=window", "windowed - - -", ""},
      {"exclusive given", "present=exclusive", "exclusive - - -", ""},
      {"the last of a key wins", "scale=2\nscale=3\npresent=windowed\npresent=borderless",
       "borderless 3 - -", ""},
      {"our section", "[vantrel]\nscale=2\n", "- 2 - -", ""},
      {"other sections skipped", "[other]\nscale=9\nnonsense\n[ Vantrel ]\nfps_cap=30\n",
       "- - 30 -", ""},
      {"keys before any header count", "scale=2\n[other]\nscale=9\n", "- 2 - -", ""},
      {"quoted module", "module = \"My Games/prog.dll\"", "- - - /games/My Games/prog.dll", ""},
      {"absolute module", "module=/opt/g/prog.dll", "- - - /opt/g/prog.dll", ""},
      {"drive letter module", "module=C:\\g\\prog.dll", "- - - C:\\g\\prog.dll", ""},
      {"share module", "module=\\\\srv\\g\\prog.dll", "- - - \\\\srv\\g\\prog.dll", ""},
      {"UTF-8 module", "module=spiele/\xC3\xBC.dll", "- - - /games/spiele/\xC3\xBC.dll", ""},
      // Each problem: the line is named, the key keeps its default, the
      // other lines still count.
      {"unknown key", "colour=red\nscale=2", "- 2 - -",
       "vantrel.ini line 1: unknown key 'colour'" + kKeys},
      {"bad scale", "scale=huge", "- - - -",
       "vantrel.ini line 1: scale must be a whole number from 1 to 16, not 'huge'"},
      {"scale 0", "scale=0", "- - - -",
       "vantrel.ini line 1: scale must be a whole number from 1 to 16, not '0'"},
      {"scale 17", "scale=17", "- - - -",
       "vantrel.ini line 1: scale must be a whole number from 1 to 16, not '17'"},
      {"bad value keeps the earlier one", "scale=3\nscale=x", "- 3 - -",
       "vantrel.ini line 2: scale must be a whole number from 1 to 16, not 'x'"},
      {"fps_cap too big", "fps_cap=10001", "- - - -",
       "vantrel.ini line 1: fps_cap must be a whole number from 0 to 10000, not '10001'"},
      {"fps_cap negative", "fps_cap=-1", "- - - -",
       "vantrel.ini line 1: fps_cap must be a whole number from 0 to 10000, not '-1'"},
      {"bad present", "present=big", "- - - -",
       "vantrel.ini line 1: present must be exclusive, borderless or windowed, not 'big'"},
      {"empty module", "module=\nmodule=\"\"", "- - - -",
       "vantrel.ini line 1: module must be a path, not ''\n"
       "vantrel.ini line 2: module must be a path, not ''"},
      {"no '='", "fullscreen\nscale=2", "- 2 - -",
       "vantrel.ini line 1: 'fullscreen' is not a key=value line"},
      {"no key", "=5", "- - - -", "vantrel.ini line 1: '=5' has no key before '='"},
      {"broken header", "[vantrel\nscale=2", "- 2 - -",
       "vantrel.ini line 1: '[vantrel' is not a section header"},
      {"inline comment is part of the value", "scale=2 ; big", "- - - -",
       "vantrel.ini line 1: scale must be a whole number from 1 to 16, not '2 ; big'"},
      {"several problems in one message", "a=1\nscale=x\r\nfps_cap=5\n\nnonsense", "- - 5 -",
       "vantrel.ini line 1: unknown key 'a'" + kKeys +
           "\nvantrel.ini line 2: scale must be a whole number from 1 to 16, not 'x'"
           "\nvantrel.ini line 5: 'nonsense' is not a key=value line"},
      {"binary junk", std::string("\x00\x01\xFF=\x02\nscale=2\n\x7F\x80", 16), "- 2 - -",
       "vantrel.ini line 1: unknown key '?\?\?'" + kKeys +
           "\nvantrel.ini line 3: '?\?' is not a key=value line"},
      {"broken UTF-8 shown as '?'", "present=gr\xC3\xB6\xC3(", "- - - -",
       "vantrel.ini line 1: present must be exclusive, borderless or windowed, not "
       "'gr\xC3\xB6?('"},
      {"long value cut short", "scale=" + std::string(60, 'z'), "- - - -",
       "vantrel.ini line 1: scale must be a whole number from 1 to 16, not '" +
           std::string(40, 'z') + "...'"},
      {"overlong line", std::string(1025, 'x') + "\nscale=2\n" + std::string(1024, ';'), "- 2 - -",
       "vantrel.ini line 1: longer than 1024 characters, ignored"},
      {"overlong line with its key", "scale=3" + std::string(2000, ' ') + "\n", "- - - -",
       "vantrel.ini line 1: longer than 1024 characters, ignored"},
      {"cut: the last line may be partial", "scale=2\nfps_cap=12", "- 2 - -",
       "vantrel.ini: only its first 65536 bytes were read, the rest is ignored", true},
      {"cut at a line end", "scale=2\nfps_cap=12\n", "- 2 12 -",
       "vantrel.ini: only its first 65536 bytes were read, the rest is ignored", true},
  };
  for (const auto &row : table) {
    const auto reading = playopts::ReadIniText(row.text, "/games", row.cut);
    EXPECT_EQ(Given(reading.options), row.given) << row.what;
    EXPECT_EQ(reading.problems, row.problems) << row.what;
  }
}

TEST(PlayIni, ModulePathsFromTheProgramsFolder) {
  const struct {
    const char *folder, *path, *expected;
  } table[] = {
      {"/usr/games", "prog.dll", "/usr/games/prog.dll"},
      {"/usr/games/", "sub/prog.dll", "/usr/games/sub/prog.dll"},
      {"/", "prog.dll", "/prog.dll"},
      {"C:\\Games\\Vantrel", "mods\\prog.dll", "C:\\Games\\Vantrel\\mods\\prog.dll"},
      {"C:\\", "prog.dll", "C:\\prog.dll"},
      {"C:/Games", "prog.dll", "C:/Games/prog.dll"},
      {"", "prog.dll", "prog.dll"},
      {"/usr/games", "/abs/prog.dll", "/abs/prog.dll"},
      {"C:\\Games", "d:prog.dll", "d:prog.dll"},
  };
  for (const auto &row : table) {
    EXPECT_EQ(playopts::PathFromFolder(row.folder, row.path), row.expected)
        << row.folder << " + " << row.path;
  }
}

// A folder of its own for each case, gone afterwards.
class PlayIniFile : public testing::Test {
protected:
  void SetUp() override {
    folder_ =
        std::filesystem::path(testing::TempDir()) /
        ("play_ini_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void Write(const std::string &bytes) {
    std::ofstream(folder_ / "vantrel.ini", std::ios::binary) << bytes;
  }
  playopts::IniReading Read() { return playopts::ReadIniFile(folder_.string()); }
  std::filesystem::path folder_;
};

TEST_F(PlayIniFile, MissingFileOrFolderIsNoProblem) {
  for (const auto &reading : {Read(), playopts::ReadIniFile("")}) {
    EXPECT_EQ(Given(reading.options), "- - - -");
    EXPECT_EQ(reading.problems, "");
  }
}

TEST_F(PlayIniFile, ReadsTheFileBesideTheProgram) {
  Write("\xEF\xBB\xBF[vantrel]\r\npresent=borderless\r\nmodule=prog.dll\r\nscale=two\r\n");
  const auto reading = Read();
  EXPECT_EQ(Given(reading.options), "borderless - - " + (folder_ / "prog.dll").string());
  EXPECT_EQ(reading.problems,
            "vantrel.ini line 4: scale must be a whole number from 1 to 16, not 'two'");
}

TEST_F(PlayIniFile, HugeFilesAreCutAndSaidSo) {
  const struct {
    const char *what;
    std::string bytes;
    std::string given;
  } table[] = {
      // Exactly the cap: all read, nothing cut.
      {"at the cap", "fps_cap=7\n" + std::string(playopts::kMaxIniBytes - 10, '\n'), "- - 7 -"},
      // One byte over: cut, and the line the cut went through is ignored.
      {"over the cap", "fps_cap=7\n" + std::string(playopts::kMaxIniBytes - 10, '\n') + "scale=2\n",
       "- - 7 -"},
      {"a megabyte of one line", std::string(1 << 20, 'x'), "- - - -"},
  };
  for (const auto &row : table) {
    Write(row.bytes);
    const auto reading = Read();
    EXPECT_EQ(Given(reading.options), row.given) << row.what;
    const bool cut = row.bytes.size() > playopts::kMaxIniBytes;
    EXPECT_EQ(reading.problems.rfind("vantrel.ini: only its first 65536 bytes were read", 0) == 0,
              cut)
        << row.what << ": " << reading.problems;
  }
}

TEST_F(PlayIniFile, BinaryJunkGivesBoundedProblems) {
  std::string junk(200 * 1024, '\0');
  uint32_t seed = 12345;
  for (char &c : junk) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  Write(junk);
  const auto reading = Read();
  // One line for the cut, a dozen named, the rest counted.
  EXPECT_LE(std::count(reading.problems.begin(), reading.problems.end(), '\n'),
            playopts::kMaxIniProblemsNamed + 1);
  EXPECT_EQ(reading.problems.find('\0'), std::string::npos);
  // The last line counts what was not named.
  const std::string last = reading.problems.substr(reading.problems.rfind('\n') + 1);
  EXPECT_TRUE(last.rfind("... and ", 0) == 0 && last.ends_with(" more problems")) << last;
}

TEST_F(PlayIniFile, AFolderInItsPlaceIsNamed) {
  std::filesystem::create_directory(folder_ / "vantrel.ini");
  const auto reading = Read();
  EXPECT_EQ(Given(reading.options), "- - - -");
  EXPECT_EQ(reading.problems.rfind("vantrel.ini: cannot be read: ", 0), 0u) << reading.problems;
}

// The command line over the file over the defaults, key by key.
TEST(PlayIni, CommandLineWinsFileFillsTheRest) {
  const struct {
    std::vector<std::string> args;
    std::string file;
    std::string result; // Given()-like: the final values, every key
  } table[] = {
      {{}, "", "exclusive 1 0 "},
      {{}, "present=borderless\nscale=2\nfps_cap=60\nmodule=m.dll", "borderless 2 60 /games/m.dll"},
      {{"--windowed"}, "present=borderless\nscale=2", "windowed 2 0 "},
      {{"--exclusive"}, "present=windowed", "exclusive 1 0 "},
      // Given on the command line even at its default value.
      {{"--scale", "1"}, "present=windowed\nscale=4", "windowed 1 0 "},
      {{"--strict-modes", "--record", "r.txt"}, "scale=4", "exclusive 4 0 "},
      {{"--fps-cap", "30", "--module", "cli.dll"},
       "fps_cap=60\nmodule=m.dll\nscale=3",
       "exclusive 3 30 cli.dll"},
      // --fps-cap 0 lifts the file's cap.
      {{"--fps-cap", "0"}, "fps_cap=60", "exclusive 1 0 "},
      // A bad line in the file leaves the default, not the command line's.
      {{"--borderless"}, "present=windowed\nscale=99", "borderless 1 0 "},
  };
  for (const auto &row : table) {
    PlayOptions options;
    std::vector<const char *> argv{"vantrel"};
    for (const auto &a : row.args) {
      argv.push_back(a.c_str());
    }
    ASSERT_EQ(
        playopts::ParsePlayOptions(static_cast<int>(argv.size()), argv.data(), &options).status,
        playopts::ParseStatus::Run);
    const auto file = playopts::ReadIniText(row.file, "/games");
    playopts::FillFromFile(file.options, &options);
    const std::string result = std::string(playopts::PresentationName(options.presentation)) + " " +
                               std::to_string(options.scale) + " " +
                               std::to_string(options.fpsCap) + " " + options.modulePath;
    EXPECT_EQ(result, row.result) << testing::PrintToString(row.args) << " over " << row.file;
  }
}

} // namespace

namespace {

// The sample shipped beside vantrel.exe changes nothing as it stands, and
// each example in it, once its ";" is removed, is a line the host takes.
TEST(PlayIni, TheShippedSampleIsQuietAndItsExamplesHold) {
  std::ifstream in(VANTREL_SAMPLE_INI, std::ios::binary);
  ASSERT_TRUE(in.good()) << VANTREL_SAMPLE_INI;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto asShipped = playopts::ReadIniText(text, "C:\\games");
  EXPECT_EQ(Given(asShipped.options), "- - - -");
  EXPECT_EQ(asShipped.problems, "");

  std::string uncommented;
  size_t examples = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    if (line.size() > 1 && line[0] == ';' && line.find('=') != std::string::npos &&
        line.find(' ') == std::string::npos) {
      line.erase(0, 1);
      ++examples;
    }
    uncommented += line;
    start = end;
  }
  EXPECT_EQ(examples, 4u);
  const auto examplesOn = playopts::ReadIniText(uncommented, "C:\\games");
  EXPECT_EQ(examplesOn.problems, "");
  EXPECT_EQ(Given(examplesOn.options),
            "borderless 2 60 " + playopts::PathFromFolder("C:\\games", "games\\mygame\\prog.dll"));
}

} // namespace
