// probe_module.cpp - a game module that writes down what it sees of the host.
//
// The Wine end-to-end test runs the Windows host with this module as its
// prog.dll and compares the record, probe.txt in the current folder, with
// what the module contract promises: the record's values before the first
// event, the event codes and their data during each call, the code the host
// leaves behind after each input message (seen by wrapping the host's window
// procedure), the answers of SetMode and AddImage, the real DirectDraw
// surface behind an image, and the order of the last calls. One line per fact,
// "name value ...", so the harness can compare them with plain text.
//
// Every idle call draws bg.bmp (64 x 64) at 100,100 and key.bmp (32 x 32) at
// 116,116 over it into the back buffer and asks for the frame to be shown, so
// the key colour of key.bmp shows the background through it. (Drawing every
// frame keeps both buffers of the flipping chain alike, and the picture stands
// even when the window is painted over in between.)
#include "vantrel.h"

#include <windows.h>

#include <ddraw.h>

#include <cstdarg>
#include <cstdio>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;
FILE *out = nullptr;
WNDPROC hostProc = nullptr;
bool framesSeen = false;
bool cursorNoted = false;
bool drawn = false; // the first frame was drawn and written down
VImg *background = nullptr;
VImg *keyed = nullptr;

void Note(const char *format, ...) {
  if (out == nullptr) {
    return;
  }
  va_list args;
  va_start(args, format);
  std::vfprintf(out, format, args);
  va_end(args);
  std::fputc('\n', out);
  std::fflush(out);
}

void NoteEvent(const char *when) {
  const VEvent &e = prog->event;
  Note("%s code %d key %u reserved %u aux %d mouse %d %d", when, e.code, e.key, e.reserved, e.aux,
       e.mouseX, e.mouseY);
}

// Input messages are turned into events by the host's window procedure; after
// it returns, the code it leaves in the record is written down.
bool IsInput(UINT message) {
  switch (message) {
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
    return true;
  default:
    return false;
  }
}

LRESULT CALLBACK AfterHost(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT answer = CallWindowProcA(hostProc, wnd, message, wParam, lParam);
  if (IsInput(message) && prog != nullptr) {
    Note("after 0x%04x code %d", message, prog->event.code);
  }
  return answer;
}

void WrapHostWindow() {
  HWND wnd = FindWindowA("Vantrel Engine Beta", "Release 1 pre1");
  Note("window %s", wnd != nullptr ? "found" : "missing");
  if (wnd != nullptr) {
    // The window as start-up made it: a top-most popup over the whole screen,
    // of a class that redraws on resizing and takes no double clicks.
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_EXSTYLE));
    const auto classStyle = static_cast<DWORD>(GetClassLongPtrA(wnd, GCL_STYLE));
    RECT r{};
    GetWindowRect(wnd, &r);
    Note("window popup %d caption %d border %d visible %d topmost %d class style %lu", //
         (style & WS_POPUP) != 0, (style & WS_CAPTION) != 0, (style & WS_BORDER) != 0,
         (style & WS_VISIBLE) != 0, (exStyle & WS_EX_TOPMOST) != 0, classStyle);
    Note("window rect %ld %ld %ld %ld screen %d %d", r.left, r.top, r.right, r.bottom,
         GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    hostProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfterHost)));
  }
}

// The number of message boxes open right now in this process.
BOOL CALLBACK CountBox(HWND wnd, LPARAM count) {
  char cls[16] = {};
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  GetClassNameA(wnd, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(wnd) && lstrcmpA(cls, "#32770") == 0) {
    ++*reinterpret_cast<int *>(count);
  }
  return TRUE;
}

int OpenBoxes() {
  int count = 0;
  EnumWindows(CountBox, reinterpret_cast<LPARAM>(&count));
  return count;
}

