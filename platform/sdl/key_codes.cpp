// key_codes.cpp - SDL keys as the platform's virtual-key codes and key messages.
#include "platform/sdl/key_codes.h"

#include <array>

namespace sdlplat {
namespace {

// Virtual-key code by SDL scancode (the key's position). Letters are also
// here, for keys whose symbol is not a letter in the active layout.
struct Entry {
  SDL_Scancode scancode;
  uint8_t vk;
};

constexpr Entry kByPosition[] = {
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_MINUS, 0xBD},          // VK_OEM_MINUS
    {SDL_SCANCODE_EQUALS, 0xBB},         // VK_OEM_PLUS
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},    // VK_OEM_4
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},   // VK_OEM_6
    {SDL_SCANCODE_BACKSLASH, 0xDC},      // VK_OEM_5
    {SDL_SCANCODE_NONUSHASH, 0xDC},      // VK_OEM_5
    {SDL_SCANCODE_SEMICOLON, 0xBA},      // VK_OEM_1
    {SDL_SCANCODE_APOSTROPHE, 0xDE},     // VK_OEM_7
    {SDL_SCANCODE_GRAVE, 0xC0},          // VK_OEM_3
    {SDL_SCANCODE_COMMA, 0xBC},          // VK_OEM_COMMA
    {SDL_SCANCODE_PERIOD, 0xBE},         // VK_OEM_PERIOD
    {SDL_SCANCODE_SLASH, 0xBF},          // VK_OEM_2
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, // VK_OEM_102
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C}, // VK_SNAPSHOT
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_KP_EQUALS, 0x92}, // VK_OEM_NEC_EQUAL
    {SDL_SCANCODE_KP_COMMA, 0x6C},  // VK_SEPARATOR
    {SDL_SCANCODE_KP_CLEAR, 0x0C},
    {SDL_SCANCODE_APPLICATION, 0x5D}, // VK_APPS
    {SDL_SCANCODE_MENU, 0x5D},
    {SDL_SCANCODE_EXECUTE, 0x2B},
    {SDL_SCANCODE_HELP, 0x2F},
    {SDL_SCANCODE_SELECT, 0x29},
    {SDL_SCANCODE_CANCEL, 0x03},
    {SDL_SCANCODE_CLEAR, 0x0C},
    {SDL_SCANCODE_PRIOR, 0x21},
    {SDL_SCANCODE_RETURN2, 0x0D},
    {SDL_SCANCODE_SEPARATOR, 0x6C},
    {SDL_SCANCODE_LANG1, 0x15}, // VK_HANGUL
    {SDL_SCANCODE_LANG2, 0x19}, // VK_HANJA
    {SDL_SCANCODE_LCTRL, 0x11},
    {SDL_SCANCODE_RCTRL, 0x11},
    {SDL_SCANCODE_LSHIFT, 0x10},
    {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LALT, 0x12},
    {SDL_SCANCODE_RALT, 0x12},
    {SDL_SCANCODE_LGUI, 0x5B}, // VK_LWIN
    {SDL_SCANCODE_RGUI, 0x5C}, // VK_RWIN
    {SDL_SCANCODE_SLEEP, 0x5F},
    {SDL_SCANCODE_MUTE, 0xAD},
    {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
    {SDL_SCANCODE_VOLUMEUP, 0xAF},
    {SDL_SCANCODE_AUDIOMUTE, 0xAD},
    {SDL_SCANCODE_AUDIONEXT, 0xB0},
    {SDL_SCANCODE_AUDIOPREV, 0xB1},
    {SDL_SCANCODE_AUDIOSTOP, 0xB2},
    {SDL_SCANCODE_AUDIOPLAY, 0xB3},
    {SDL_SCANCODE_MAIL, 0xB4},
    {SDL_SCANCODE_MEDIASELECT, 0xB5},
    {SDL_SCANCODE_COMPUTER, 0xB6},   // VK_LAUNCH_APP1
    {SDL_SCANCODE_CALCULATOR, 0xB7}, // VK_LAUNCH_APP2
    {SDL_SCANCODE_AC_BACK, 0xA6},
    {SDL_SCANCODE_AC_FORWARD, 0xA7},
    {SDL_SCANCODE_AC_REFRESH, 0xA8},
    {SDL_SCANCODE_AC_STOP, 0xA9},
    {SDL_SCANCODE_STOP, 0xA9},
    {SDL_SCANCODE_AC_SEARCH, 0xAA},
    {SDL_SCANCODE_AC_BOOKMARKS, 0xAB},
    {SDL_SCANCODE_AC_HOME, 0xAC},
};

