// message_queue.cpp - the thread's message queue, filled from the input
// source whenever it runs dry. It never blocks: a source that has ended
// posts the quit message.
#include "platform/headless/headless_state.h"
#include "platform/soft/soft_device.h"

#include <deque>

namespace headless {
namespace {

std::deque<plat::MSG> queue;
bool quitPending = false;
int32_t quitCode = 0;
InputSource source = nullptr;
bool inputEnded = false;

bool Matches(const plat::MSG &msg, plat::HWND wnd, uint32_t first, uint32_t last) {
  if (wnd != nullptr && msg.hwnd != wnd) {
    return false;
  }
  return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

// Takes the next step of input when nothing is queued. An idle step moves the
// clock and leaves the queue empty, so the host's loop makes its idle call.
void Refill() {
  if (!queue.empty() || quitPending) {
    return;
  }
  InputStep step;
  if (source == nullptr || inputEnded || !source(&step)) {
    if (!inputEnded) {
      inputEnded = true;
      quitPending = true;
      quitCode = 0;
    }
    return;
  }
  clockNow += step.elapsed;
  if (step.idle) {
    return;
  }
  plat::MSG msg{};
  msg.hwnd = MainHandle();
  msg.message = step.message;
  msg.wParam = step.wParam;
  msg.lParam = step.lParam;
  msg.time = clockNow;
  queue.push_back(msg);
}

bool Take(plat::MSG *out, plat::HWND wnd, uint32_t first, uint32_t last, bool remove) {
  Refill();
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!Matches(*it, wnd, first, last)) {
      continue;
    }
    *out = *it;
    if (remove) {
      queue.erase(it);
    }
    return true;
  }
  const bool quitInRange =
      (first == 0 && last == 0) || (plat::WM_QUIT >= first && plat::WM_QUIT <= last);
  if (quitPending && wnd == nullptr && quitInRange) {
    *out = plat::MSG{};
    out->message = plat::WM_QUIT;
    out->wParam = static_cast<plat::WPARAM>(static_cast<intptr_t>(quitCode));
    out->time = clockNow;
    if (remove) {
      quitPending = false;
    }
    return true;
  }
  // Nothing for the caller: an idle step was taken (the host's loop makes its
  // idle call now), and the next look takes a new step.
  return false;
}

} // namespace

void SetInputSource(InputSource next) {
  source = next;
  inputEnded = false;
}

bool InputEnded() { return inputEnded; }

void ResetQueue() {
  queue.clear();
  quitPending = false;
  quitCode = 0;
  source = nullptr;
  inputEnded = false;
  clockNow = 0;
}

void ResetBackend() {
  ResetQueue();
  ResetWindow();
  ResetFrames();
  soft::ResetDevice();
}

} // namespace headless

namespace plat {

int32_t PeekMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last, uint32_t remove) {
  if (msg == nullptr) {
    return 0;
  }
  return headless::Take(msg, wnd, first, last, (remove & PM_REMOVE) != 0) ? 1 : 0;
}

int32_t GetMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last) {
  if (msg == nullptr) {
    return -1;
  }
  // Idle steps have no message: they are passed over until one comes (or
  // the input ends and the quit message does).
  for (;;) {
    if (headless::Take(msg, wnd, first, last, true)) {
      return msg->message == WM_QUIT ? 0 : 1;
    }
    if (headless::inputEnded && !headless::quitPending && headless::queue.empty()) {
      return -1; // nothing can ever arrive: an error, not a hang
    }
  }
}

int32_t TranslateMessage(const MSG *msg) {
  if (msg == nullptr) {
    return 0;
  }
  const bool key = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN ||
                   msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  // Characters are of no use to the host's window; none are made.
  return key ? 1 : 0;
}

LRESULT DispatchMessageA(const MSG *msg) {
  if (msg == nullptr) {
    return 0;
  }
  return headless::SendToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

int32_t WaitMessage() {
  // An inactive application waits for input: steps are taken until a
  // message (or the quit) is waiting; idle steps pass unseen.
  plat::MSG msg{};
  while (!headless::Take(&msg, nullptr, 0, 0, false)) {
    if (headless::inputEnded && !headless::quitPending) {
      return 0;
    }
  }
  return 1;
}

// A timed wait takes one step of the program: the display never goes away
// here, so nothing waits on the time.
uint32_t MsgWaitForMultipleObjects(uint32_t count, void *const *handles, int32_t waitAll,
                                   uint32_t ms, uint32_t wakeMask) {
  (void)handles;
  (void)waitAll;
  (void)ms;
  (void)wakeMask;
  plat::MSG msg{};
  return headless::Take(&msg, nullptr, 0, 0, false) ? WAIT_OBJECT_0 + count : WAIT_TIMEOUT;
}

LRESULT DefWindowProcA(HWND wnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  if (headless::LiveProc(wnd) == nullptr) {
    return 0;
  }
  if (message == WM_CLOSE) {
    headless::DestroyMainWindow();
  }
  return 0;
}

void PostQuitMessage(int32_t exitCode) {
  headless::quitPending = true;
  headless::quitCode = exitCode;
}

} // namespace plat
