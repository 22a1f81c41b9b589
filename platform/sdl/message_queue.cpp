// message_queue.cpp - the thread's message queue: peeking, getting,
// translating, dispatching, waiting, quitting and the default handling.
#include "platform/sdl/message_queue.h"

#include "base/idle_pacing.h"
#include "platform/sdl/backend_state.h"
#include "platform/sdl/event_pump.h"
#include "platform/sdl/key_codes.h"

#include <deque>

namespace sdlplat {
namespace {

constexpr uint32_t WM_NCCREATE = 0x0081;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr plat::WPARAM SC_CLOSE = 0xF060;
constexpr plat::LPARAM HTCLIENT = 1;

// Posted messages (a close request, the characters TranslateMessage makes)
// and input (keys, pointer, buttons) wait apart, as on Windows: a fetch takes
// posted messages first, then the quit message, then input.
std::deque<plat::MSG> posted;
std::deque<plat::MSG> input;
bool quitPending = false;
int32_t quitCode = 0;

bool Matches(const plat::MSG &msg, plat::HWND wnd, uint32_t first, uint32_t last) {
  if (wnd != nullptr && msg.hwnd != wnd) {
    return false;
  }
  return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

bool IsMouseMessage(uint32_t message) { return message >= plat::WM_MOUSEMOVE && message <= 0x020D; }

bool IsInputMessage(uint32_t message) {
  return (message >= plat::WM_KEYDOWN && message <= 0x0109) || IsMouseMessage(message);
}

bool TakeFrom(std::deque<plat::MSG> &queue, plat::MSG *out, plat::HWND wnd, uint32_t first,
              uint32_t last, bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!Matches(*it, wnd, first, last)) {
      continue;
    }
    *out = *it;
    if (remove) {
      queue.erase(it);
      // Taking a mouse message from the queue first asks the window which
      // cursor to show.
      if (IsMouseMessage(out->message) && LiveWindow(out->hwnd) != nullptr) {
        const plat::LPARAM where =
            HTCLIENT | static_cast<plat::LPARAM>(static_cast<uint32_t>(out->message) << 16);
        SendToWindow(out->hwnd, plat::WM_SETCURSOR, reinterpret_cast<plat::WPARAM>(out->hwnd),
                     where);
      }
    }
    return true;
  }
  return false;
}

// The quit message is made from the flag PostQuitMessage set, only when no
// posted message passes the filter, before any input, and only for a call
// without a window filter. A peek that does not remove it leaves the flag.
bool TakeQuit(plat::MSG *out, plat::HWND wnd, uint32_t first, uint32_t last, bool remove) {
  const bool quitInRange =
      (first == 0 && last == 0) || (plat::WM_QUIT >= first && plat::WM_QUIT <= last);
  if (!quitPending || wnd != nullptr || !quitInRange) {
    return false;
  }
  *out = plat::MSG{};
  out->message = plat::WM_QUIT;
  out->wParam = static_cast<plat::WPARAM>(static_cast<intptr_t>(quitCode));
  out->time = SDL_GetTicks();
  if (remove) {
    quitPending = false;
  }
  return true;
}

bool Take(plat::MSG *out, plat::HWND wnd, uint32_t first, uint32_t last, bool remove) {
  return TakeFrom(posted, out, wnd, first, last, remove) ||
         TakeQuit(out, wnd, first, last, remove) || TakeFrom(input, out, wnd, first, last, remove);
}

bool AnythingWaiting() { return !posted.empty() || !input.empty() || quitPending; }

vantrel::IdlePacer idlePacer;

// Waits, taking messages as they come, until the next idle turn is due.
// True when a message arrived first (it waits in the queue).
bool WaitForIdleTurn() {
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  for (;;) {
    const uint32_t ms =
        vantrel::TakeTurnOrWaitMs(&idlePacer, SDL_GetPerformanceCounter(), frequency);
    if (ms == 0) {
      return false;
    }
    if (SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) != 0) {
      PumpEvents();
      if (AnythingWaiting()) {
        return true;
      }
    }
  }
}

} // namespace

void Enqueue(const plat::MSG &msg) {
  (IsInputMessage(msg.message) ? input : posted).push_back(msg);
}

void DropQueuedMessagesFor(plat::HWND wnd) {
  std::erase_if(posted, [wnd](const plat::MSG &m) { return m.hwnd == wnd; });
  std::erase_if(input, [wnd](const plat::MSG &m) { return m.hwnd == wnd; });
}

