// window.cpp - the window class registry and the one window, which has no
// pixels: it is its procedure. Showing it activates the application at once.
#include "platform/headless/headless_state.h"

#include <string>
#include <vector>

namespace headless {
namespace {

struct ClassRecord {
  std::string name;
  plat::WNDPROC proc;
};

std::vector<ClassRecord> classes;

struct WindowRecord {
  plat::WNDPROC proc = nullptr;
  bool created = false;
  bool destroyed = false;
  bool shown = false;
};
WindowRecord theWindow;

plat::HWND Handle() { return reinterpret_cast<plat::HWND>(&theWindow); }

struct StockObject {
  int32_t id;
};
StockObject applicationIcon{1};
StockObject arrowCursor{2};
StockObject stockBrushes[20];
plat::HCURSOR currentCursor = nullptr;

// The screen the window covers; the module's own mode is what is drawn.
constexpr int32_t kScreenW = 640;
constexpr int32_t kScreenH = 480;

} // namespace

plat::WNDPROC LiveProc(plat::HWND wnd) {
  if (wnd == nullptr || wnd != Handle() || !theWindow.created || theWindow.destroyed) {
    return nullptr;
  }
  return theWindow.proc;
}

plat::HWND MainHandle() { return theWindow.created && !theWindow.destroyed ? Handle() : nullptr; }

plat::LRESULT SendToWindow(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                           plat::LPARAM lParam) {
  const plat::WNDPROC proc = LiveProc(wnd);
  return proc != nullptr ? proc(wnd, message, wParam, lParam) : 0;
}

void DestroyMainWindow() {
  const plat::HWND wnd = MainHandle();
  if (wnd == nullptr) {
    return;
  }
  SendToWindow(wnd, plat::WM_DESTROY, 0, 0);
  theWindow.destroyed = true;
}

void ResetWindow() {
  classes.clear();
  theWindow = WindowRecord{};
  currentCursor = nullptr;
}

} // namespace headless

namespace plat {

uint16_t RegisterClassA(const WNDCLASSA *wc) {
  if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
    return 0;
  }
  for (const auto &c : headless::classes) {
    if (c.name == wc->lpszClassName) {
      return 0;
    }
  }
  headless::classes.push_back({wc->lpszClassName, wc->lpfnWndProc});
  return static_cast<uint16_t>(0xC000 + headless::classes.size());
}

HWND CreateWindowExA(uint32_t exStyle, const char *className, const char *title, uint32_t style,
                     int32_t x, int32_t y, int32_t w, int32_t h, HWND parent, void *menu,
                     HINSTANCE inst, void *param) {
  (void)exStyle;
  (void)title;
  (void)style;
  (void)x;
  (void)y;
  (void)parent;
  (void)menu;
  (void)inst;
  (void)param;
  if (className == nullptr || headless::MainHandle() != nullptr || w <= 0 || h <= 0) {
    return nullptr;
  }
  for (const auto &c : headless::classes) {
    if (c.name == className) {
      headless::theWindow = headless::WindowRecord{};
      headless::theWindow.proc = c.proc;
      headless::theWindow.created = true;
      return headless::Handle();
    }
  }
  return nullptr;
}

int32_t ShowWindow(HWND wnd, int32_t showCmd) {
  if (headless::LiveProc(wnd) == nullptr) {
    return 0;
  }
  const bool wasShown = headless::theWindow.shown;
  constexpr int32_t SW_HIDE = 0;
  headless::theWindow.shown = showCmd != SW_HIDE;
  if (headless::theWindow.shown && !wasShown) {
    // Nothing else competes for the input: the application is active from
    // the moment its window shows.
    headless::SendToWindow(wnd, WM_ACTIVATEAPP, 1, 0);
  }
  return wasShown ? 1 : 0;
}

int32_t UpdateWindow(HWND wnd) { return headless::LiveProc(wnd) != nullptr ? 1 : 0; }

int32_t IsWindow(HWND wnd) { return headless::LiveProc(wnd) != nullptr ? 1 : 0; }

HWND SetFocus(HWND wnd) {
  (void)wnd;
  return headless::MainHandle();
}

int32_t GetSystemMetrics(int32_t index) {
  return index == SM_CXSCREEN ? headless::kScreenW : index == SM_CYSCREEN ? headless::kScreenH : 0;
}

HICON LoadIconA(HINSTANCE inst, uintptr_t id) {
  (void)inst;
  (void)id;
  return reinterpret_cast<HICON>(&headless::applicationIcon);
}

HCURSOR LoadCursorA(HINSTANCE inst, uintptr_t id) {
  (void)inst;
  (void)id;
  return reinterpret_cast<HCURSOR>(&headless::arrowCursor);
}

HBRUSH GetStockObject(int32_t object) {
  if (object < 0 || object >= 20) {
    return nullptr;
  }
  return reinterpret_cast<HBRUSH>(&headless::stockBrushes[object]);
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = headless::currentCursor;
  headless::currentCursor = cursor;
  return previous;
}

} // namespace plat
