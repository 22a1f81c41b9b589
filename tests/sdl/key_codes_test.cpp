// Virtual-key codes and key messages made from SDL key events.
#include "platform/sdl/event_pump.h"
#include "platform/sdl/key_codes.h"

#include <gtest/gtest.h>

namespace {

// The symbol of a key on a US keyboard.
SDL_Keycode UsKey(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
    return SDLK_a + (sc - SDL_SCANCODE_A);
  }
  return SDL_SCANCODE_TO_KEYCODE(sc);
}

using namespace sdlplat;

uint32_t Vk(SDL_Scancode sc, SDL_Keycode sym = SDLK_UNKNOWN, uint16_t mod = KMOD_NONE) {
  return VirtualKey(sc, sym, mod);
}

TEST(VirtualKeys, CoverTheKeyboard) {
  EXPECT_EQ(Vk(SDL_SCANCODE_A, SDLK_a), 0x41u);
  EXPECT_EQ(Vk(SDL_SCANCODE_Z, SDLK_z), 0x5Au);
  EXPECT_EQ(Vk(SDL_SCANCODE_0), 0x30u);
  EXPECT_EQ(Vk(SDL_SCANCODE_9), 0x39u);
  EXPECT_EQ(Vk(SDL_SCANCODE_F1), 0x70u);
  EXPECT_EQ(Vk(SDL_SCANCODE_F12), 0x7Bu);
  EXPECT_EQ(Vk(SDL_SCANCODE_F13), 0x7Cu);
  EXPECT_EQ(Vk(SDL_SCANCODE_F24), 0x87u);
  EXPECT_EQ(Vk(SDL_SCANCODE_LEFT), 0x25u);
  EXPECT_EQ(Vk(SDL_SCANCODE_UP), 0x26u);
  EXPECT_EQ(Vk(SDL_SCANCODE_RIGHT), 0x27u);
  EXPECT_EQ(Vk(SDL_SCANCODE_DOWN), 0x28u);
  EXPECT_EQ(Vk(SDL_SCANCODE_PAGEUP), 0x21u);
  EXPECT_EQ(Vk(SDL_SCANCODE_PAGEDOWN), 0x22u);
  EXPECT_EQ(Vk(SDL_SCANCODE_END), 0x23u);
  EXPECT_EQ(Vk(SDL_SCANCODE_HOME), 0x24u);
  EXPECT_EQ(Vk(SDL_SCANCODE_INSERT), 0x2Du);
  EXPECT_EQ(Vk(SDL_SCANCODE_DELETE), 0x2Eu);
  EXPECT_EQ(Vk(SDL_SCANCODE_ESCAPE), 0x1Bu);
  EXPECT_EQ(Vk(SDL_SCANCODE_RETURN), 0x0Du);
  EXPECT_EQ(Vk(SDL_SCANCODE_SPACE), 0x20u);
  EXPECT_EQ(Vk(SDL_SCANCODE_BACKSPACE), 0x08u);
  EXPECT_EQ(Vk(SDL_SCANCODE_TAB), 0x09u);
  EXPECT_EQ(Vk(SDL_SCANCODE_PAUSE), 0x13u);
  EXPECT_EQ(Vk(SDL_SCANCODE_CAPSLOCK), 0x14u);
  // OEM punctuation at its US positions.
  EXPECT_EQ(Vk(SDL_SCANCODE_SEMICOLON), 0xBAu);
  EXPECT_EQ(Vk(SDL_SCANCODE_EQUALS), 0xBBu);
  EXPECT_EQ(Vk(SDL_SCANCODE_COMMA), 0xBCu);
  EXPECT_EQ(Vk(SDL_SCANCODE_MINUS), 0xBDu);
  EXPECT_EQ(Vk(SDL_SCANCODE_PERIOD), 0xBEu);
  EXPECT_EQ(Vk(SDL_SCANCODE_SLASH), 0xBFu);
  EXPECT_EQ(Vk(SDL_SCANCODE_GRAVE), 0xC0u);
  EXPECT_EQ(Vk(SDL_SCANCODE_LEFTBRACKET), 0xDBu);
  EXPECT_EQ(Vk(SDL_SCANCODE_BACKSLASH), 0xDCu);
  EXPECT_EQ(Vk(SDL_SCANCODE_RIGHTBRACKET), 0xDDu);
  EXPECT_EQ(Vk(SDL_SCANCODE_APOSTROPHE), 0xDEu);
  EXPECT_EQ(Vk(SDL_SCANCODE_NONUSBACKSLASH), 0xE2u);
  // Both Shift keys and both Ctrl keys are the generic codes; Alt is VK_MENU.
  EXPECT_EQ(Vk(SDL_SCANCODE_LSHIFT), 0x10u);
  EXPECT_EQ(Vk(SDL_SCANCODE_RSHIFT), 0x10u);
  EXPECT_EQ(Vk(SDL_SCANCODE_LCTRL), 0x11u);
  EXPECT_EQ(Vk(SDL_SCANCODE_RCTRL), 0x11u);
  EXPECT_EQ(Vk(SDL_SCANCODE_LALT), 0x12u);
  EXPECT_EQ(Vk(SDL_SCANCODE_RALT), 0x12u);
  EXPECT_EQ(Vk(SDL_SCANCODE_UNKNOWN), 0u);
  EXPECT_EQ(Vk(SDL_SCANCODE_POWER), 0u);
}