void SetIdleTurnsPerSecond(int32_t perSecond) {
  idlePacer = vantrel::MakeIdlePacer(perSecond, SDL_GetPerformanceFrequency());
}

void ResetQueue() {
  posted.clear();
  input.clear();
  quitPending = false;
  quitCode = 0;
}

} // namespace sdlplat

namespace plat {

int32_t PeekMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last, uint32_t remove) {
  if (msg == nullptr) {
    return 0;
  }
  sdlplat::PumpEvents();
  const bool removing = (remove & PM_REMOVE) != 0;
  if (sdlplat::Take(msg, wnd, first, last, removing)) {
    return 1;
  }
  // The main loop's look before an idle turn: paced when asked to be.
  const bool loopPeek = wnd == nullptr && first == 0 && last == 0 && !removing;
  if (loopPeek && sdlplat::idlePacer.period != 0 && sdlplat::WaitForIdleTurn()) {
    return sdlplat::Take(msg, wnd, first, last, removing) ? 1 : 0;
  }
  return 0;
}

int32_t GetMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last) {
  if (msg == nullptr) {
    return -1;
  }
  for (;;) {
    sdlplat::PumpEvents();
    if (sdlplat::Take(msg, wnd, first, last, true)) {
      return msg->message == WM_QUIT ? 0 : 1;
    }
    // Nothing can ever arrive without SDL's event queue: an error, not a hang.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_WaitEvent(nullptr) == 0) {
      return -1;
    }
  }
}

int32_t TranslateMessage(const MSG *msg) {
  if (msg == nullptr) {
    return 0;
  }
  const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
  const bool keyUp = msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  if (!keyDown && !keyUp) {
    return 0;
  }
  if (keyDown) {
    const char ch = sdlplat::KeyCharacter(static_cast<uint32_t>(msg->wParam), SDL_GetModState());
    if (ch != 0) {
      // The character is posted, so it comes before any input still queued.
      MSG charMsg = *msg;
      charMsg.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
      charMsg.wParam = static_cast<uint8_t>(ch);
      sdlplat::posted.push_back(charMsg);
    }
  }
  return 1;
}

LRESULT DispatchMessageA(const MSG *msg) {
  if (msg == nullptr) {
    return 0;
  }
  return sdlplat::SendToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

int32_t WaitMessage() {
  sdlplat::PumpEvents();
  if (sdlplat::AnythingWaiting()) {
    return 1;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return 0;
  }
  // Sleeps in SDL (on the display connection) until an event arrives.
  return SDL_WaitEvent(nullptr) != 0 ? 1 : 0;
}

uint32_t MsgWaitForMultipleObjects(uint32_t count, void *const *handles, int32_t waitAll,
                                   uint32_t ms, uint32_t wakeMask) {
  (void)handles;
  (void)waitAll;
  (void)wakeMask;
  sdlplat::PumpEvents();
  if (sdlplat::AnythingWaiting()) {
    return WAIT_OBJECT_0 + count;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return WAIT_TIMEOUT;
  }
  const int timeout = ms > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(ms);
  return SDL_WaitEventTimeout(nullptr, timeout) != 0 ? WAIT_OBJECT_0 + count : WAIT_TIMEOUT;
}

LRESULT DefWindowProcA(HWND wnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  sdlplat::WindowRecord *rec = sdlplat::LiveWindow(wnd);
  if (rec == nullptr) {
    return 0;
  }
  switch (message) {
  case WM_CLOSE:
    // The default answer to a close request: the window is destroyed.
    sdlplat::DestroyMainWindow();
    return 0;
  case WM_SYSKEYDOWN:
    // Alt+F4 asks the window to close.
    if (wParam == sdlplat::VK_F4 && (lParam & (LPARAM{1} << 29)) != 0) {
      sdlplat::SendToWindow(wnd, sdlplat::WM_SYSCOMMAND, sdlplat::SC_CLOSE, 0);
    }
    return 0;
  case sdlplat::WM_SYSCOMMAND:
    if ((wParam & 0xFFF0) == sdlplat::SC_CLOSE) {
      sdlplat::SendToWindow(wnd, WM_CLOSE, 0, 0);
    }
    return 0;
  case WM_SETCURSOR:
    if ((lParam & 0xFFFF) == sdlplat::HTCLIENT) {
      SetCursor(rec->classCursor);
      return 1;
    }
    return 0;
  case sdlplat::WM_NCCREATE:
    return 1;
  default:
    return 0;
  }
}

void PostQuitMessage(int32_t exitCode) {
  sdlplat::quitPending = true;
  sdlplat::quitCode = exitCode;
}

} // namespace plat
