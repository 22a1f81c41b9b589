// The window and its message queue on SDL's dummy video driver: SDL events
// pushed in, window messages out, with the platform's sent-message, quit and
// default-handling rules.
#include "platform/platform.h"
#include "platform/sdl/backend_state.h"
#include "platform/sdl/message_queue.h"

#include <SDL.h>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The symbol of a key on a US keyboard.
SDL_Keycode UsKey(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
    return SDLK_a + (sc - SDL_SCANCODE_A);
  }
  return SDL_SCANCODE_TO_KEYCODE(sc);
}

struct Seen {
  uint32_t message;
  plat::WPARAM wParam;
  plat::LPARAM lParam;
};

std::vector<Seen> seen;
int32_t quitCodeOnDestroy = 0;

// A window procedure in the host's manner: it records what reaches it,
// quits on WM_DESTROY, hides the cursor, and leaves the rest to the default.
plat::LRESULT RecordingProc(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                            plat::LPARAM lParam) {
  seen.push_back({message, wParam, lParam});
  if (message == plat::WM_DESTROY) {
    plat::PostQuitMessage(quitCodeOnDestroy);
    return 0;
  }
  if (message == plat::WM_SETCURSOR) {
    plat::SetCursor(nullptr);
    return 1;
  }
  return plat::DefWindowProcA(wnd, message, wParam, lParam);
}

constexpr const char *kClass = "Vantrel Engine Beta";

class MessageQueue : public testing::Test {
protected:
  static void SetUpTestSuite() {
    plat::WNDCLASSA wc{};
    wc.style = plat::CS_VREDRAW | plat::CS_HREDRAW;
    wc.lpfnWndProc = RecordingProc;
    wc.hCursor = plat::LoadCursorA(nullptr, plat::IDC_ARROW);
    wc.lpszClassName = kClass;
    ASSERT_NE(plat::RegisterClassA(&wc), 0);
  }

  void SetUp() override {
    wnd = plat::CreateWindowExA(plat::WS_EX_TOPMOST, kClass, "Release 1 pre1", plat::WS_POPUP, 0, 0,
                                plat::GetSystemMetrics(plat::SM_CXSCREEN),
                                plat::GetSystemMetrics(plat::SM_CYSCREEN), nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    plat::ShowWindow(wnd, 1);
    Drain();
  }

  void TearDown() override {
    if (sdlplat::MainHandle() != nullptr) {
      plat::DefWindowProcA(wnd, plat::WM_CLOSE, 0, 0);
    }
    Drain();
  }

  // Forgets whatever SDL and the queue hold so far.
  void Drain() {
    plat::MSG msg;
    while (plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_REMOVE) != 0) {
    }
    sdlplat::ResetQueue();
    seen.clear();
    quitCodeOnDestroy = 0;
  }

  uint32_t WindowId() { return SDL_GetWindowID(sdlplat::MainSdlWindow()); }

  void PushKey(SDL_Scancode sc, bool down, uint16_t mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = WindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = UsKey(sc);
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  void PushWindowEvent(uint8_t what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = what;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  void PushMotion(int32_t x, int32_t y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowId();
    e.motion.x = x;
    e.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  void PushButton(uint8_t button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = WindowId();
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = 7;
    e.button.y = 9;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }

  std::vector<uint32_t> SeenMessages() {
    std::vector<uint32_t> out;
    for (const auto &s : seen) {
      out.push_back(s.message);
    }
    return out;
  }

  plat::HWND wnd = nullptr;
};

TEST_F(MessageQueue, TheWindowCoversTheScreen) {
  SDL_Window *window = sdlplat::MainSdlWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(window), "Release 1 pre1");
  const uint32_t flags = SDL_GetWindowFlags(window);
  EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
  EXPECT_NE(flags & SDL_WINDOW_BORDERLESS, 0u);
  SDL_DisplayMode mode;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
  EXPECT_EQ(plat::GetSystemMetrics(plat::SM_CXSCREEN), mode.w);
  EXPECT_EQ(plat::GetSystemMetrics(plat::SM_CYSCREEN), mode.h);
  // One window at a time, of a registered class.
  EXPECT_EQ(plat::CreateWindowExA(0, kClass, "second", plat::WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr),
            nullptr);
  plat::WNDCLASSA again{};
  again.lpfnWndProc = RecordingProc;
  again.lpszClassName = kClass;
  EXPECT_EQ(plat::RegisterClassA(&again), 0);
  EXPECT_EQ(plat::RegisterClassA(nullptr), 0);
}

TEST_F(MessageQueue, KeysArePeekedThenTaken) {
  PushKey(SDL_SCANCODE_A, true);
  plat::MSG msg{};
  ASSERT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_NOREMOVE), 1);
  EXPECT_EQ(msg.message, plat::WM_KEYDOWN);
  EXPECT_EQ(msg.wParam, 0x41u);
  EXPECT_EQ(msg.hwnd, wnd);
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1); // still there
  EXPECT_EQ(msg.message, plat::WM_KEYDOWN);
  EXPECT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_NOREMOVE), 0);
  EXPECT_TRUE(seen.empty()); // nothing dispatched yet
  PushKey(SDL_SCANCODE_A, false);
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
  plat::DispatchMessageA(&msg);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, plat::WM_KEYUP);
  EXPECT_EQ(seen[0].wParam, 0x41u);
}