TEST(VirtualKeys, KeypadFollowsNumLock) {
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM), 0x60u);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NUM), 0x69u);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM), 0x6Eu);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_0, SDLK_KP_0), 0x2Du);           // Insert
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_1, SDLK_KP_1), 0x23u);           // End
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_5, SDLK_KP_5), 0x0Cu);           // Clear
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_8, SDLK_KP_8), 0x26u);           // Up
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD), 0x2Eu); // Delete
  // The operators and Enter do not depend on Num Lock.
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_PLUS), 0x6Bu);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_MINUS), 0x6Du);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_MULTIPLY), 0x6Au);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_DIVIDE), 0x6Fu);
  EXPECT_EQ(Vk(SDL_SCANCODE_KP_ENTER), 0x0Du);
}

TEST(VirtualKeys, LettersFollowTheLayout) {
  // The key at the US "Q" position types "a" on an AZERTY keyboard.
  EXPECT_EQ(Vk(SDL_SCANCODE_Q, SDLK_a), 0x41u);
  // A letter key whose symbol is no Latin letter keeps its position's letter.
  EXPECT_EQ(Vk(SDL_SCANCODE_Q, 0x0444), 0x51u);
}

SDL_KeyboardEvent Key(SDL_Scancode sc, bool down, uint16_t mod = KMOD_NONE, uint8_t repeat = 0) {
  SDL_KeyboardEvent k{};
  k.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  k.state = down ? SDL_PRESSED : SDL_RELEASED;
  k.repeat = repeat;
  k.keysym.scancode = sc;
  k.keysym.sym = UsKey(sc);
  k.keysym.mod = mod;
  return k;
}

TEST(KeyMessages, PlainKeysAndRepeats) {
  KeyMessage m{};
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_A, true), &m));
  EXPECT_EQ(m.message, plat::WM_KEYDOWN);
  EXPECT_EQ(m.wParam, 0x41u);
  EXPECT_EQ(static_cast<uint32_t>(m.lParam), 1u); // count 1, first press
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_A, true, KMOD_NONE, 1), &m));
  EXPECT_EQ(m.message, plat::WM_KEYDOWN); // a repeat is another key-down
  EXPECT_EQ(static_cast<uint32_t>(m.lParam), 1u | (1u << 30));
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_A, false), &m));
  EXPECT_EQ(m.message, plat::WM_KEYUP);
  EXPECT_EQ(static_cast<uint32_t>(m.lParam), 1u | (1u << 30) | (1u << 31));
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_LEFT, true), &m));
  EXPECT_EQ(static_cast<uint32_t>(m.lParam) & (1u << 24), 1u << 24); // extended key
  EXPECT_FALSE(TranslateKey(Key(SDL_SCANCODE_UNKNOWN, true), &m));
}

