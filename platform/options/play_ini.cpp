// play_ini.cpp - reading vantrel.ini.
#include "platform/options/play_ini.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace playopts {
namespace {

constexpr size_t kMaxShownValue = 40;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char &c : out) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

// The length of the UTF-8 sequence at text[i], or 0 when it is not one.
size_t Utf8Length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (i + length > text.size()) {
    return 0;
  }
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      return 0;
    }
  }
  return length;
}

// A piece of the file as a message shows it: in quotes, control bytes and
// bytes that are not UTF-8 as '?', and cut short after kMaxShownValue
// characters.
std::string Shown(std::string_view text) {
  std::string out = "'";
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++characters) {
    if (characters == kMaxShownValue) {
      out += "...";
      break;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
    } else if (const size_t length = c >= 0x80 ? Utf8Length(text, i) : 0; length > 0) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out += '?';
      ++i;
    }
  }
  return out + "'";
}

class Problems {
public:
  void Add(std::string text) {
    if (named_ < kMaxIniProblemsNamed) {
      if (!text_.empty()) {
        text_ += '\n';
      }
      text_ += text;
      ++named_;
    } else {
      ++unnamed_;
    }
  }
  void AddAt(size_t line, const std::string &text) {
    Add(std::string(kIniFileName) + " line " + std::to_string(line) + ": " + text);
  }
  std::string Text() const {
    if (unnamed_ == 0) {
      return text_;
    }
    return text_ + "\n... and " + std::to_string(unnamed_) + " more problem" +
           (unnamed_ == 1 ? "" : "s");
  }

private:
  std::string text_;
  int named_ = 0;
  int unnamed_ = 0;
};

// One key=value line of the [vantrel] section.
void ReadSetting(std::string_view key, std::string_view value, std::string_view folder, size_t line,
                 PlayOptions *options, Problems *problems) {
  const std::string name = Lower(key);
  if (name == "present") {
    const std::string word = Lower(value);
    if (word == "exclusive") {
      options->presentation = Presentation::Exclusive;
    } else if (word == "borderless") {
      options->presentation = Presentation::Borderless;
    } else if (word == "windowed" || word == "window") {
      options->presentation = Presentation::Windowed;
    } else {
      problems->AddAt(line,
                      "present must be exclusive, borderless or windowed, not " + Shown(value));
      return;
    }
    options->presentationGiven = true;
  } else if (name == "scale" || name == "fps_cap") {
    const bool scale = name == "scale";
    const int32_t min = scale ? 1 : 0;
    const int32_t max = scale ? kMaxScale : kMaxFpsCap;
    int32_t number = 0;
    if (!ReadWholeNumber(value, min, max, &number)) {
      problems->AddAt(line, name + " must be a whole number from " + std::to_string(min) + " to " +
                                std::to_string(max) + ", not " + Shown(value));
      return;
    }
    (scale ? options->scale : options->fpsCap) = number;
    (scale ? options->scaleGiven : options->fpsCapGiven) = true;
  } else if (name == "module") {
    if (value.empty()) {
      problems->AddAt(line, "module must be a path, not ''");
      return;
    }
    options->modulePath = PathFromFolder(folder, value);
    options->moduleGiven = true;
  } else {
    problems->AddAt(line, "unknown key " + Shown(key) +
                              " (the keys are present, scale, fps_cap and module)");
  }
}

} // namespace

std::string PathFromFolder(std::string_view folder, std::string_view path) {
  const bool absolute =
      (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
      (path.size() >= 2 && path[1] == ':' &&
       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')));
  if (absolute || folder.empty()) {
    return std::string(path);
  }
  std::string out(folder);
  if (out.back() != '/' && out.back() != '\\') {
    // The folder's own separator: a Windows folder has backslashes.
    out += folder.find('\\') != std::string_view::npos && folder.find('/') == std::string_view::npos
               ? '\\'
               : '/';
  }
  out.append(path);
  return out;
}

IniReading ReadIniText(std::string_view text, std::string_view folder, bool cut) {
  IniReading reading;
  Problems problems;
  if (cut) {
    problems.Add(std::string(kIniFileName) + ": only its first " + std::to_string(kMaxIniBytes) +
                 " bytes were read, the rest is ignored");
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  }
  bool inOurSection = true; // keys before any header are ours
  size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    if (end == std::string_view::npos && cut) {
      break; // the line the cut went through
    }
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line.size() > kMaxIniLineLength) {
      problems.AddAt(lineNumber,
                     "longer than " + std::to_string(kMaxIniLineLength) + " characters, ignored");
      continue;
    }
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') {
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']') {
        problems.AddAt(lineNumber, Shown(line) + " is not a section header");
        continue;
      }
      inOurSection = Lower(Trim(line.substr(1, line.size() - 2))) == "vantrel";
      continue;
    }
    if (!inOurSection) {
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      problems.AddAt(lineNumber, Shown(line) + " is not a key=value line");
      continue;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Trim(line.substr(equals + 1));
    if (key.empty()) {
      problems.AddAt(lineNumber, Shown(line) + " has no key before '='");
      continue;
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    ReadSetting(key, value, folder, lineNumber, &reading.options, &problems);
  }
  reading.problems = problems.Text();
  return reading;
}

IniReading ReadIniFile(const std::string &folder) {
  if (folder.empty()) {
    return {}; // the program's folder is not known: there is no file beside it
  }
  const std::string path = PathFromFolder(folder, kIniFileName);
  errno = 0;
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    IniReading none;
    if (errno != ENOENT && errno != 0) {
      none.problems = std::string(kIniFileName) + ": cannot be read: " + std::strerror(errno);
    }
    return none;
  }
  // One byte more than is read tells whether the file goes on.
  std::vector<char> bytes(kMaxIniBytes + 1);
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    IniReading none;
    none.problems = std::string(kIniFileName) + ": cannot be read: " + std::strerror(error);
    return none;
  }
  const bool cut = got > kMaxIniBytes;
  return ReadIniText(std::string_view(bytes.data(), cut ? kMaxIniBytes : got), folder, cut);
}

} // namespace playopts