// The whole table, indexed by scancode, built once.
using Table = std::array<uint8_t, SDL_NUM_SCANCODES>;

Table BuildTable() {
  Table t{};
  for (int i = 0; i < 26; ++i) {
    t[SDL_SCANCODE_A + i] = static_cast<uint8_t>('A' + i);
  }
  for (int i = 0; i < 9; ++i) {
    t[SDL_SCANCODE_1 + i] = static_cast<uint8_t>('1' + i);
    t[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(VK_NUMPAD0 + 1 + i);
  }
  t[SDL_SCANCODE_0] = '0';
  t[SDL_SCANCODE_KP_0] = static_cast<uint8_t>(VK_NUMPAD0);
  for (int i = 0; i < 12; ++i) {
    t[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(VK_F1 + i);
    t[SDL_SCANCODE_F13 + i] = static_cast<uint8_t>(VK_F1 + 12 + i);
  }
  for (const Entry &e : kByPosition) {
    t[e.scancode] = e.vk;
  }
  return t;
}

const Table &ByScancode() {
  static const Table table = BuildTable();
  return table;
}

// With Num Lock off the keypad keys 0-9 and the decimal point send the
// navigation keys printed on them.
uint32_t KeypadWithoutNumLock(SDL_Scancode scancode) {
  switch (scancode) {
  case SDL_SCANCODE_KP_0:
    return VK_INSERT;
  case SDL_SCANCODE_KP_1:
    return VK_END;
  case SDL_SCANCODE_KP_2:
    return VK_DOWN;
  case SDL_SCANCODE_KP_3:
    return VK_NEXT;
  case SDL_SCANCODE_KP_4:
    return VK_LEFT;
  case SDL_SCANCODE_KP_5:
    return VK_CLEAR;
  case SDL_SCANCODE_KP_6:
    return VK_RIGHT;
  case SDL_SCANCODE_KP_7:
    return VK_HOME;
  case SDL_SCANCODE_KP_8:
    return VK_UP;
  case SDL_SCANCODE_KP_9:
    return VK_PRIOR;
  case SDL_SCANCODE_KP_PERIOD:
    return VK_DELETE;
  default:
    return 0;
  }
}

} // namespace

uint32_t VirtualKey(SDL_Scancode scancode, SDL_Keycode sym, uint16_t mod) {
  if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) {
    return 0;
  }
  if ((mod & KMOD_NUM) == 0) {
    const uint32_t nav = KeypadWithoutNumLock(scancode);
    if (nav != 0) {
      return nav;
    }
  }
  // A letter key takes the letter of the active layout (Q on an AZERTY A key).
  const bool letterPosition = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
  if (letterPosition && sym >= 'a' && sym <= 'z') {
    return static_cast<uint32_t>(sym - 'a' + 'A');
  }
  return ByScancode()[scancode];
}

bool IsExtendedKey(SDL_Scancode scancode) {
  switch (scancode) {
  case SDL_SCANCODE_RCTRL:
  case SDL_SCANCODE_RALT:
  case SDL_SCANCODE_LGUI:
  case SDL_SCANCODE_RGUI:
  case SDL_SCANCODE_APPLICATION:
  case SDL_SCANCODE_INSERT:
  case SDL_SCANCODE_DELETE:
  case SDL_SCANCODE_HOME:
  case SDL_SCANCODE_END:
  case SDL_SCANCODE_PAGEUP:
  case SDL_SCANCODE_PAGEDOWN:
  case SDL_SCANCODE_LEFT:
  case SDL_SCANCODE_RIGHT:
  case SDL_SCANCODE_UP:
  case SDL_SCANCODE_DOWN:
  case SDL_SCANCODE_NUMLOCKCLEAR:
  case SDL_SCANCODE_KP_DIVIDE:
  case SDL_SCANCODE_KP_ENTER:
  case SDL_SCANCODE_PRINTSCREEN:
    return true;
  default:
    return false;
  }
}