TEST(KeyMessages, AltAndF10AreSystemKeys) {
  KeyMessage m{};
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_LALT, true, KMOD_LALT), &m));
  EXPECT_EQ(m.message, plat::WM_SYSKEYDOWN);
  EXPECT_EQ(m.wParam, 0x12u);
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_X, true, KMOD_LALT), &m));
  EXPECT_EQ(m.message, plat::WM_SYSKEYDOWN);
  EXPECT_EQ(static_cast<uint32_t>(m.lParam) & (1u << 29), 1u << 29); // Alt held
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_X, false, KMOD_LALT), &m));
  EXPECT_EQ(m.message, plat::WM_SYSKEYUP);
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_LALT, false), &m));
  EXPECT_EQ(m.message, plat::WM_SYSKEYUP);
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_F10, true), &m));
  EXPECT_EQ(m.message, plat::WM_SYSKEYDOWN);
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_F10, false), &m));
  EXPECT_EQ(m.message, plat::WM_SYSKEYUP);
  // Ctrl+Alt (AltGr) types ordinary keys.
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_E, true, KMOD_LCTRL | KMOD_RALT), &m));
  EXPECT_EQ(m.message, plat::WM_KEYDOWN);
  ASSERT_TRUE(TranslateKey(Key(SDL_SCANCODE_ESCAPE, true), &m));
  EXPECT_EQ(m.message, plat::WM_KEYDOWN);
  EXPECT_EQ(m.wParam, 0x1Bu);
}

TEST(KeyMessages, Characters) {
  EXPECT_EQ(KeyCharacter(0x41, KMOD_NONE), 'a');
  EXPECT_EQ(KeyCharacter(0x41, KMOD_LSHIFT), 'A');
  EXPECT_EQ(KeyCharacter(0x41, KMOD_CAPS), 'A');
  EXPECT_EQ(KeyCharacter(0x41, KMOD_CAPS | KMOD_LSHIFT), 'a');
  EXPECT_EQ(KeyCharacter(0x31, KMOD_LSHIFT), '!');
  EXPECT_EQ(KeyCharacter(0x0D, KMOD_NONE), '\r');
  EXPECT_EQ(KeyCharacter(0x43, KMOD_LCTRL), 3); // Ctrl+C
  EXPECT_EQ(KeyCharacter(0x25, KMOD_NONE), 0);  // arrows make no character
  EXPECT_EQ(KeyCharacter(0x70, KMOD_NONE), 0);
}

TEST(PointerPositions, PackedAndClampedToTheMode) {
  EXPECT_EQ(PointerLParam(100, 20, 640, 480), 100 | (20 << 16));
  EXPECT_EQ(PointerLParam(639, 479, 640, 480), 639 | (479 << 16));
  // Over the letterbox bars: the nearest edge of the mode.
  EXPECT_EQ(PointerLParam(-40, 240, 640, 480), 0 | (240 << 16));
  EXPECT_EQ(PointerLParam(700, 900, 640, 480), 639 | (479 << 16));
  // Large modes keep both words apart (no sign from the high word).
  const plat::LPARAM big = PointerLParam(40000, 40000, 65536, 65536);
  EXPECT_EQ(big & 0xFFFF, 40000);
  EXPECT_EQ((big >> 16) & 0xFFFF, 40000);
}

TEST(PointerPositions, ButtonAndModifierFlags) {
  EXPECT_EQ(MouseKeyFlags(0, KMOD_NONE), 0u);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_LMASK, KMOD_NONE), 0x01u);
  EXPECT_EQ(MouseKeyFlags(SDL_BUTTON_RMASK | SDL_BUTTON_MMASK, KMOD_LSHIFT | KMOD_RCTRL),
            0x02u | 0x10u | 0x04u | 0x08u);
}

} // namespace
