// page_input.h - what the page reports (keys, the pointer, the focus) as the
// window messages the desktop host makes. Plain C++: the browser glue hands
// events in, the tests drive it directly.
#ifndef VANTREL_PLATFORM_WEB_PAGE_INPUT_H
#define VANTREL_PLATFORM_WEB_PAGE_INPUT_H

#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <cstdint>
#include <string_view>

namespace web {

enum class PageEventKind : int32_t {
  KeyDown = 1,
  KeyUp = 2,
  PointerMove = 3,
  ButtonDown = 4,
  ButtonUp = 5,
  FocusGained = 6,
  FocusLost = 7,
};

// One event as the page saw it.
struct PageEvent {
  PageEventKind kind = PageEventKind::PointerMove;
  uint32_t key = 0;    // keys: the virtual-key code (VirtualKeyFromCode)
  bool repeat = false; // keys: held down, repeated by the browser
  bool alt = false;    // keys: Alt was held
  int32_t button = 0;  // buttons: the DOM number (0 left, 1 middle, 2 right)
  double x = 0;        // pointer: CSS pixels from the canvas element's top-left
  double y = 0;
  double boxWidth = 0; // the canvas element's size in CSS pixels
  double boxHeight = 0;
};

// The virtual-key code of a key by its KeyboardEvent.code (its position on
// the keyboard: "KeyA" is VK 'A' whatever the layout prints on it), or 0
// when the platform has none for it.
uint32_t VirtualKeyFromCode(std::string_view code);

// A pointer position in the canvas element to mode pixels. The element shows
// the mode scaled with its aspect kept and centred (black bars beside or
// above it); positions on the bars or outside are clamped to the mode's edge.
plat::POINT PointerInMode(double x, double y, double boxWidth, double boxHeight, int32_t modeWidth,
                          int32_t modeHeight);

// What the translation remembers between events.
struct InputState {
  plat::WPARAM buttons = 0; // MK_LBUTTON, MK_RBUTTON, MK_MBUTTON held
  plat::LPARAM pointer = 0; // the last position, as a mouse message's lParam
  bool active = true;       // the page has the focus
};

// What a focus event asks of the display besides the message.
enum class DisplayChange { None, Lose, Regain };

// Turns one page event into the messages for the host's window, in `out`,
// and answers how many (0 to 2). None for a key without a code, a button the
// host has no message for, a focus event that changes nothing. A button
// pressed or released away from the last position (a touch, a pen) moves the
// pointer there first: the module reads the position of a press from the
// last move. Focus leaving the page is WM_ACTIVATEAPP 0 and takes the
// display away (`*display` = Lose); coming back regains it first, then
// WM_ACTIVATEAPP 1.
constexpr int32_t kMostMessagesForEvent = 2;
int32_t MessagesForEvent(const PageEvent &event, int32_t modeWidth, int32_t modeHeight,
                         InputState *state, headless::InputStep out[kMostMessagesForEvent],
                         DisplayChange *display);

} // namespace web

#endif