bool TranslateKey(const SDL_KeyboardEvent &key, KeyMessage *out) {
  const uint32_t vk = VirtualKey(key.keysym.scancode, key.keysym.sym, key.keysym.mod);
  if (vk == 0 || out == nullptr) {
    return false;
  }
  const bool down = key.state == SDL_PRESSED;
  const bool altHeld = (key.keysym.mod & KMOD_ALT) != 0;
  const bool ctrlHeld = (key.keysym.mod & KMOD_CTRL) != 0;
  // Releasing Alt itself still counts as a system key, as does F10.
  const bool system = vk == VK_F10 || vk == VK_MENU || (altHeld && !ctrlHeld);
  if (down) {
    out->message = system ? plat::WM_SYSKEYDOWN : plat::WM_KEYDOWN;
  } else {
    out->message = system ? plat::WM_SYSKEYUP : plat::WM_KEYUP;
  }
  out->wParam = vk;
  // lParam: repeat count 1, extended-key bit 24, context bit 29 (Alt held),
  // previous-state bit 30 (down before: a repeat, or any release), transition
  // bit 31 (released).
  uint32_t bits = 1;
  if (IsExtendedKey(key.keysym.scancode)) {
    bits |= 1u << 24;
  }
  if (altHeld && system) {
    bits |= 1u << 29;
  }
  if (!down || key.repeat != 0) {
    bits |= 1u << 30;
  }
  if (!down) {
    bits |= 1u << 31;
  }
  out->lParam = static_cast<plat::LPARAM>(static_cast<int32_t>(bits));
  return true;
}

char KeyCharacter(uint32_t virtualKey, uint16_t mod) {
  const bool shift = (mod & KMOD_SHIFT) != 0;
  const bool caps = (mod & KMOD_CAPS) != 0;
  if ((mod & KMOD_CTRL) != 0 && (mod & KMOD_ALT) == 0) {
    // Ctrl with a letter makes the control character; nothing else does.
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
      return static_cast<char>(virtualKey - 'A' + 1);
    }
    return 0;
  }
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    return static_cast<char>((shift != caps) ? virtualKey : virtualKey - 'A' + 'a');
  }
  if (virtualKey >= '0' && virtualKey <= '9') {
    static const char shifted[] = ")!@#$%^&*(";
    return shift ? shifted[virtualKey - '0'] : static_cast<char>(virtualKey);
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
    return static_cast<char>('0' + (virtualKey - VK_NUMPAD0));
  }
  switch (virtualKey) {
  case VK_BACK:
    return '\b';
  case VK_TAB:
    return '\t';
  case VK_RETURN:
    return '\r';
  case plat::VK_ESCAPE:
    return 0x1B;
  case VK_SPACE:
    return ' ';
  case 0x6A:
    return '*';
  case 0x6B:
    return '+';
  case 0x6D:
    return '-';
  case VK_DECIMAL:
    return '.';
  case 0x6F:
    return '/';
  case 0xBA:
    return shift ? ':' : ';';
  case 0xBB:
    return shift ? '+' : '=';
  case 0xBC:
    return shift ? '<' : ',';
  case 0xBD:
    return shift ? '_' : '-';
  case 0xBE:
    return shift ? '>' : '.';
  case 0xBF:
    return shift ? '?' : '/';
  case 0xC0:
    return shift ? '~' : '`';
  case 0xDB:
    return shift ? '{' : '[';
  case 0xDC:
    return shift ? '|' : '\\';
  case 0xDD:
    return shift ? '}' : ']';
  case 0xDE:
    return shift ? '"' : '\'';
  default:
    return 0;
  }
}

} // namespace sdlplat
