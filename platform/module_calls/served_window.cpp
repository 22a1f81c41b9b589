// served_window.cpp - GetActiveWindow and SetWindowTextA, served with C
// names (exports.list) on the host's one window.
#include "platform/module_calls/window_title.h"

#include "host/host_state.h"
#include "platform/platform.h"
#include "vantrel_win32.h"

namespace modulecalls {
namespace {

TitleShower shower = nullptr;
std::string title;

// The host's window while it exists.
plat::HWND LiveMainWindow() {
  const plat::HWND wnd = vantrel::mainWindow;
  return wnd != nullptr && plat::IsWindow(wnd) != 0 ? wnd : nullptr;
}

} // namespace

void SetTitleShower(TitleShower next) {
  shower = next;
  if (shower != nullptr && !title.empty()) {
    shower(title.c_str());
  }
}

const std::string &WindowTitle() { return title; }

void ResetWindowTitle() {
  shower = nullptr;
  title.clear();
}

} // namespace modulecalls

extern "C" {

// The host has one window, which is the module's only window: it is the one
// answered while it exists, whether or not it has the focus right now.
HWND GetActiveWindow(void) { return modulecalls::LiveMainWindow(); }

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  const plat::HWND wnd = modulecalls::LiveMainWindow();
  if (wnd == nullptr || static_cast<plat::HWND>(hWnd) != wnd) {
    return FALSE;
  }
  modulecalls::title = lpString != nullptr ? lpString : "";
  if (modulecalls::shower != nullptr) {
    modulecalls::shower(modulecalls::title.c_str());
  }
  return TRUE;
}

} // extern "C"
