// platform.h - the seam between the host core and the platform it runs on.
//
// The core (host/, module/, display/, images/, render/) reaches the platform
// only through the functions declared here. Each one stands for the platform
// call of the same name and takes the platform's own numbers: message numbers,
// virtual-key codes, flags and DirectDraw result codes. One backend per folder
// defines them, chosen at link time:
//   platform/win32/  thin wrappers over the real Win32 and DirectDraw API
//   platform/sdl/    an SDL2 window and message queue over platform/soft/
//   tests/double/    the test double: scripted queue, call log, soft surfaces
// The records below mirror the platform's own (DDSURFACEDESC2, DDSCAPS2,
// DDCOLORKEY, BITMAP, RECT, MSG, WNDCLASSA); on 32-bit Windows they have the
// real records' byte layout, and the win32 backend passes them straight on.
#ifndef VANTREL_PLATFORM_H
#define VANTREL_PLATFORM_H

#include <cstdint>

namespace plat {

// ---------------------------------------------------------------------------
// Handles. Opaque to the core; each backend gives them their real meaning
// (an HWND, an IDirectDrawSurface4*, a soft device surface, ...).
// ---------------------------------------------------------------------------
struct Window_;
struct Instance_;
struct Icon_;
struct Cursor_;
struct Brush_;
struct Module_;
struct DC_;
struct Bitmap_;
struct DirectDraw_;
struct DirectDraw4_;
struct Surface_;
using HWND = Window_ *;
using HINSTANCE = Instance_ *;
using HICON = Icon_ *;
using HCURSOR = Cursor_ *;
using HBRUSH = Brush_ *;
using HMODULE = Module_ *;
using HDC = DC_ *;
using HBITMAP = Bitmap_ *;
using DirectDraw = DirectDraw_ *;   // IDirectDraw*
using DirectDraw4 = DirectDraw4_ *; // IDirectDraw4*
using Surface = Surface_ *;         // IDirectDrawSurface4*

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HRESULT = uint32_t; // compared with the DD_ / DDERR_ values below
using WNDPROC = LRESULT (*)(HWND, uint32_t, WPARAM, LPARAM);
using FARPROC = void (*)();

// ---------------------------------------------------------------------------
// Numbers of the platform
// ---------------------------------------------------------------------------
// Window messages.
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

constexpr uint32_t VK_ESCAPE = 0x1B;

// Window class and window.
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int BLACK_BRUSH = 4;
constexpr uintptr_t IDI_APPLICATION = 32512;
constexpr uintptr_t IDC_ARROW = 32512;
constexpr uint32_t PM_NOREMOVE = 0x0000;
constexpr uint32_t PM_REMOVE = 0x0001;
constexpr uint32_t MB_OK = 0x00000000u;
constexpr uint32_t QS_ALLINPUT = 0x04FFu;
constexpr uint32_t WAIT_OBJECT_0 = 0;
constexpr uint32_t WAIT_TIMEOUT = 258;

// Multimedia timer and power requests.
constexpr uint32_t TIMERR_NOERROR = 0;
constexpr uint32_t TIMERR_NOCANDO = 97;
constexpr uint32_t ES_SYSTEM_REQUIRED = 0x00000001u;
constexpr uint32_t ES_DISPLAY_REQUIRED = 0x00000002u;
constexpr uint32_t ES_CONTINUOUS = 0x80000000u;

// GDI and images.
constexpr uint32_t IMAGE_BITMAP = 0;
constexpr uint32_t LR_LOADFROMFILE = 0x0010;
constexpr uint32_t LR_CREATEDIBSECTION = 0x2000;
constexpr uint32_t SRCCOPY = 0x00CC0020u;

// DirectDraw results.
constexpr HRESULT DD_OK = 0;
constexpr HRESULT E_NOTIMPL = 0x80004001u;
constexpr HRESULT E_FAIL = 0x80004005u;
constexpr HRESULT DDERR_INVALIDPARAMS = 0x80070057u;
constexpr HRESULT DDERR_OUTOFMEMORY = 0x8007000Eu;
constexpr HRESULT DDERR_INVALIDRECT = 0x88760096u;
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = 0x88760091u;
constexpr HRESULT DDERR_INVALIDMODE = 0x88760078u;
constexpr HRESULT DDERR_UNSUPPORTED = 0x80004001u;
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = 0x887600D4u;
constexpr HRESULT DDERR_SURFACEBUSY = 0x887601AEu;
constexpr HRESULT DDERR_SURFACELOST = 0x887601C2u;
constexpr HRESULT DDERR_NOTLOCKED = 0x88760248u;
constexpr HRESULT DDERR_WASSTILLDRAWING = 0x8876021Cu;
constexpr HRESULT DDERR_NOTFOUND = 0x887600FFu;
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = 0x88760234u;
// The cooperative level (TestCooperativeLevel): another program holds the
// display, or the display mode was changed under the application.
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = 0x887600E1u;
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = 0x88760245u;
constexpr HRESULT DDERR_WRONGMODE = 0x8876024Bu;

// DirectDraw flags.
constexpr uint32_t DDSCL_FULLSCREEN = 0x00000001u;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x00000010u;
constexpr uint32_t DDSD_CAPS = 0x00000001u;
constexpr uint32_t DDSD_HEIGHT = 0x00000002u;
constexpr uint32_t DDSD_WIDTH = 0x00000004u;
constexpr uint32_t DDSD_PITCH = 0x00000008u;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x00000020u;
constexpr uint32_t DDSD_LPSURFACE = 0x00000800u;
constexpr uint32_t DDSD_PIXELFORMAT = 0x00001000u;
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x00000004u;
constexpr uint32_t DDSCAPS_COMPLEX = 0x00000008u;
constexpr uint32_t DDSCAPS_FLIP = 0x00000010u;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x00000020u;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x00000040u;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x00000200u;
constexpr uint32_t DDPF_PALETTEINDEXED8 = 0x00000020u;
constexpr uint32_t DDPF_RGB = 0x00000040u;
constexpr uint32_t DDLOCK_WAIT = 0x00000001u;
constexpr uint32_t DDLOCK_READONLY = 0x00000010u;
constexpr uint32_t DDCKEY_SRCBLT = 0x00000008u;
constexpr uint32_t DDBLTFAST_SRCCOLORKEY = 0x00000001u;
constexpr uint32_t DDBLTFAST_WAIT = 0x00000010u;
constexpr uint32_t DDBLT_KEYSRC = 0x00008000u;
constexpr uint32_t DDBLT_WAIT = 0x01000000u;

// ---------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------
struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;  // exclusive
  int32_t bottom; // exclusive
};

