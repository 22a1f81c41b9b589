// window.cpp - the window class registry and the one full-screen window.
#include "platform/sdl/backend_state.h"
#include "platform/sdl/event_pump.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace sdlplat {
namespace {

struct ClassRecord {
  std::string name;
  plat::WNDCLASSA wc;
};

std::vector<ClassRecord> &Classes() {
  static std::vector<ClassRecord> classes;
  return classes;
}

// The one window. Its address is the window handle; it outlives the SDL
// window so that a handle kept after destruction is recognised as dead.
WindowRecord theWindow;
bool windowCreated = false;

plat::HWND HandleOf(WindowRecord *rec) { return reinterpret_cast<plat::HWND>(rec); }

// Harmless stand-ins for the icon, cursor and brush handles.
struct StockObject {
  int32_t id;
};
StockObject applicationIcon{1};
StockObject arrowCursor{2};
StockObject stockBrushes[20];

bool cursorHidden = false;
plat::HCURSOR currentCursor = nullptr;

} // namespace

WindowRecord *LiveWindow(plat::HWND wnd) {
  if (wnd == nullptr || wnd != HandleOf(&theWindow) || !windowCreated || theWindow.destroyed) {
    return nullptr;
  }
  return &theWindow;
}

plat::HWND MainHandle() {
  return (windowCreated && !theWindow.destroyed) ? HandleOf(&theWindow) : nullptr;
}

SDL_Window *MainSdlWindow() { return MainHandle() != nullptr ? theWindow.sdl : nullptr; }

plat::LRESULT SendToWindow(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                           plat::LPARAM lParam) {
  WindowRecord *rec = LiveWindow(wnd);
  if (rec == nullptr || rec->proc == nullptr) {
    return 0;
  }
  return rec->proc(wnd, message, wParam, lParam);
}

void DestroyMainWindow() {
  plat::HWND wnd = MainHandle();
  if (wnd == nullptr) {
    return;
  }
  SendToWindow(wnd, plat::WM_DESTROY, 0, 0);
  if (theWindow.destroyed) {
    return; // destroyed again from inside its own WM_DESTROY
  }
  theWindow.destroyed = true;
  DropQueuedMessagesFor(wnd);
  TearDownPresentation();
  SDL_DestroyWindow(theWindow.sdl);
  theWindow.sdl = nullptr;
}

} // namespace sdlplat

namespace plat {

uint16_t RegisterClassA(const WNDCLASSA *wc) {
  if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
    return 0;
  }
  auto &classes = sdlplat::Classes();
  for (const auto &c : classes) {
    if (c.name == wc->lpszClassName) {
      return 0; // the class already exists
    }
  }
  classes.push_back({wc->lpszClassName, *wc});
  classes.back().wc.lpszClassName = classes.back().name.c_str();
  classes.back().wc.lpszMenuName = nullptr;
  return static_cast<uint16_t>(0xC000 + classes.size());
}

HWND CreateWindowExA(uint32_t exStyle, const char *className, const char *title, uint32_t style,
                     int32_t x, int32_t y, int32_t w, int32_t h, HWND parent, void *menu,
                     HINSTANCE inst, void *param) {
  (void)exStyle; // top-most: a focused full-screen window already stands above the others
  (void)parent;
  (void)menu;
  (void)inst;
  (void)param;
  if (className == nullptr || sdlplat::MainHandle() != nullptr) {
    return nullptr;
  }
  const WNDCLASSA *wc = nullptr;
  for (const auto &c : sdlplat::Classes()) {
    if (c.name == className) {
      wc = &c.wc;
    }
  }
  if (wc == nullptr || w <= 0 || h <= 0 || !sdlplat::EnsureVideo()) {
    return nullptr;
  }
  // A pop-up window covering the screen: borderless full screen at the
  // desktop's own mode; or, when not exclusive, an ordinary window that
  // takes the mode's size once the module sets one. It stays hidden until
  // ShowWindow unless the style asks for a visible window.
  constexpr uint32_t WS_VISIBLE = 0x10000000u;
  uint32_t flags = SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
  if (!sdlplat::exclusive) {
    flags = SDL_WINDOW_RESIZABLE;
    sdlplat::WindowedSize(0, 0, &w, &h);
    x = static_cast<int32_t>(SDL_WINDOWPOS_CENTERED);
    y = static_cast<int32_t>(SDL_WINDOWPOS_CENTERED);
  }
  flags |= (style & WS_VISIBLE) != 0 ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
  SDL_Window *window = SDL_CreateWindow(title != nullptr ? title : "", x, y, w, h, flags);
  if (window == nullptr) {
    std::fprintf(stderr, "vantrel: cannot create the window: %s\n", SDL_GetError());
    return nullptr;
  }
  // A window without a renderer still works; SetDisplayMode tries again.
  sdlplat::CreateRenderer(window);
  sdlplat::theWindow = sdlplat::WindowRecord{};
  sdlplat::theWindow.sdl = window;
  sdlplat::theWindow.proc = wc->lpfnWndProc;
  sdlplat::theWindow.classCursor = wc->hCursor;
  sdlplat::windowCreated = true;
  sdlplat::ResetActivation();
  return sdlplat::HandleOf(&sdlplat::theWindow);
}