TEST_F(MessageQueue, FocusChangesSendActivateApp) {
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  plat::MSG msg{};
  EXPECT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_NOREMOVE), 0); // sent, not queued
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, plat::WM_ACTIVATEAPP);
  EXPECT_EQ(seen[0].wParam, 1u);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_NOREMOVE);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].message, plat::WM_ACTIVATEAPP);
  EXPECT_EQ(seen[1].wParam, 0u);
}

TEST_F(MessageQueue, TakingAPointerMoveAsksForTheCursorFirst) {
  PushMotion(100, 20);
  plat::MSG msg{};
  ASSERT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_NOREMOVE), 1);
  EXPECT_TRUE(seen.empty());
  ASSERT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_REMOVE), 1);
  EXPECT_EQ(msg.message, plat::WM_MOUSEMOVE);
  EXPECT_EQ(msg.lParam, 100 | (20 << 16));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, plat::WM_SETCURSOR);
  EXPECT_EQ(seen[0].lParam & 0xFFFF, 1);                          // over the client area
  EXPECT_EQ((seen[0].lParam >> 16) & 0xFFFF, plat::WM_MOUSEMOVE); // for this message
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);              // the pointer is hidden
}

TEST_F(MessageQueue, ButtonsInOrderWithTheirPosition) {
  PushButton(SDL_BUTTON_LEFT, true);
  PushButton(SDL_BUTTON_LEFT, false);
  PushButton(SDL_BUTTON_RIGHT, true);
  PushButton(SDL_BUTTON_RIGHT, false);
  std::vector<uint32_t> got;
  plat::MSG msg{};
  while (plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_REMOVE) != 0) {
    got.push_back(msg.message);
    EXPECT_EQ(msg.lParam, 7 | (9 << 16));
  }
  EXPECT_EQ(got, (std::vector<uint32_t>{plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP,
                                        plat::WM_RBUTTONDOWN, plat::WM_RBUTTONUP}));
}

TEST_F(MessageQueue, CloseRequestDestroysTheWindowAndQuits) {
  quitCodeOnDestroy = 0;
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT; // the last window's close also arrives as a quit request
  SDL_PushEvent(&quit);
  plat::MSG msg{};
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, plat::WM_CLOSE);
  plat::DispatchMessageA(&msg);
  EXPECT_EQ(SeenMessages(), (std::vector<uint32_t>{plat::WM_CLOSE, plat::WM_DESTROY}));
  EXPECT_EQ(sdlplat::MainHandle(), nullptr);
  // One close only; then the quit message.
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, plat::WM_QUIT);
  EXPECT_EQ(msg.wParam, 0u);
  // The dead window takes no more messages.
  msg.hwnd = wnd;
  msg.message = plat::WM_KEYDOWN;
  EXPECT_EQ(plat::DispatchMessageA(&msg), 0);
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(MessageQueue, AltF4ClosesThroughTheDefaultHandling) {
  PushKey(SDL_SCANCODE_LALT, true, KMOD_LALT);
  PushKey(SDL_SCANCODE_F4, true, KMOD_LALT);
  plat::MSG msg{};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, plat::WM_SYSKEYDOWN);
    plat::TranslateMessage(&msg);
    plat::DispatchMessageA(&msg);
  }
  EXPECT_EQ(SeenMessages(),
            (std::vector<uint32_t>{plat::WM_SYSKEYDOWN, plat::WM_SYSKEYDOWN,
                                   0x0112 /* WM_SYSCOMMAND */, plat::WM_CLOSE, plat::WM_DESTROY}));
  EXPECT_EQ(sdlplat::MainHandle(), nullptr);
}

