// event_pump.cpp - SDL events into window messages.
#include "platform/sdl/event_pump.h"
#include "platform/sdl/signals.h"

#include "platform/sdl/backend_state.h"
#include "platform/sdl/key_codes.h"
#include "platform/sdl/message_queue.h"
#include "platform/sdl/screenshot.h"
#include "platform/soft/soft_device.h"

#include <algorithm>

namespace sdlplat {
namespace {

constexpr uint32_t WM_XBUTTONDOWN = 0x020B;
constexpr uint32_t WM_XBUTTONUP = 0x020C;
constexpr plat::WPARAM MK_LBUTTON = 0x0001;
constexpr plat::WPARAM MK_RBUTTON = 0x0002;
constexpr plat::WPARAM MK_SHIFT = 0x0004;
constexpr plat::WPARAM MK_CONTROL = 0x0008;
constexpr plat::WPARAM MK_MBUTTON = 0x0010;
constexpr plat::WPARAM MK_XBUTTON1 = 0x0020;
constexpr plat::WPARAM MK_XBUTTON2 = 0x0040;
constexpr int32_t WHEEL_DELTA = 120;

bool appActive = false;
bool ownBoxOpen = false;
plat::POINT lastPointer{0, 0};

bool ForOurWindow(uint32_t windowID) {
  SDL_Window *window = MainSdlWindow();
  return window != nullptr && SDL_GetWindowID(window) == windowID;
}

void Queue(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
  plat::MSG msg{};
  msg.hwnd = MainHandle();
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = SDL_GetTicks();
  msg.pt = lastPointer;
  Enqueue(msg);
}

// The pointer position in display-mode pixels: SDL has already mapped it
// through the renderer's logical size once a mode is presented.
plat::LPARAM PointerAt(int32_t x, int32_t y) {
  int32_t w = 0;
  int32_t h = 0;
  if (!PresentedModeSize(&w, &h)) {
    SDL_GetWindowSize(MainSdlWindow(), &w, &h);
  }
  const plat::LPARAM lParam = PointerLParam(x, y, w, h);
  lastPointer.x = static_cast<int32_t>(lParam & 0xFFFF);
  lastPointer.y = static_cast<int32_t>((lParam >> 16) & 0xFFFF);
  return lParam;
}

void Activate(bool gained) {
  if (gained == appActive) {
    return;
  }
  appActive = gained;
  // WM_ACTIVATEAPP is sent: the window procedure runs now.
  SendToWindow(MainHandle(), plat::WM_ACTIVATEAPP, gained ? 1 : 0, 0);
}

// Another application took the display, or the window was minimised: in
// exclusive mode every surface of the device is lost and the window is
// minimised, as Windows does, so no input reaches an inactive game. The host's
// own message box takes the focus without taking the display.
void LoseDisplay() {
  if (!exclusive || ownBoxOpen || soft::ExclusiveModeAway()) {
    return;
  }
  if (soft::LoseExclusiveMode() && MainSdlWindow() != nullptr) {
    SDL_MinimizeWindow(MainSdlWindow());
  }
}

// The window has the focus again: the display is the application's; its
// surfaces stay lost until the host restores them.
void RegainDisplay() {
  if (soft::ExclusiveModeAway()) {
    soft::RegainExclusiveMode();
  }
}

void HandleButton(const SDL_MouseButtonEvent &b) {
  const bool down = b.state == SDL_PRESSED;
  uint32_t message = 0;
  plat::WPARAM extra = 0;
  switch (b.button) {
  case SDL_BUTTON_LEFT:
    message = down ? plat::WM_LBUTTONDOWN : plat::WM_LBUTTONUP;
    break;
  case SDL_BUTTON_RIGHT:
    message = down ? plat::WM_RBUTTONDOWN : plat::WM_RBUTTONUP;
    break;
  case SDL_BUTTON_MIDDLE:
    message = down ? plat::WM_MBUTTONDOWN : plat::WM_MBUTTONUP;
    break;
  case SDL_BUTTON_X1:
    message = down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
    extra = plat::WPARAM{1} << 16;
    break;
  case SDL_BUTTON_X2:
    message = down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
    extra = plat::WPARAM{2} << 16;
    break;
  default:
    return;
  }
  const plat::WPARAM flags = MouseKeyFlags(SDL_GetMouseState(nullptr, nullptr), SDL_GetModState());
  Queue(message, flags | extra, PointerAt(b.x, b.y));
}

void HandleWheel(const SDL_MouseWheelEvent &wheel) {
  int32_t steps = wheel.y;
  if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
    steps = -steps;
  }
  if (steps == 0) {
    return;
  }
  const auto delta = static_cast<uint16_t>(static_cast<int16_t>(steps * WHEEL_DELTA));
  const plat::WPARAM flags = MouseKeyFlags(SDL_GetMouseState(nullptr, nullptr), SDL_GetModState());
  // The wheel message carries the pointer's screen position.
  const uint32_t packed = (static_cast<uint32_t>(lastPointer.x) & 0xFFFFu) |
                          ((static_cast<uint32_t>(lastPointer.y) & 0xFFFFu) << 16);
  const plat::LPARAM where = static_cast<plat::LPARAM>(static_cast<int32_t>(packed));
  Queue(plat::WM_MOUSEWHEEL, flags | (static_cast<plat::WPARAM>(delta) << 16), where);
}

// Alt+Enter switches between full screen and a window; neither its Enter
// press nor the matching release reaches the module.
bool enterSwallowed = false;

bool SwitchesWindowMode(const SDL_KeyboardEvent &key) {
  const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
  if (!enter) {
    return false;
  }
  if (key.type == SDL_KEYUP) {
    const bool swallowed = enterSwallowed;
    enterSwallowed = false;
    return swallowed;
  }
  if ((key.keysym.mod & KMOD_ALT) == 0) {
    return false;
  }
  if (key.repeat == 0) {
    ToggleFullScreen();
  }
  enterSwallowed = true;
  return true;
}

void RequestClose() {
  if (MainHandle() != nullptr) {
    Queue(plat::WM_CLOSE, 0, 0);
  }
}

} // namespace

