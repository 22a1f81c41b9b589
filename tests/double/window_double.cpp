// USER of the test double: window class and window, the message queue,
// cursor and message boxes.
#include "tests/double/double_state.h"

#include <algorithm>

namespace td {

using detail::H;
using detail::Record;
using detail::S;
using detail::Scripted;
using detail::Text;

namespace detail {

plat::HWND WindowHandle() {
  static char window;
  return reinterpret_cast<plat::HWND>(&window);
}

} // namespace detail

namespace {

template <typename T> T FakeHandle() {
  static char object;
  return reinterpret_cast<T>(&object);
}

plat::MSG Message(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
  plat::MSG msg{};
  msg.hwnd = detail::WindowHandle();
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  return msg;
}

bool IsInputMessage(uint32_t message) {
  return (message >= plat::WM_KEYDOWN && message <= 0x0109) ||
         (message >= plat::WM_MOUSEMOVE && message <= 0x020E);
}

// The next message in the platform's order: posted messages (every message
// the test posts that is no keyboard or mouse input, WM_QUIT posted as such
// included) first, then the quit message PostQuitMessage asked for, then
// input. Removed when `remove`; a peek that leaves the quit message leaves
// the flag set.
bool NextMessage(plat::MSG *out, bool remove) {
  auto &state = S();
  auto &queue = state.queue;
  auto it = std::find_if(queue.begin(), queue.end(),
                         [](const plat::MSG &m) { return !IsInputMessage(m.message); });
  if (it == queue.end() && state.quitPending) {
    *out = plat::MSG{};
    out->message = plat::WM_QUIT;
    out->wParam = static_cast<plat::WPARAM>(static_cast<intptr_t>(state.quitPendingCode));
    if (remove) {
      state.quitPending = false;
    }
    return true;
  }
  if (it == queue.end()) {
    it = queue.begin();
  }
  if (it == queue.end()) {
    return false;
  }
  *out = *it;
  if (remove) {
    queue.erase(it);
  }
  return true;
}

bool AnythingWaiting() { return !S().queue.empty() || S().quitPending; }

// WaitMessage's work: let the test post something, or end the run.
void WaitForMessage() {
  if (AnythingWaiting()) {
    return;
  }
  if (S().onWait) {
    auto hook = S().onWait;
    hook();
  }
  if (!AnythingWaiting()) {
    plat::MSG quit = Message(plat::WM_QUIT, 0x7E57, 0);
    quit.hwnd = nullptr;
    S().queue.push_back(quit);
  }
}

// A timed wait: the test's hook may post or change the world; when nothing
// waits afterwards the time runs out. A run that only ever times out ends
// after kTimedWaitsBeforeQuit waits in a row, so a test never hangs.
constexpr int kTimedWaitsBeforeQuit = 1000;

bool WaitForMessageOrTime() {
  if (!AnythingWaiting() && S().onWait) {
    auto hook = S().onWait;
    hook();
  }
  if (AnythingWaiting()) {
    S().timedOutWaits = 0;
    return true;
  }
  if (++S().timedOutWaits >= kTimedWaitsBeforeQuit) {
    plat::MSG quit = Message(plat::WM_QUIT, 0x7E57, 0);
    quit.hwnd = nullptr;
    S().queue.push_back(quit);
    return true;
  }
  return false;
}

} // namespace

void Post(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
  S().queue.push_back(Message(message, wParam, lParam));
}

size_t QueueSize() { return S().queue.size() + (S().quitPending ? 1 : 0); }

void OnWait(std::function<void()> hook) { S().onWait = std::move(hook); }

void QuitAfterPeeks(int n, int32_t code) {
  S().quitAfterPeeks = n;
  S().quitCode = code;
}

void ActivateOnShow(bool on) { S().activateOnShow = on; }

plat::LRESULT Send(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) {
  if (S().windowProc == nullptr) {
    return 0;
  }
  return S().windowProc(detail::WindowHandle(), message, wParam, lParam);
}

const std::vector<Box> &Boxes() { return S().boxes; }

void OnBox(std::function<void(const Box &)> hook) { S().onBox = std::move(hook); }

void SetScreen(int32_t w, int32_t h) {
  S().screenW = w;
  S().screenH = h;
}

plat::WNDPROC WindowProcedure() { return S().windowProc; }

plat::HWND MainWindow() { return S().windowAlive ? detail::WindowHandle() : nullptr; }

} // namespace td

