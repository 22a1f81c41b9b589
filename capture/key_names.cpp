// key_names.cpp - virtual-key codes by their names.
#include "capture/script.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace replay {
namespace {

struct NamedKey {
  const char *name;
  uint32_t code;
};

// The platform's names; letters, digits, F1-F24 and NUMPAD0-9 are made below.
constexpr std::array kNamedKeys{
    NamedKey{"BACK", 0x08},       NamedKey{"TAB", 0x09},       NamedKey{"CLEAR", 0x0C},
    NamedKey{"RETURN", 0x0D},     NamedKey{"SHIFT", 0x10},     NamedKey{"CONTROL", 0x11},
    NamedKey{"MENU", 0x12},       NamedKey{"PAUSE", 0x13},     NamedKey{"CAPITAL", 0x14},
    NamedKey{"ESCAPE", 0x1B},     NamedKey{"SPACE", 0x20},     NamedKey{"PRIOR", 0x21},
    NamedKey{"NEXT", 0x22},       NamedKey{"END", 0x23},       NamedKey{"HOME", 0x24},
    NamedKey{"LEFT", 0x25},       NamedKey{"UP", 0x26},        NamedKey{"RIGHT", 0x27},
    NamedKey{"DOWN", 0x28},       NamedKey{"SELECT", 0x29},    NamedKey{"PRINT", 0x2A},
    NamedKey{"EXECUTE", 0x2B},    NamedKey{"SNAPSHOT", 0x2C},  NamedKey{"INSERT", 0x2D},
    NamedKey{"DELETE", 0x2E},     NamedKey{"HELP", 0x2F},      NamedKey{"LWIN", 0x5B},
    NamedKey{"RWIN", 0x5C},       NamedKey{"APPS", 0x5D},      NamedKey{"SLEEP", 0x5F},
    NamedKey{"MULTIPLY", 0x6A},   NamedKey{"ADD", 0x6B},       NamedKey{"SEPARATOR", 0x6C},
    NamedKey{"SUBTRACT", 0x6D},   NamedKey{"DECIMAL", 0x6E},   NamedKey{"DIVIDE", 0x6F},
    NamedKey{"NUMLOCK", 0x90},    NamedKey{"SCROLL", 0x91},    NamedKey{"LSHIFT", 0xA0},
    NamedKey{"RSHIFT", 0xA1},     NamedKey{"LCONTROL", 0xA2},  NamedKey{"RCONTROL", 0xA3},
    NamedKey{"LMENU", 0xA4},      NamedKey{"RMENU", 0xA5},     NamedKey{"OEM_1", 0xBA},
    NamedKey{"OEM_PLUS", 0xBB},   NamedKey{"OEM_COMMA", 0xBC}, NamedKey{"OEM_MINUS", 0xBD},
    NamedKey{"OEM_PERIOD", 0xBE}, NamedKey{"OEM_2", 0xBF},     NamedKey{"OEM_3", 0xC0},
    NamedKey{"OEM_4", 0xDB},      NamedKey{"OEM_5", 0xDC},     NamedKey{"OEM_6", 0xDD},
    NamedKey{"OEM_7", 0xDE},      NamedKey{"OEM_102", 0xE2},
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// "F7" -> 7 for prefix "F", within [1, last]; 0 otherwise.
uint32_t NumberedName(std::string_view name, std::string_view prefix, uint32_t first,
                      uint32_t last) {
  if (name.size() <= prefix.size() || !SameName(name.substr(0, prefix.size()), prefix)) {
    return UINT32_MAX;
  }
  const std::string_view digits = name.substr(prefix.size());
  uint32_t n = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (ec != std::errc{} || end != digits.data() + digits.size() || n < first || n > last ||
      (digits.size() > 1 && digits[0] == '0')) {
    return UINT32_MAX;
  }
  return n;
}

} // namespace

std::string KeyName(uint32_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
    return std::string(1, static_cast<char>(code));
  }
  char buf[16];
  if (code >= 0x60 && code <= 0x69) {
    std::snprintf(buf, sizeof buf, "NUMPAD%u", code - 0x60);
    return buf;
  }
  if (code >= 0x70 && code <= 0x87) {
    std::snprintf(buf, sizeof buf, "F%u", code - 0x70 + 1);
    return buf;
  }
  for (const auto &k : kNamedKeys) {
    if (k.code == code) {
      return k.name;
    }
  }
  std::snprintf(buf, sizeof buf, "0x%02X", code);
  return buf;
}

bool KeyFromName(std::string_view name, uint32_t *code) {
  if (name.empty() || code == nullptr) {
    return false;
  }
  uint32_t value = UINT32_MAX;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    value = static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(name[0])));
  } else if (std::isdigit(static_cast<unsigned char>(name[0]))) {
    int base = 10;
    if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
      base = 16;
      name.remove_prefix(2);
    }
    uint32_t n = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n, base);
    if (ec == std::errc{} && end == name.data() + name.size()) {
      value = n;
    }
  } else if (const uint32_t f = NumberedName(name, "F", 1, 24); f != UINT32_MAX) {
    value = 0x70 + f - 1;
  } else if (const uint32_t n = NumberedName(name, "NUMPAD", 0, 9); n != UINT32_MAX) {
    value = 0x60 + n;
  } else {
    for (const auto &k : kNamedKeys) {
      if (SameName(name, k.name)) {
        value = k.code;
      }
    }
  }
  if (value < 1 || value > 255) {
    return false;
  }
  *code = value;
  return true;
}

} // namespace replay