int32_t ShowWindow(HWND wnd, int32_t showCmd) {
  sdlplat::WindowRecord *rec = sdlplat::LiveWindow(wnd);
  if (rec == nullptr) {
    return 0;
  }
  const bool wasVisible = (SDL_GetWindowFlags(rec->sdl) & SDL_WINDOW_SHOWN) != 0;
  constexpr int32_t SW_HIDE = 0;
  if (showCmd == SW_HIDE) {
    SDL_HideWindow(rec->sdl);
  } else {
    SDL_ShowWindow(rec->sdl);
  }
  return wasVisible ? 1 : 0;
}

int32_t IsWindow(HWND wnd) { return sdlplat::LiveWindow(wnd) != nullptr ? 1 : 0; }

int32_t UpdateWindow(HWND wnd) {
  // Nothing is painted outside presentation; a live window is up to date.
  return sdlplat::LiveWindow(wnd) != nullptr ? 1 : 0;
}

HWND SetFocus(HWND wnd) {
  SDL_Window *focused = SDL_GetKeyboardFocus();
  HWND previous =
      (focused != nullptr && focused == sdlplat::MainSdlWindow()) ? sdlplat::MainHandle() : nullptr;
  sdlplat::WindowRecord *rec = sdlplat::LiveWindow(wnd);
  if (rec == nullptr) {
    return previous;
  }
  // Input focus can only go to a window on the screen.
  if ((SDL_GetWindowFlags(rec->sdl) & SDL_WINDOW_SHOWN) != 0) {
    SDL_RaiseWindow(rec->sdl);
    SDL_SetWindowInputFocus(rec->sdl);
  }
  return previous;
}

int32_t GetSystemMetrics(int32_t index) {
  if (index != SM_CXSCREEN && index != SM_CYSCREEN) {
    return 0;
  }
  if (!sdlplat::EnsureVideo()) {
    return 0;
  }
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return 0;
  }
  return index == SM_CXSCREEN ? mode.w : mode.h;
}

HICON LoadIconA(HINSTANCE inst, uintptr_t id) {
  (void)inst;
  (void)id;
  return reinterpret_cast<HICON>(&sdlplat::applicationIcon);
}

HCURSOR LoadCursorA(HINSTANCE inst, uintptr_t id) {
  (void)inst;
  (void)id;
  return reinterpret_cast<HCURSOR>(&sdlplat::arrowCursor);
}

HBRUSH GetStockObject(int32_t object) {
  if (object < 0 || object >= 20) {
    return nullptr;
  }
  return reinterpret_cast<HBRUSH>(&sdlplat::stockBrushes[object]);
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = sdlplat::currentCursor;
  sdlplat::currentCursor = cursor;
  // A null cursor hides the pointer; any other shows it.
  const bool hide = cursor == nullptr;
  if (hide != sdlplat::cursorHidden && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_ShowCursor(hide ? SDL_DISABLE : SDL_ENABLE);
    sdlplat::cursorHidden = hide;
  }
  return previous;
}

} // namespace plat