plat::LPARAM PointerLParam(int32_t x, int32_t y, int32_t w, int32_t h) {
  const int32_t cx = std::clamp(x, 0, std::max(w - 1, 0));
  const int32_t cy = std::clamp(y, 0, std::max(h - 1, 0));
  const uint32_t packed =
      (static_cast<uint32_t>(cx) & 0xFFFFu) | ((static_cast<uint32_t>(cy) & 0xFFFFu) << 16);
  return static_cast<plat::LPARAM>(static_cast<int32_t>(packed));
}

plat::WPARAM MouseKeyFlags(uint32_t buttons, uint16_t mod) {
  plat::WPARAM flags = 0;
  if ((buttons & SDL_BUTTON_LMASK) != 0) {
    flags |= MK_LBUTTON;
  }
  if ((buttons & SDL_BUTTON_RMASK) != 0) {
    flags |= MK_RBUTTON;
  }
  if ((buttons & SDL_BUTTON_MMASK) != 0) {
    flags |= MK_MBUTTON;
  }
  if ((buttons & SDL_BUTTON_X1MASK) != 0) {
    flags |= MK_XBUTTON1;
  }
  if ((buttons & SDL_BUTTON_X2MASK) != 0) {
    flags |= MK_XBUTTON2;
  }
  if ((mod & KMOD_SHIFT) != 0) {
    flags |= MK_SHIFT;
  }
  if ((mod & KMOD_CTRL) != 0) {
    flags |= MK_CONTROL;
  }
  return flags;
}

void HandleEvent(const SDL_Event &event) {
  switch (event.type) {
  case SDL_QUIT:
    RequestClose();
    break;
  case SDL_WINDOWEVENT:
    if (!ForOurWindow(event.window.windowID)) {
      break;
    }
    switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      RequestClose();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      RegainDisplay();
      Activate(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      Activate(false);
      LoseDisplay();
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      LoseDisplay();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      RepresentLastFrame();
      break;
    default:
      break;
    }
    break;
  case SDL_KEYDOWN:
  case SDL_KEYUP:
  case SDL_MOUSEMOTION:
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
  case SDL_MOUSEWHEEL:
    // While another application has the display the window gets no input.
    if (!soft::ExclusiveModeAway()) {
      HandleInput(event);
    }
    break;
  default:
    break;
  }
}

void HandleInput(const SDL_Event &event) {
  switch (event.type) {
  case SDL_KEYDOWN:
  case SDL_KEYUP: {
    // Print Screen saves the frame. As on Windows, the window is told only
    // of the key's release.
    if (event.type == SDL_KEYDOWN && event.key.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
      if (ForOurWindow(event.key.windowID) && event.key.repeat == 0) {
        SaveScreenshot();
      }
      break;
    }
    if (ForOurWindow(event.key.windowID) && SwitchesWindowMode(event.key)) {
      break;
    }
    KeyMessage key;
    if (ForOurWindow(event.key.windowID) && TranslateKey(event.key, &key)) {
      Queue(key.message, key.wParam, key.lParam);
    }
    break;
  }
  case SDL_MOUSEMOTION:
    if (ForOurWindow(event.motion.windowID)) {
      const plat::WPARAM flags = MouseKeyFlags(event.motion.state, SDL_GetModState());
      Queue(plat::WM_MOUSEMOVE, flags, PointerAt(event.motion.x, event.motion.y));
    }
    break;
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
    if (ForOurWindow(event.button.windowID)) {
      HandleButton(event.button);
    }
    break;
  case SDL_MOUSEWHEEL:
    if (ForOurWindow(event.wheel.windowID)) {
      HandleWheel(event.wheel);
    }
    break;
  default:
    break;
  }
}

void ResetActivation() { appActive = false; }

void BeginOwnBox() { ownBoxOpen = true; }

void EndOwnBox() {
  // The box took the focus from the window; that loss was queued while the
  // box was up. It is not another application's: drop it.
  SDL_PumpEvents();
  SDL_Event kept[64];
  const int count = SDL_PeepEvents(kept, 64, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
  for (int i = 0; i < count; ++i) {
    if (kept[i].window.event != SDL_WINDOWEVENT_FOCUS_LOST ||
        !ForOurWindow(kept[i].window.windowID)) {
      SDL_PushEvent(&kept[i]);
    }
  }
  ownBoxOpen = false;
}

void PumpEvents() {
  QuitOnSignal();
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return;
  }
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    HandleEvent(event);
  }
  // The signal's wake-up event may have been the one just taken.
  QuitOnSignal();
}

} // namespace sdlplat