namespace plat {

using td::detail::H;
using td::detail::Record;
using td::detail::S;
using td::detail::Scripted;
using td::detail::Text;

uint16_t RegisterClassA(const WNDCLASSA *wc) {
  if (wc == nullptr) {
    Record("RegisterClassA");
    return 0;
  }
  Record("RegisterClassA",
         {wc->style, H(reinterpret_cast<const void *>(wc->lpfnWndProc)), wc->cbClsExtra,
          wc->cbWndExtra, H(wc->hInstance), H(wc->hIcon), H(wc->hCursor), H(wc->hbrBackground)},
         {Text(wc->lpszMenuName), Text(wc->lpszClassName)});
  uint64_t answer = 0;
  if (Scripted("RegisterClassA", &answer)) {
    return static_cast<uint16_t>(answer);
  }
  S().className = Text(wc->lpszClassName);
  S().windowProc = wc->lpfnWndProc;
  return 0xC001;
}

HWND CreateWindowExA(uint32_t exStyle, const char *className, const char *title, uint32_t style,
                     int32_t x, int32_t y, int32_t w, int32_t h, HWND parent, void *menu,
                     HINSTANCE inst, void *param) {
  Record("CreateWindowExA", {exStyle, style, x, y, w, h, H(parent), H(menu), H(inst), H(param)},
         {Text(className), Text(title)});
  uint64_t answer = 0;
  if (Scripted("CreateWindowExA", &answer)) {
    return nullptr;
  }
  // Only a registered class makes a window.
  if (S().className.empty() || className == nullptr || S().className != className) {
    return nullptr;
  }
  S().windowAlive = true;
  return td::detail::WindowHandle();
}

int32_t ShowWindow(HWND wnd, int32_t showCmd) {
  Record("ShowWindow", {H(wnd), showCmd});
  uint64_t answer = 0;
  if (Scripted("ShowWindow", &answer)) {
    return static_cast<int32_t>(answer);
  }
  if (S().activateOnShow && S().windowAlive && S().windowProc != nullptr) {
    S().windowProc(wnd, WM_ACTIVATEAPP, 1, 0);
  }
  return 0;
}

int32_t UpdateWindow(HWND wnd) {
  Record("UpdateWindow", {H(wnd)});
  uint64_t answer = 0;
  return Scripted("UpdateWindow", &answer) ? static_cast<int32_t>(answer) : 1;
}

HWND SetFocus(HWND wnd) {
  Record("SetFocus", {H(wnd)});
  return nullptr;
}

int32_t GetSystemMetrics(int32_t index) {
  Record("GetSystemMetrics", {index});
  uint64_t answer = 0;
  if (Scripted("GetSystemMetrics", &answer)) {
    return static_cast<int32_t>(answer);
  }
  if (index == SM_CXSCREEN) {
    return S().screenW;
  }
  return index == SM_CYSCREEN ? S().screenH : 0;
}

HICON LoadIconA(HINSTANCE inst, uintptr_t id) {
  Record("LoadIconA", {H(inst), static_cast<int64_t>(id)});
  return td::FakeHandle<HICON>();
}

HCURSOR LoadCursorA(HINSTANCE inst, uintptr_t id) {
  Record("LoadCursorA", {H(inst), static_cast<int64_t>(id)});
  return td::FakeHandle<HCURSOR>();
}

HBRUSH GetStockObject(int32_t object) {
  Record("GetStockObject", {object});
  return td::FakeHandle<HBRUSH>();
}

int32_t PeekMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last, uint32_t remove) {
  Record("PeekMessageA", {H(wnd), first, last, remove});
  uint64_t answer = 0;
  if (Scripted("PeekMessageA", &answer)) {
    return static_cast<int32_t>(answer);
  }
  auto &state = S();
  if (!td::AnythingWaiting()) {
    if (state.quitAfterPeeks > 0 && --state.quitAfterPeeks == 0) {
      plat::MSG quit{};
      quit.message = WM_QUIT;
      quit.wParam = static_cast<WPARAM>(static_cast<intptr_t>(state.quitCode));
      state.queue.push_back(quit);
    }
    return 0;
  }
  plat::MSG next{};
  td::NextMessage(&next, (remove & PM_REMOVE) != 0);
  if (msg != nullptr) {
    *msg = next;
  }
  return 1;
}

