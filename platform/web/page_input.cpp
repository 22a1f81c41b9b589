// page_input.cpp - page events as window messages.
#include "platform/web/page_input.h"

#include <algorithm>
#include <cmath>

namespace web {
namespace {

constexpr plat::WPARAM MK_LBUTTON = 0x0001;
constexpr plat::WPARAM MK_RBUTTON = 0x0002;
constexpr plat::WPARAM MK_MBUTTON = 0x0010;
constexpr uint32_t VK_MENU = 0x12;
constexpr uint32_t VK_F10 = 0x79;

struct CodeEntry {
  std::string_view code;
  uint8_t vk;
};

// Keys other than letters, digits and function keys, by position.
constexpr CodeEntry kCodes[] = {
    {"Escape", 0x1B},         {"Enter", 0x0D},        {"NumpadEnter", 0x0D},
    {"Space", 0x20},          {"Tab", 0x09},          {"Backspace", 0x08},
    {"ShiftLeft", 0x10},      {"ShiftRight", 0x10},   {"ControlLeft", 0x11},
    {"ControlRight", 0x11},   {"AltLeft", 0x12},      {"AltRight", 0x12},
    {"MetaLeft", 0x5B},       {"MetaRight", 0x5C},    {"ContextMenu", 0x5D},
    {"CapsLock", 0x14},       {"NumLock", 0x90},      {"ScrollLock", 0x91},
    {"Pause", 0x13},          {"PrintScreen", 0x2C},  {"Insert", 0x2D},
    {"Delete", 0x2E},         {"Home", 0x24},         {"End", 0x23},
    {"PageUp", 0x21},         {"PageDown", 0x22},     {"ArrowLeft", 0x25},
    {"ArrowUp", 0x26},        {"ArrowRight", 0x27},   {"ArrowDown", 0x28},
    {"Minus", 0xBD},          {"Equal", 0xBB},        {"BracketLeft", 0xDB},
    {"BracketRight", 0xDD},   {"Backslash", 0xDC},    {"Semicolon", 0xBA},
    {"Quote", 0xDE},          {"Backquote", 0xC0},    {"Comma", 0xBC},
    {"Period", 0xBE},         {"Slash", 0xBF},        {"IntlBackslash", 0xE2},
    {"NumpadMultiply", 0x6A}, {"NumpadAdd", 0x6B},    {"NumpadSubtract", 0x6D},
    {"NumpadDecimal", 0x6E},  {"NumpadDivide", 0x6F}, {"NumpadComma", 0x6C},
};

// "Prefix" followed by one character from `first` .. `last`: its offset.
int32_t Suffixed(std::string_view code, std::string_view prefix, char first, char last) {
  if (code.size() != prefix.size() + 1 || code.substr(0, prefix.size()) != prefix) {
    return -1;
  }
  const char c = code.back();
  return c >= first && c <= last ? c - first : -1;
}

// A key message's lParam: one press; a repeat has the previous-state bit, a
// release both the previous-state and the transition bits.
plat::LPARAM KeyLParam(bool down, bool repeat) {
  if (!down) {
    return static_cast<plat::LPARAM>(0xC0000001u);
  }
  return repeat ? static_cast<plat::LPARAM>(0x40000001u) : 1;
}

plat::LPARAM PointerLParam(const plat::POINT &p) {
  return static_cast<plat::LPARAM>((static_cast<uint32_t>(p.y) << 16) | static_cast<uint32_t>(p.x));
}

} // namespace

uint32_t VirtualKeyFromCode(std::string_view code) {
  if (int32_t i = Suffixed(code, "Key", 'A', 'Z'); i >= 0) {
    return static_cast<uint32_t>('A' + i);
  }
  if (int32_t i = Suffixed(code, "Digit", '0', '9'); i >= 0) {
    return static_cast<uint32_t>('0' + i);
  }
  if (int32_t i = Suffixed(code, "Numpad", '0', '9'); i >= 0) {
    return static_cast<uint32_t>(0x60 + i);
  }
  if (code.size() >= 2 && code.size() <= 3 && code[0] == 'F') {
    int32_t n = 0;
    for (char c : code.substr(1)) {
      if (c < '0' || c > '9') {
        return 0;
      }
      n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 24 ? static_cast<uint32_t>(0x70 + n - 1) : 0;
  }
  for (const CodeEntry &e : kCodes) {
    if (e.code == code) {
      return e.vk;
    }
  }
  return 0;
}

plat::POINT PointerInMode(double x, double y, double boxWidth, double boxHeight, int32_t modeWidth,
                          int32_t modeHeight) {
  if (modeWidth <= 0 || modeHeight <= 0) {
    return {0, 0};
  }
  if (!(boxWidth > 0 && boxHeight > 0)) {
    // No size known for the element: it shows the mode one to one.
    boxWidth = modeWidth;
    boxHeight = modeHeight;
  }
  const double scale = std::min(boxWidth / modeWidth, boxHeight / modeHeight);
  const double left = (boxWidth - modeWidth * scale) / 2;
  const double top = (boxHeight - modeHeight * scale) / 2;
  const auto toMode = [scale](double v, double origin, int32_t size) {
    const double m = std::floor((v - origin) / scale);
    if (!(m >= 0)) { // also NaN
      return 0;
    }
    return m >= size ? size - 1 : static_cast<int32_t>(m);
  };
  return {toMode(x, left, modeWidth), toMode(y, top, modeHeight)};
}

int32_t MessagesForEvent(const PageEvent &event, int32_t modeWidth, int32_t modeHeight,
                         InputState *state, headless::InputStep out[kMostMessagesForEvent],
                         DisplayChange *display) {
  *display = DisplayChange::None;
  int32_t made = 0;
  headless::InputStep step;
  step.idle = false;
  switch (event.kind) {
  case PageEventKind::KeyDown:
  case PageEventKind::KeyUp: {
    if (event.key == 0 || event.key > 0xFE) {
      return 0;
    }
    const bool down = event.kind == PageEventKind::KeyDown;
    // Alt, F10 and keys pressed with Alt are system keys, as on the desktop.
    const bool system = event.key == VK_MENU || event.key == VK_F10 || event.alt;
    step.message = down ? (system ? plat::WM_SYSKEYDOWN : plat::WM_KEYDOWN)
                        : (system ? plat::WM_SYSKEYUP : plat::WM_KEYUP);
    step.wParam = event.key;
    step.lParam = KeyLParam(down, event.repeat);
    break;
  }
  case PageEventKind::PointerMove:
    state->pointer = PointerLParam(
        PointerInMode(event.x, event.y, event.boxWidth, event.boxHeight, modeWidth, modeHeight));
    step.message = plat::WM_MOUSEMOVE;
    step.wParam = state->buttons;
    step.lParam = state->pointer;
    break;
  case PageEventKind::ButtonDown:
  case PageEventKind::ButtonUp: {
    const bool down = event.kind == PageEventKind::ButtonDown;
    plat::WPARAM flag = 0;
    switch (event.button) {
    case 0:
      flag = MK_LBUTTON;
      step.message = down ? plat::WM_LBUTTONDOWN : plat::WM_LBUTTONUP;
      break;
    case 1:
      flag = MK_MBUTTON;
      step.message = down ? plat::WM_MBUTTONDOWN : plat::WM_MBUTTONUP;
      break;
    case 2:
      flag = MK_RBUTTON;
      step.message = down ? plat::WM_RBUTTONDOWN : plat::WM_RBUTTONUP;
      break;
    default:
      return 0;
    }
    const plat::LPARAM at = PointerLParam(
        PointerInMode(event.x, event.y, event.boxWidth, event.boxHeight, modeWidth, modeHeight));
    if (at != state->pointer) {
      state->pointer = at;
      headless::InputStep move;
      move.idle = false;
      move.message = plat::WM_MOUSEMOVE;
      move.wParam = state->buttons;
      move.lParam = at;
      out[made++] = move;
    }
    state->buttons = down ? (state->buttons | flag) : (state->buttons & ~flag);
    step.wParam = state->buttons;
    step.lParam = state->pointer;
    break;
  }
  case PageEventKind::FocusGained:
  case PageEventKind::FocusLost: {
    const bool gained = event.kind == PageEventKind::FocusGained;
    if (gained == state->active) {
      return 0;
    }
    state->active = gained;
    if (!gained) {
      state->buttons = 0; // a release outside the page is never seen
    }
    *display = gained ? DisplayChange::Regain : DisplayChange::Lose;
    step.message = plat::WM_ACTIVATEAPP;
    step.wParam = gained ? 1 : 0;
    break;
  }
  default:
    return 0;
  }
  out[made++] = step;
  return made;
}

} // namespace web
