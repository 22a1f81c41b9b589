// key_codes.h - SDL keys as the platform's virtual-key codes and key messages.
#ifndef VANTREL_PLATFORM_SDL_KEY_CODES_H
#define VANTREL_PLATFORM_SDL_KEY_CODES_H

#include "platform/platform.h"

#include <SDL.h>
#include <cstdint>

namespace sdlplat {

// Virtual-key codes used by the desktop backend beyond those in platform.h.
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_CLEAR = 0x0C;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12; // Alt
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_NUMPAD0 = 0x60;
constexpr uint32_t VK_DECIMAL = 0x6E;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F4 = 0x73;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_F24 = 0x87;

// The virtual-key code of a key, or 0 when it has none. Letters follow the
// keyboard layout (the key's symbol); every other key is known by its
// position. Shift and Ctrl are the generic VK_SHIFT and VK_CONTROL, Alt is
// VK_MENU. With Num Lock off the keypad's digit keys are the navigation keys
// printed on them, as on the platform.
uint32_t VirtualKey(SDL_Scancode scancode, SDL_Keycode sym, uint16_t mod);

// True for the keys the platform flags as extended in a key message (bit 24).
bool IsExtendedKey(SDL_Scancode scancode);

// A key message ready for the queue.
struct KeyMessage {
  uint32_t message; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
  plat::WPARAM wParam;
  plat::LPARAM lParam;
};

// Turns an SDL key event into its key message: a key-down (repeats
// included, with the previous-state bit set) or a key-up; Alt, F10 and any
// key pressed while Alt is held without Ctrl are system keys. Answers false
// for keys with no virtual-key code.
bool TranslateKey(const SDL_KeyboardEvent &key, KeyMessage *out);

// The character TranslateMessage makes from a key-down with the modifier
// state `mod`, or 0 when the key makes none.
char KeyCharacter(uint32_t virtualKey, uint16_t mod);

} // namespace sdlplat

#endif
