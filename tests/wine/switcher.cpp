// switcher.cpp - takes the foreground from the game and gives it back, as
// the player's Alt+Tab and a click on the game's taskbar button do.
//
// Inside a Wine virtual desktop there is no task switcher: Alt+Tab sent with
// xdotool reaches no one. This program runs with wine in the host's prefix:
//
//   switcher.exe away MS [X Y]
//
// shows a window of its own, makes it the foreground window (the game is
// deactivated, and in exclusive mode its display is taken), writes "away" on
// its standard output (or "refused"), keeps it MS
// milliseconds, then closes it, restores the game's window (class "Vantrel
// Engine Beta") and makes it the foreground window again. Its window stands
// at (X, Y), 100 x 100 by default, so a test can keep it off the game's
// picture. It exits with 0, with 2 when the game's window could not be found,
// and with 3 when the system kept either window from the foreground.
//
//   switcher.exe where
//
// writes where the game's client area is on the screen, "X Y W H", and the
// game window's style bits, "style 0x...", and exits with 0 (2 without the
// game's window).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(wnd, message, wParam, lParam);
}

// Runs the queue for `ms` milliseconds.
void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < ms) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// Brings `wnd` to the foreground the way the task switcher does, until the
// system agrees (it may refuse a program that has no input of its own).
bool SwitchTo(HWND wnd) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    SwitchToThisWindow(wnd, TRUE);
    SetForegroundWindow(wnd);
    Pump(20);
    if (GetForegroundWindow() == wnd) {
      return true;
    }
  }
  return false;
}

// Prints the game's client area in screen coordinates and its style.
int Where(HWND game) {
  RECT client{};
  GetClientRect(game, &client);
  POINT origin{0, 0};
  ClientToScreen(game, &origin);
  std::printf("%ld %ld %ld %ld\nstyle 0x%08lX\n", static_cast<long>(origin.x),
              static_cast<long>(origin.y), static_cast<long>(client.right - client.left),
              static_cast<long>(client.bottom - client.top),
              static_cast<unsigned long>(GetWindowLongA(game, GWL_STYLE)));
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  HWND game = FindWindowA("Vantrel Engine Beta", nullptr);
  if (argc == 2 && std::strcmp(argv[1], "where") == 0) {
    return game != nullptr ? Where(game) : 2;
  }
  if (argc < 3 || std::strcmp(argv[1], "away") != 0) {
    return 1;
  }
  const DWORD ms = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
  const int x = argc >= 5 ? std::atoi(argv[3]) : 100;
  const int y = argc >= 5 ? std::atoi(argv[4]) : 100;
  if (game == nullptr) {
    return 2;
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "Vantrel switcher";
  RegisterClassA(&wc);
  HWND other =
      CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Another program", WS_POPUP | WS_VISIBLE, x,
                      y, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
  const bool away = SwitchTo(other);
  // Tells whoever started it that the game has lost the foreground.
  std::printf("%s\n", away ? "away" : "refused");
  std::fflush(stdout);
  Pump(ms);
  DestroyWindow(other);
  ShowWindow(game, SW_RESTORE);
  const bool back = SwitchTo(game);
  SetFocus(game);
  Pump(200);
  return away && back ? 0 : 3;
}
