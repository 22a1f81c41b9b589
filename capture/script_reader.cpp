// script_reader.cpp - reading a replay script into the calls it stands for.
#include "capture/script.h"

#include <charconv>

namespace replay {
namespace {

constexpr uint32_t kMaxElapsed = 0x7FFFFFFFu;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
      ++i;
    }
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
      ++i;
    }
    if (i > start) {
      words.push_back(line.substr(start, i - start));
    }
  }
  return words;
}

bool Number(std::string_view word, uint32_t max, uint32_t *out) {
  uint32_t n = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
  if (word.empty() || ec != std::errc{} || end != word.data() + word.size() || n > max) {
    return false;
  }
  *out = n;
  return true;
}

// What one line adds to the calls; false with the reason in `why`.
struct LineReader {
  std::vector<ScriptCall> *out = nullptr;
  uint32_t step = kDefaultStep;
  int32_t line = 0;
  std::string why;

  void Add(ScriptCall call) {
    call.line = line;
    out->push_back(call);
  }

  bool Fail(std::string reason) {
    why = std::move(reason);
    return false;
  }

  // The optional elapsed value at words[index].
  bool Elapsed(const std::vector<std::string_view> &words, size_t index, uint32_t *elapsed) {
    *elapsed = 0;
    if (words.size() > index + 1) {
      return Fail("too many words");
    }
    if (words.size() == index + 1 && !Number(words[index], kMaxElapsed, elapsed)) {
      return Fail("bad elapsed value '" + std::string(words[index]) + "'");
    }
    return true;
  }

  bool Key(std::string_view word, uint32_t *key) {
    if (!KeyFromName(word, key)) {
      return Fail("unknown key '" + std::string(word) + "'");
    }
    return true;
  }

  bool Read(const std::vector<std::string_view> &words) {
    const std::string_view verb = words[0];
    ScriptCall call;
    if (verb == "frame") {
      if (words.size() < 2 || words.size() > 3 || !Number(words[1], kMaxElapsed, &call.elapsed)) {
        return Fail("expected 'frame ELAPSED [xCOUNT]'");
      }
      if (words.size() == 3 &&
          (words[2].size() < 2 || words[2][0] != 'x' ||
           !Number(words[2].substr(1), kMaxElapsed, &call.count) || call.count == 0)) {
        return Fail("bad count '" + std::string(words[2]) + "' (expected xN, N at least 1)");
      }
      Add(call);
      return true;
    }
    if (verb == "keydown" || verb == "keyup") {
      call.type = verb == "keydown" ? CallType::KeyDown : CallType::KeyUp;
      if (words.size() < 2) {
        return Fail("expected '" + std::string(verb) + " KEY [ELAPSED]'");
      }
      if (!Key(words[1], &call.key) || !Elapsed(words, 2, &call.elapsed)) {
        return false;
      }
      Add(call);
      return true;
    }
    if (verb == "move") {
      call.type = CallType::Move;
      uint32_t x = 0;
      uint32_t y = 0;
      if (words.size() < 3 || !Number(words[1], 0xFFFF, &x) || !Number(words[2], 0xFFFF, &y)) {
        return Fail("expected 'move X Y [ELAPSED]' with X and Y from 0 to 65535");
      }
      if (!Elapsed(words, 3, &call.elapsed)) {
        return false;
      }
      call.x = static_cast<int32_t>(x);
      call.y = static_cast<int32_t>(y);
      Add(call);
      return true;
    }
    if (verb == "ldown" || verb == "lup" || verb == "rdown" || verb == "rup") {
      call.type = verb == "ldown"   ? CallType::LDown
                  : verb == "lup"   ? CallType::LUp
                  : verb == "rdown" ? CallType::RDown
                                    : CallType::RUp;
      if (!Elapsed(words, 1, &call.elapsed)) {
        return false;
      }
      Add(call);
      return true;
    }
    if (verb == "step") {
      if (words.size() != 2 || !Number(words[1], kMaxElapsed, &step) || step == 0) {
        return Fail("expected 'step MS' with MS at least 1");
      }
      return true;
    }
    if (verb == "wait") {
      uint32_t ms = 0;
      if (words.size() != 2 || !Number(words[1], kMaxElapsed, &ms)) {
        return Fail("expected 'wait MS'");
      }
      if (ms / step > 0) {
        call.elapsed = step;
        call.count = ms / step;
        Add(call);
      }
      if (ms % step > 0) {
        call.elapsed = ms % step;
        call.count = 1;
        Add(call);
      }
      return true;
    }
    if (verb == "press") {
      if (words.size() != 2 || !Key(words[1], &call.key)) {
        return why.empty() ? Fail("expected 'press KEY'") : false;
      }
      call.type = CallType::KeyDown;
      Add(call);
      call.type = CallType::KeyUp;
      Add(call);
      return true;
    }
    if (verb == "click") {
      if (words.size() != 2 || (words[1] != "left" && words[1] != "right")) {
        return Fail("expected 'click left' or 'click right'");
      }
      const bool left = words[1] == "left";
      call.type = left ? CallType::LDown : CallType::RDown;
      Add(call);
      call.type = left ? CallType::LUp : CallType::RUp;
      Add(call);
      return true;
    }
    return Fail("unknown call '" + std::string(verb) + "'");
  }
};

} // namespace

bool ParseScript(std::string_view text, std::vector<ScriptCall> *out, ScriptError *error) {
  if (out == nullptr) {
    return false;
  }
  out->clear();
  LineReader reader;
  reader.out = out;
  bool sawHeader = false;
  ScriptError ignored;
  ScriptError &err = error != nullptr ? *error : ignored;
  // Editors on Windows may start a UTF-8 file with a byte-order mark.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty() || reader.line == 0) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++reader.line;
    // A NUL is no text at all (a binary file, a broken copy): said as such
    // rather than as some word it happens to cut.
    if (const size_t nul = line.find('\0'); nul != std::string_view::npos) {
      err = {reader.line, "a NUL byte at column " + std::to_string(nul + 1) +
                              " (the script must be plain text)"};
      return false;
    }
    if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
      line = line.substr(0, hash);
    }
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    const auto words = Words(line);
    if (words.empty()) {
      continue;
    }
    if (!sawHeader) {
      if (words.size() != 2 || words[0] != "vantrel-replay") {
        err = {reader.line, "the script must start with 'vantrel-replay 1'"};
        return false;
      }
      if (words[1] != "1") {
        err = {reader.line, "unsupported script version '" + std::string(words[1]) + "'"};
        return false;
      }
      sawHeader = true;
      continue;
    }
    if (!reader.Read(words)) {
      err = {reader.line, reader.why};
      return false;
    }
  }
  if (!sawHeader) {
    err = {reader.line, "the script must start with 'vantrel-replay 1'"};
    return false;
  }
  return true;
}

} // namespace replay
