// key_table.h - the state of every virtual key as the window's messages tell
// it: the table behind the key-state calls a module may make
// (GetAsyncKeyState, GetKeyState). It is kept by the same key and button
// messages that become module events, so a replayed run, whose script drives
// those messages, reads the same states as the recorded one.
#ifndef VANTREL_HOST_KEY_TABLE_H
#define VANTREL_HOST_KEY_TABLE_H

#include "platform/platform.h"

#include <cstdint>

namespace vantrel {

// Notes one window message: WM_KEYDOWN and WM_KEYUP (the virtual key in the
// low 8 bits of wParam, Escape included), WM_LBUTTONDOWN/UP (VK_LBUTTON) and
// WM_RBUTTONDOWN/UP (VK_RBUTTON). Other messages change nothing. A key-down
// of a key already down (the platform's repeat) is no new press.
void NoteKeyMessage(uint32_t message, plat::WPARAM wParam);

// GetAsyncKeyState: 0x8000 while the key is down; bit 0 when it was pressed
// since the previous query of that key (the query clears it). 0 for a code
// outside 0..255.
int16_t AsyncKeyState(int32_t vk);

// GetKeyState: 0x8000 (a negative value) while the key is down; bit 0 the
// key's toggle, which every press flips (as Caps Lock's light). 0 for a code
// outside 0..255.
int16_t KeyState(int32_t vk);

// Every key up, untoggled and unpressed, as at process start.
void ResetKeyTable();

} // namespace vantrel

#endif
