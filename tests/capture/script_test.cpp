// The replay script: what each line delivers, the hand-written conveniences,
// the errors with their line numbers, and the recorder's output read back.
#include "capture/recorder.h"
#include "capture/script.h"
#include "host/call_observer.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using replay::CallType;
using replay::FormatCall;
using replay::ParseScript;
using replay::ScriptCall;
using replay::ScriptError;

// The calls of a script body, each as the line the writer makes for it.
std::vector<std::string> Lines(const std::string &body) {
  std::vector<ScriptCall> calls;
  ScriptError error;
  EXPECT_TRUE(ParseScript("vantrel-replay 1\n" + body, &calls, &error)) << error.message;
  std::vector<std::string> lines;
  for (const auto &c : calls) {
    lines.push_back(FormatCall(c));
  }
  return lines;
}

TEST(ReplayScript, EachLineDeliversItsCalls) {
  struct Case {
    const char *body;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"frame 16\n", {"frame 16"}},
      {"frame 16 x120\n", {"frame 16 x120"}},
      {"frame 0 x1\n", {"frame 0"}},
      {"keydown LEFT 3\nkeyup left 40\n", {"keydown LEFT 3", "keyup LEFT 40"}},
      {"keydown 0x25\nkeydown 37\nkeydown a\n",
       {"keydown LEFT 0", "keydown LEFT 0", "keydown A 0"}},
      {"keydown F24 1\nkeydown numpad7 2\nkeydown 0xFF\n",
       {"keydown F24 1", "keydown NUMPAD7 2", "keydown 0xFF 0"}},
      {"move 100 20 5\nmove 65535 0\n", {"move 100 20 5", "move 65535 0 0"}},
      {"ldown 7\nlup 80\nrdown\nrup 0\n", {"ldown 7", "lup 80", "rdown 0", "rup 0"}},
      // 500 ms of the default step: 31 turns of 16, then one of 4.
      {"wait 500\n", {"frame 16 x31", "frame 4"}},
      {"step 10\nwait 30\nwait 5\nwait 0\n", {"frame 10 x3", "frame 5"}},
      {"press A\n", {"keydown A 0", "keyup A 0"}},
      {"click left\nclick right\n", {"ldown 0", "lup 0", "rdown 0", "rup 0"}},
      // Comments, blank lines, tabs and Windows line ends.
      {"# a comment\n\n  frame\t16  # trailing words are a comment\r\n\r\n", {"frame 16"}},
      {"frame 2147483647\n", {"frame 2147483647"}},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(Lines(c.body), c.calls) << c.body;
  }
}

