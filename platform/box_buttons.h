// box_buttons.h - the buttons of a message box, by the button set in the low
// four bits of MessageBoxA's type, with the answers Windows gives for them.
// Shared by the backends that draw or answer boxes themselves.
#ifndef VANTREL_PLATFORM_BOX_BUTTONS_H
#define VANTREL_PLATFORM_BOX_BUTTONS_H

#include <cstdint>

namespace plat {

constexpr int32_t IDOK = 1;
constexpr int32_t IDCANCEL = 2;
constexpr int32_t IDABORT = 3;
constexpr int32_t IDRETRY = 4;
constexpr int32_t IDIGNORE = 5;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;
constexpr int32_t IDTRYAGAIN = 10;
constexpr int32_t IDCONTINUE = 11;

struct BoxButton {
  int32_t answer;
  const char *label;
};

struct BoxButtons {
  int32_t count = 0; // 0: not a button set Windows knows
  BoxButton buttons[3] = {};
  // What Escape or closing the box answers: IDCANCEL where there is a Cancel
  // button, IDOK for the OK box; 0 where Windows lets neither close it.
  int32_t onEscape = 0;
  int32_t defaultIndex = 0; // the button Return presses (MB_DEFBUTTONn)
};

// The buttons of a box of `type`, left to right. MB_DEFBUTTON2 to 4 choose
// the default; one beyond the set falls back to the first, as on Windows.
constexpr BoxButtons ButtonsOf(uint32_t type) {
  constexpr BoxButton ok{IDOK, "OK"};
  constexpr BoxButton cancel{IDCANCEL, "Cancel"};
  constexpr BoxButton abort{IDABORT, "Abort"};
  constexpr BoxButton retry{IDRETRY, "Retry"};
  constexpr BoxButton ignore{IDIGNORE, "Ignore"};
  constexpr BoxButton yes{IDYES, "Yes"};
  constexpr BoxButton no{IDNO, "No"};
  constexpr BoxButton tryAgain{IDTRYAGAIN, "Try Again"};
  constexpr BoxButton carryOn{IDCONTINUE, "Continue"};
  BoxButtons set;
  switch (type & 0xFu) {
  case 0: // MB_OK
    set = {1, {ok}, IDOK};
    break;
  case 1: // MB_OKCANCEL
    set = {2, {ok, cancel}, IDCANCEL};
    break;
  case 2: // MB_ABORTRETRYIGNORE
    set = {3, {abort, retry, ignore}, 0};
    break;
  case 3: // MB_YESNOCANCEL
    set = {3, {yes, no, cancel}, IDCANCEL};
    break;
  case 4: // MB_YESNO
    set = {2, {yes, no}, 0};
    break;
  case 5: // MB_RETRYCANCEL
    set = {2, {retry, cancel}, IDCANCEL};
    break;
  case 6: // MB_CANCELTRYCONTINUE
    set = {3, {cancel, tryAgain, carryOn}, IDCANCEL};
    break;
  default:
    return set;
  }
  const int32_t chosen = static_cast<int32_t>((type >> 8) & 0xFu); // MB_DEFBUTTON1..4
  set.defaultIndex = chosen < set.count ? chosen : 0;
  return set;
}

// The label of an answer ("Yes"), or null.
constexpr const char *AnswerLabel(int32_t answer) {
  for (uint32_t type = 0; type <= 6; ++type) {
    const BoxButtons set = ButtonsOf(type);
    for (int32_t i = 0; i < set.count; ++i) {
      if (set.buttons[i].answer == answer) {
        return set.buttons[i].label;
      }
    }
  }
  return nullptr;
}

} // namespace plat

#endif