struct POINT {
  int32_t x;
  int32_t y;
};

struct MSG {
  HWND hwnd;
  uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
  uint32_t time;
  POINT pt;
};

struct WNDCLASSA {
  uint32_t style;
  WNDPROC lpfnWndProc;
  int32_t cbClsExtra;
  int32_t cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  const char *lpszMenuName;
  const char *lpszClassName;
};

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

// {9C59509A-39BD-11D1-8C4A-00C04FD930C5}
constexpr GUID IID_IDirectDraw4 = {
    0x9C59509A, 0x39BD, 0x11D1, {0x8C, 0x4A, 0x00, 0xC0, 0x4F, 0xD9, 0x30, 0xC5}};

struct DDCOLORKEY {
  uint32_t dwColorSpaceLowValue;
  uint32_t dwColorSpaceHighValue;
};

struct DDPIXELFORMAT { // 32 bytes
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwFourCC;
  uint32_t dwRGBBitCount;
  uint32_t dwRBitMask;
  uint32_t dwGBitMask;
  uint32_t dwBBitMask;
  uint32_t dwRGBAlphaBitMask;
};

struct DDSCAPS2 { // 16 bytes
  uint32_t dwCaps;
  uint32_t dwCaps2;
  uint32_t dwCaps3;
  uint32_t dwCaps4;
};

struct DDSURFACEDESC2 { // 124 bytes on the 32-bit build
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwHeight;
  uint32_t dwWidth;
  int32_t lPitch;
  uint32_t dwBackBufferCount;
  uint32_t dwRefreshRate;
  uint32_t dwAlphaBitDepth;
  uint32_t dwReserved;
  void *lpSurface;
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS2 ddsCaps;
  uint32_t dwTextureStage;
};

struct BITMAP { // 24 bytes on the 32-bit build
  int32_t bmType;
  int32_t bmWidth;
  int32_t bmHeight;
  int32_t bmWidthBytes;
  uint16_t bmPlanes;
  uint16_t bmBitsPixel;
  void *bmBits;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(DDSURFACEDESC2) == 124, "DDSURFACEDESC2 is 124 bytes");
static_assert(sizeof(BITMAP) == 24, "BITMAP is 24 bytes");
#endif

// ---------------------------------------------------------------------------
// Win32 USER, GDI and KERNEL
// ---------------------------------------------------------------------------
uint16_t RegisterClassA(const WNDCLASSA *wc);
HWND CreateWindowExA(uint32_t exStyle, const char *className, const char *title, uint32_t style,
                     int32_t x, int32_t y, int32_t w, int32_t h, HWND parent, void *menu,
                     HINSTANCE inst, void *param);