int32_t GetMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last) {
  Record("GetMessageA", {H(wnd), first, last});
  uint64_t answer = 0;
  if (Scripted("GetMessageA", &answer)) {
    return static_cast<int32_t>(answer);
  }
  td::WaitForMessage();
  plat::MSG next{};
  td::NextMessage(&next, true);
  if (msg != nullptr) {
    *msg = next;
  }
  return next.message == WM_QUIT ? 0 : 1;
}

int32_t TranslateMessage(const MSG *msg) {
  Record("TranslateMessage", {msg != nullptr ? static_cast<int64_t>(msg->message) : -1});
  return 0;
}

LRESULT DispatchMessageA(const MSG *msg) {
  if (msg == nullptr) {
    Record("DispatchMessageA", {-1});
    return 0;
  }
  Record("DispatchMessageA", {H(msg->hwnd), msg->message, static_cast<int64_t>(msg->wParam),
                              static_cast<int64_t>(msg->lParam)});
  // Thread messages (no window) and messages for a destroyed window go nowhere.
  if (msg->hwnd == nullptr || msg->hwnd != td::detail::WindowHandle() || !S().windowAlive ||
      S().windowProc == nullptr) {
    return 0;
  }
  return S().windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

int32_t WaitMessage() {
  Record("WaitMessage");
  td::WaitForMessage();
  return 1;
}

uint32_t MsgWaitForMultipleObjects(uint32_t count, void *const *handles, int32_t waitAll,
                                   uint32_t ms, uint32_t wakeMask) {
  Record("MsgWaitForMultipleObjects", {count, H(handles), waitAll, ms, wakeMask});
  uint64_t answer = 0;
  if (Scripted("MsgWaitForMultipleObjects", &answer)) {
    return static_cast<uint32_t>(answer);
  }
  return td::WaitForMessageOrTime() ? WAIT_OBJECT_0 + count : WAIT_TIMEOUT;
}

LRESULT DefWindowProcA(HWND wnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  Record("DefWindowProcA",
         {H(wnd), message, static_cast<int64_t>(wParam), static_cast<int64_t>(lParam)});
  uint64_t answer = 0;
  if (Scripted("DefWindowProcA", &answer)) {
    return static_cast<LRESULT>(answer);
  }
  // The default handling of a close request destroys the window.
  if (message == WM_CLOSE && S().windowAlive) {
    S().windowAlive = false;
    if (S().windowProc != nullptr) {
      S().windowProc(wnd, WM_DESTROY, 0, 0);
    }
  }
  return 0;
}

void PostQuitMessage(int32_t exitCode) {
  Record("PostQuitMessage", {exitCode});
  // A flag, not a queued message: the fetch makes the quit message when no
  // posted message waits (see NextMessage).
  S().quitPending = true;
  S().quitPendingCode = exitCode;
}

HCURSOR SetCursor(HCURSOR cursor) {
  Record("SetCursor", {H(cursor)});
  HCURSOR previous = S().cursor;
  S().cursor = cursor;
  return previous;
}

int32_t MessageBoxA(HWND owner, const char *text, const char *caption, uint32_t type) {
  Record("MessageBoxA", {H(owner), type}, {Text(text), Text(caption)});
  td::Box box{owner, Text(text), Text(caption), type};
  S().boxes.push_back(box);
  if (S().onBox) {
    auto hook = S().onBox;
    hook(box);
  }
  uint64_t answer = 0;
  return Scripted("MessageBoxA", &answer) ? static_cast<int32_t>(answer) : 1; // IDOK
}

int32_t IsWindow(HWND wnd) {
  Record("IsWindow", {H(wnd)});
  uint64_t answer = 0;
  if (Scripted("IsWindow", &answer)) {
    return static_cast<int32_t>(answer);
  }
  return (wnd != nullptr && wnd == td::detail::WindowHandle() && S().windowAlive) ? 1 : 0;
}

} // namespace plat