// The quit message as the platform makes it: from a flag, when no posted
// message waits (whenever those were posted), before any input, never for a
// call filtered to the window, and a peek that leaves it leaves the flag.
TEST_F(MessageQueue, QuitComesAfterPostedMessagesAndBeforeInput) {
  PushKey(SDL_SCANCODE_B, true);          // input, first to arrive
  plat::PostQuitMessage(7);               // the flag
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE); // posted after both
  plat::MSG msg{};
  struct Step {
    plat::HWND filter;
    uint32_t remove;
    int32_t answer;
    uint32_t message;
  };
  const Step steps[] = {
      {nullptr, plat::PM_NOREMOVE, 1, plat::WM_CLOSE},
      {nullptr, plat::PM_REMOVE, 1, plat::WM_CLOSE},
      {wnd, plat::PM_NOREMOVE, 1, plat::WM_KEYDOWN}, // filtered: no quit message
      {nullptr, plat::PM_NOREMOVE, 1, plat::WM_QUIT},
      {nullptr, plat::PM_NOREMOVE, 1, plat::WM_QUIT}, // the peek left the flag
      {nullptr, plat::PM_REMOVE, 1, plat::WM_QUIT},
      {nullptr, plat::PM_REMOVE, 1, plat::WM_KEYDOWN},
      {nullptr, plat::PM_REMOVE, 0, 0},
  };
  int i = 0;
  for (const Step &step : steps) {
    msg = plat::MSG{};
    EXPECT_EQ(plat::PeekMessageA(&msg, step.filter, 0, 0, step.remove), step.answer) << i;
    EXPECT_EQ(msg.message, step.message) << i;
    if (step.message == plat::WM_QUIT) {
      EXPECT_EQ(msg.wParam, 7u) << i;
    }
    ++i;
  }
}

TEST_F(MessageQueue, GetMessageAnswersZeroForTheQuitMessageOnly) {
  PushKey(SDL_SCANCODE_B, true);
  plat::PostQuitMessage(3);
  EXPECT_EQ(plat::WaitMessage(), 1); // something waits: no sleep
  plat::MSG msg{};
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, plat::WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, plat::WM_KEYDOWN);
}

TEST_F(MessageQueue, RangeFilterSkipsOtherMessages) {
  PushKey(SDL_SCANCODE_C, true);
  PushMotion(3, 4);
  plat::MSG msg{};
  ASSERT_EQ(
      plat::PeekMessageA(&msg, nullptr, plat::WM_MOUSEMOVE, plat::WM_MOUSEMOVE, plat::PM_REMOVE),
      1);
  EXPECT_EQ(msg.message, plat::WM_MOUSEMOVE);
  ASSERT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_REMOVE), 1);
  EXPECT_EQ(msg.message, plat::WM_KEYDOWN);
}

TEST_F(MessageQueue, TranslatedCharactersComeBeforeLaterInput) {
  PushKey(SDL_SCANCODE_A, true);
  PushKey(SDL_SCANCODE_LEFT, true);
  plat::MSG msg{};
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(plat::TranslateMessage(&msg), 1);
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, plat::WM_CHAR);
  EXPECT_EQ(msg.wParam, static_cast<plat::WPARAM>('a'));
  ASSERT_EQ(plat::GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.wParam, 0x25u);
  plat::TranslateMessage(&msg); // arrows make no character
  EXPECT_EQ(plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_REMOVE), 0);
}

TEST_F(MessageQueue, CursorFollowsSetCursor) {
  plat::HCURSOR arrow = plat::LoadCursorA(nullptr, plat::IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  plat::SetCursor(arrow);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_EQ(plat::SetCursor(nullptr), arrow);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(plat::SetCursor(nullptr), nullptr);
  EXPECT_NE(plat::LoadIconA(nullptr, plat::IDI_APPLICATION), nullptr);
  EXPECT_NE(plat::GetStockObject(plat::BLACK_BRUSH), nullptr);
}

} // namespace