int32_t ShowWindow(HWND wnd, int32_t showCmd);
int32_t UpdateWindow(HWND wnd);
HWND SetFocus(HWND wnd);
int32_t GetSystemMetrics(int32_t index);
HICON LoadIconA(HINSTANCE inst, uintptr_t id);
HCURSOR LoadCursorA(HINSTANCE inst, uintptr_t id);
HBRUSH GetStockObject(int32_t object);

int32_t PeekMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last, uint32_t remove);
int32_t GetMessageA(MSG *msg, HWND wnd, uint32_t first, uint32_t last);
int32_t TranslateMessage(const MSG *msg);
LRESULT DispatchMessageA(const MSG *msg);
int32_t WaitMessage();
// Waits until a message of `wakeMask` arrives or `ms` pass; the host passes no
// handles. Answers WAIT_OBJECT_0 + count when a message waits, WAIT_TIMEOUT
// when the time ran out.
uint32_t MsgWaitForMultipleObjects(uint32_t count, void *const *handles, int32_t waitAll,
                                   uint32_t ms, uint32_t wakeMask);
LRESULT DefWindowProcA(HWND wnd, uint32_t message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int32_t exitCode);
HCURSOR SetCursor(HCURSOR cursor);
int32_t MessageBoxA(HWND owner, const char *text, const char *caption, uint32_t type);
int32_t IsWindow(HWND wnd); // non-zero while `wnd` names an existing window

uint32_t timeGetTime();
// The clock's and the scheduler's resolution in milliseconds, asked for and
// given back in pairs (TIMERR_NOERROR, or TIMERR_NOCANDO).
uint32_t timeBeginPeriod(uint32_t ms);
uint32_t timeEndPeriod(uint32_t ms);
// Keeps the display and the system awake while ES_CONTINUOUS with the
// ..._REQUIRED flags is in force; ES_CONTINUOUS alone lets them sleep again.
// Answers the previous state (0 on failure).
uint32_t SetThreadExecutionState(uint32_t flags);

HMODULE LoadLibraryA(const char *name);
FARPROC GetProcAddress(HMODULE module, const char *name);
HINSTANCE GetModuleHandleA(const char *name);
void OutputDebugStringA(const char *text);

void *LoadImageA(HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags);
int32_t GetObjectA(void *object, int32_t size, void *out);
HDC CreateCompatibleDC(HDC dc);
void *SelectObject(HDC dc, void *object);
int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
               uint32_t rop);
int32_t DeleteDC(HDC dc);
int32_t DeleteObject(void *object);

// ---------------------------------------------------------------------------
// DirectDraw
// ---------------------------------------------------------------------------
HRESULT DirectDrawCreate(const GUID *driver, DirectDraw *out, void *outer);
HRESULT QueryInterface(DirectDraw dd, const GUID *iid, DirectDraw4 *out);
HRESULT SetCooperativeLevel(DirectDraw4 dd, HWND wnd, uint32_t flags);
// IDirectDraw4::TestCooperativeLevel: DD_OK while the display is the
// application's; DDERR_NOEXCLUSIVEMODE while another program holds it;
// DDERR_WRONGMODE when it is back but its display mode was changed.
HRESULT TestCooperativeLevel(DirectDraw4 dd);
HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags);
HRESULT CreateSurface(DirectDraw4 dd, DDSURFACEDESC2 *desc, Surface *out, void *outer);
uint32_t ReleaseSurface(Surface s); // IDirectDrawSurface4::Release
// Makes the surface GDI draws on (the one visible when the mode was set) the
// visible one again, so that a message box can be seen in full screen.
HRESULT FlipToGDISurface(DirectDraw4 dd);

HRESULT GetAttachedSurface(Surface s, DDSCAPS2 *caps, Surface *out);
HRESULT Flip(Surface s, Surface target, uint32_t flags);
HRESULT Restore(Surface s);
HRESULT IsLost(Surface s);                  // DD_OK, or DDERR_SURFACELOST
HRESULT RestoreAllSurfaces(DirectDraw4 dd); // IDirectDraw4::RestoreAllSurfaces
HRESULT GetDC(Surface s, HDC *out);
HRESULT ReleaseDC(Surface s, HDC dc);
HRESULT Lock(Surface s, RECT *rect, DDSURFACEDESC2 *desc, uint32_t flags, void *event);
HRESULT Unlock(Surface s, RECT *rect);
HRESULT SetColorKey(Surface s, uint32_t flags, DDCOLORKEY *key);
HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags);
HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx);

} // namespace plat

#endif // VANTREL_PLATFORM_H