void NoteImage(const char *label, const VImg *img) {
  if (img == nullptr) {
    Note("image %s null", label);
    return;
  }
  const VSurf *s = img->surf;
  Note("image %s state %d flag %d surface %s size %d %d", label, img->state, img->loadFlag,
       s != nullptr && s->surface != nullptr ? "set" : "null", s != nullptr ? s->width : -1,
       s != nullptr ? s->height : -1);
  if (s == nullptr || s->surface == nullptr) {
    return;
  }
  // The surface is the real DirectDraw surface: ask it about itself.
  auto *surface = static_cast<IDirectDrawSurface4 *>(s->surface);
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  const HRESULT hr = surface->GetSurfaceDesc(&desc);
  Note("surface %s desc %s %lu %lu bpp %lu key %s", label, hr == DD_OK ? "ok" : "failed",
       desc.dwWidth, desc.dwHeight, desc.ddpfPixelFormat.dwRGBBitCount,
       (desc.dwFlags & DDSD_CKSRCBLT) != 0 ? "set" : "none");
}

void SetUp() {
  Note("setmode 640 480 16 -> %d", prog->SetMode(640, 480, 16));
  Note("setmode 641 479 16 -> %d", prog->SetMode(641, 479, 16));
  VImg *head = prog->AddImage("missing_head.bmp", IMG_LOAD);
  Note("addimage missing_head.bmp -> %s", head != nullptr ? "image" : "null");
  NoteImage("ihead", prog->ihead);
  background = prog->AddImage("bg.bmp", IMG_LOAD);
  NoteImage("bg", background);
  keyed = prog->AddImage("key.bmp", IMG_LOAD);
  NoteImage("key", keyed);
  VImg *later = prog->AddImage("missing_later.bmp", IMG_LOAD);
  Note("addimage missing_later.bmp -> %s", later != nullptr ? "image" : "null");
  int count = 0;
  for (const VImg *i = prog->ihead; i != nullptr; i = i->next) {
    ++count;
  }
  Note("images %d", count);
}

void DrawFrame() {
  if (background == nullptr || keyed == nullptr) {
    return;
  }
  VSprite bg(background, 0, 0, 64, 64, 100, 100, 64, 64, SPR_SHOWN);
  VSprite key(keyed, 0, 0, 32, 32, 116, 116, 32, 32, SPR_SHOWN);
  const int32_t bgAnswer = prog->DrawSprite(&bg);
  const int32_t keyAnswer = prog->DrawSprite(&key);
  if (!drawn) {
    drawn = true;
    Note("drawsprite bg -> %d", bgAnswer);
    Note("drawsprite key -> %d", keyAnswer);
    Note("frame drawn");
  }
}

} // namespace

extern "C" int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  out = std::fopen("probe.txt", "w");
  prog = record;
  Note("interface record %s size %u", record != nullptr ? "set" : "null",
       static_cast<unsigned>(sizeof(VProg)));
  if (record == nullptr) {
    return 0;
  }
  NoteEvent("before");
  Note("slots %s", record->SetMode != nullptr && record->DrawMap != nullptr &&
                           record->AddImage != nullptr && record->DrawSprite != nullptr &&
                           record->Report != nullptr
                       ? "filled"
                       : "missing");
  WrapHostWindow();
  return 1;
}

extern "C" int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  if (prog == nullptr) {
    return 0;
  }
  switch (prog->event.code) {
  case EV_INIT:
    Note("call init ms %d", elapsedMs);
    NoteEvent("during");
    SetUp();
    return 1; // ignored by the host: the initial call draws nothing
  case EV_FRAME:
    if (!framesSeen) {
      framesSeen = true;
      Note("call frame");
    }
    DrawFrame();
    return 1;
  case EV_SHUTDOWN:
    Note("call shutdown ms %d boxes %d", elapsedMs, OpenBoxes());
    return 1;
  default:
    NoteEvent("event");
    if (prog->event.code == EV_MOUSEMOVE && !cursorNoted) {
      // The host answers WM_SETCURSOR with no cursor: none over its window.
      cursorNoted = true;
      Note("cursor %s", GetCursor() == nullptr ? "hidden" : "shown");
    }
    return 0;
  }
}