TEST(ReplayScript, BadLinesAreNamedByTheirNumber) {
  using namespace std::string_view_literals;
  struct Case {
    std::string_view text;
    int32_t line;
    const char *words; // part of the message
  };
  const Case cases[] = {
      {"", 1, "must start with 'vantrel-replay 1'"},
      {"# only a comment\n", 1, "must start"},
      {"frame 16\n", 1, "must start"},
      {"vantrel-replay 2\n", 1, "unsupported script version '2'"},
      {"vantrel-replay 1\nframe\n", 2, "frame ELAPSED"},
      {"vantrel-replay 1\n\nframe -1\n", 3, "frame ELAPSED"},
      {"vantrel-replay 1\nframe 2147483648\n", 2, "frame ELAPSED"},
      {"vantrel-replay 1\nframe 16 x0\n", 2, "bad count 'x0'"},
      {"vantrel-replay 1\nframe 16 120\n", 2, "bad count '120'"},
      {"vantrel-replay 1\nkeydown NOSUCHKEY\n", 2, "unknown key 'NOSUCHKEY'"},
      {"vantrel-replay 1\nkeydown 0x100\n", 2, "unknown key '0x100'"},
      {"vantrel-replay 1\nkeydown F25\n", 2, "unknown key 'F25'"},
      {"vantrel-replay 1\nkeyup A 1 2\n", 2, "too many words"},
      {"vantrel-replay 1\nmove 10\n", 2, "move X Y"},
      {"vantrel-replay 1\nmove 10 65536\n", 2, "move X Y"},
      {"vantrel-replay 1\nldown soon\n", 2, "bad elapsed value 'soon'"},
      {"vantrel-replay 1\nstep 0\n", 2, "step MS"},
      {"vantrel-replay 1\nwait\n", 2, "wait MS"},
      {"vantrel-replay 1\nclick middle\n", 2, "click left"},
      {"vantrel-replay 1\npress\n", 2, "press KEY"},
      {"vantrel-replay 1\nframe 1\njump 3\n", 3, "unknown call 'jump'"},
      // A NUL byte anywhere in a line, comments included, is named.
      {"vantrel-replay 1\nframe\0 16\n"sv, 2, "a NUL byte at column 6"},
      {"\0vantrel-replay 1\n"sv, 1, "a NUL byte at column 1"},
      {"vantrel-replay 1\nframe 1\nframe 1 # note \0\n"sv, 3, "a NUL byte at column 16"},
      // A byte-order mark is passed over before the first line only.
      {"vantrel-replay 1\n\xEF\xBB\xBF"
       "frame 16\n",
       2, "unknown call"},
      {"\xEF\xBB\xBF\xEF\xBB\xBFvantrel-replay 1\n", 1, "must start"},
  };
  for (const auto &c : cases) {
    std::vector<ScriptCall> calls;
    ScriptError error;
    EXPECT_FALSE(ParseScript(c.text, &calls, &error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_NE(error.message.find(c.words), std::string::npos) << c.text << " -> " << error.message;
  }
}

// A script saved by an editor that starts UTF-8 files with a byte-order mark
// (and ends lines with CRLF) reads as the same script without them.
TEST(ReplayScript, AByteOrderMarkIsPassedOver) {
  std::vector<ScriptCall> plain;
  std::vector<ScriptCall> marked;
  ScriptError error;
  ASSERT_TRUE(ParseScript("vantrel-replay 1\nframe 16 x2\npress A\n", &plain, &error));
  ASSERT_TRUE(
      ParseScript("\xEF\xBB\xBFvantrel-replay 1\r\nframe 16 x2\r\npress A\r\n", &marked, &error))
      << error.message;
  ASSERT_EQ(marked.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(FormatCall(marked[i]), FormatCall(plain[i]));
    EXPECT_EQ(marked[i].line, plain[i].line);
  }
}

TEST(ReplayScript, EveryKeyCodeReadsBackFromItsName) {
  for (uint32_t code = 1; code <= 255; ++code) {
    uint32_t back = 0;
    ASSERT_TRUE(replay::KeyFromName(replay::KeyName(code), &back)) << replay::KeyName(code);
    EXPECT_EQ(back, code) << replay::KeyName(code);
  }
  uint32_t code = 0;
  ASSERT_TRUE(replay::KeyFromName("0", &code)); // a single digit is the digit key
  EXPECT_EQ(code, 0x30u);
}

// The recorder sees what the host calls the module with and writes it so
// that reading it back gives the same calls.
TEST(ReplayRecorder, WritesTheCallsFoldedAndReadsBack) {
  const std::string path = ::testing::TempDir() + "recorder_test.script";
  ASSERT_TRUE(replay::StartRecording(path.c_str()));
  ASSERT_NE(vantrel::callObserver, nullptr);
  VEvent e;
  const auto call = [&](vantrel::CallKind kind, int32_t code, int32_t elapsed) {
    e.code = code;
    vantrel::callObserver(kind, e, elapsed);
  };
  using K = vantrel::CallKind;
  call(K::Init, EV_INIT, 0);
  call(K::Idle, EV_FRAME, 16);
  call(K::Idle, EV_FRAME, 16);
  call(K::Idle, EV_FRAME, 16);
  call(K::Idle, EV_FRAME, 17);
  e.key = 0x25;
  call(K::Message, EV_KEYDOWN, 3);
  call(K::Idle, EV_FRAME, 16);
  e.mouseX = 100;
  e.mouseY = 20;
  call(K::Message, EV_MOUSEMOVE, 5);
  call(K::Message, EV_LBUTTONDOWN, 0);
  call(K::Message, EV_LBUTTONUP, 1);
  call(K::Message, EV_RBUTTONDOWN, 2);
  call(K::Message, EV_RBUTTONUP, 3);
  e.key = 0xBB;
  call(K::Message, EV_KEYUP, 40);
  call(K::Idle, EV_FRAME, 0);
  call(K::Idle, EV_FRAME, 0);
  replay::RecordComment("screenshot frame 7");
  call(K::Idle, EV_FRAME, 0);
  call(K::Shutdown, EV_SHUTDOWN, 0);
  EXPECT_TRUE(replay::StopRecording());
  EXPECT_EQ(vantrel::callObserver, nullptr);

  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(text, line)) {
    if (line.rfind("# recorded", 0) != 0) {
      lines.push_back(line);
    }
  }
  const std::vector<std::string> expected = {"vantrel-replay 1",
                                             "# init 0",
                                             "frame 16 x3",
                                             "frame 17",
                                             "keydown LEFT 3",
                                             "frame 16",
                                             "move 100 20 5",
                                             "ldown 0",
                                             "lup 1",
                                             "rdown 2",
                                             "rup 3",
                                             "keyup OEM_PLUS 40",
                                             "frame 0 x2",
                                             "# screenshot frame 7",
                                             "frame 0",
                                             "# shutdown 0"};
  EXPECT_EQ(lines, expected);

  std::vector<ScriptCall> calls;
  ScriptError error;
  ASSERT_TRUE(ParseScript(text.str(), &calls, &error)) << error.message;
  ASSERT_EQ(calls.size(), 12u);
  EXPECT_EQ(calls[0].count, 3u);
  EXPECT_EQ(calls[4].type, CallType::Move);
  EXPECT_EQ(calls[4].x, 100);
  std::remove(path.c_str());
}

// A module may crash in any call: the file must hold that call before the
// module gets it, read by another process while the recording is still
// open, folded runs of idle turns included (x9 growing to x10 too).
TEST(ReplayRecorder, EveryCallIsInTheFileBeforeTheModuleGetsIt) {
  const std::string path = ::testing::TempDir() + "recorder_ahead.script";
  ASSERT_TRUE(replay::StartRecording(path.c_str()));
  using K = vantrel::CallKind;
  struct Step {
    K kind;
    int32_t code;
    int32_t elapsed;
    const char *lastLine; // the file's last line once the call is observed
  };
  std::vector<Step> steps = {{K::Init, EV_INIT, 0, "# init 0"},
                             {K::Idle, EV_FRAME, 16, "frame 16"}};
  for (int n = 2; n <= 12; ++n) { // step n: "frame 16 xn"
    steps.push_back({K::Idle, EV_FRAME, 16, nullptr});
  }
  steps.push_back({K::Message, EV_LBUTTONDOWN, 4, "ldown 4"});
  steps.push_back({K::Idle, EV_FRAME, 7, "frame 7"});
  steps.push_back({K::Idle, EV_FRAME, 7, "frame 7 x2"});
  VEvent e;
  uint32_t delivered = 0; // calls of the script so far
  for (size_t i = 0; i < steps.size(); ++i) {
    e.code = steps[i].code;
    vantrel::callObserver(steps[i].kind, e, steps[i].elapsed);
    delivered += steps[i].kind == K::Init ? 0 : 1;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<ScriptCall> calls;
    ScriptError error;
    ASSERT_TRUE(ParseScript(text.str(), &calls, &error)) << i << ": " << error.message;
    uint32_t recorded = 0;
    for (const auto &c : calls) {
      recorded += c.count;
    }
    EXPECT_EQ(recorded, delivered) << "after call " << i << ":\n" << text.str();
    std::string last = text.str();
    last.pop_back(); // the final line end
    last = last.substr(last.rfind('\n') + 1);
    const std::string expected =
        steps[i].lastLine != nullptr ? steps[i].lastLine : "frame 16 x" + std::to_string(i);
    EXPECT_EQ(last, expected) << "after call " << i;
  }
  EXPECT_TRUE(replay::StopRecording());
  std::remove(path.c_str());
}

TEST(ReplayRecorder, AFileThatCannotBeWrittenIsRefused) {
  EXPECT_FALSE(replay::StartRecording("/nonexistent-folder/x.script"));
  EXPECT_FALSE(replay::StartRecording(nullptr));
  EXPECT_FALSE(replay::Recording());
  EXPECT_EQ(vantrel::callObserver, nullptr);
  EXPECT_TRUE(replay::StopRecording());
}

} // namespace
