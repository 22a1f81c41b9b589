/* vantrel_win32.h - the Win32 calls a module may make on every host.
 *
 * Optional: include it instead of <windows.h> when a module ends the run,
 * logs, reads the clock, waits or shows a box the way Windows modules do.
 * On Windows it simply includes <windows.h> and <mmsystem.h> (link winmm
 * for timeGetTime). Elsewhere it declares the calls the desktop host and the
 * replay runner serve, with Windows' meaning; the module resolves them from
 * the host program when it is loaded:
 *
 *   PostQuitMessage(code)   ends the run after the current call; the host
 *                           exits with `code`
 *   OutputDebugStringA(s)   writes s to the debug output (standard error)
 *   timeGetTime()           the millisecond clock, 32 bits, wrapping
 *   GetTickCount()          the same clock
 *   Sleep(ms)               waits ms milliseconds (under replay: not at all)
 *   MessageBoxA(w, t, c, u) a modal box with text t and caption c; answers
 *                           the button pressed (IDOK). On Windows in full
 *                           screen it may be drawn on the hidden back buffer
 *                           (after an odd number of flips) and never be
 *                           seen: use prog->Report(t), for which the host
 *                           flips to the visible surface first, or pass
 *                           MB_TOPMOST and a NULL owner
 *
 * The clock a module reads this way is the time at the start of the call it
 * is in (the host's previous reading plus the elapsed value the call was
 * given), not the time of the reading: a module that takes its time from it
 * sees the same times when its run is replayed. */
#ifndef VANTREL_WIN32_H
#define VANTREL_WIN32_H

#if defined(_WIN32)
#include <windows.h>
/* after windows.h, which it needs */
#include <mmsystem.h>
#else

#include <stdint.h>

typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int BOOL;
typedef void *HWND;
typedef const char *LPCSTR;

#define WINAPI

#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ICONERROR 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONWARNING 0x00000030u
#define MB_ICONINFORMATION 0x00000040u
#define MB_TOPMOST 0x00040000u
#define IDOK 1
#define IDCANCEL 2

#ifdef __cplusplus
extern "C" {
#endif

void PostQuitMessage(int nExitCode);
void OutputDebugStringA(LPCSTR lpOutputString);
DWORD timeGetTime(void);
DWORD GetTickCount(void);
void Sleep(DWORD dwMilliseconds);
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

#ifdef __cplusplus
}
#endif

#endif /* !_WIN32 */
#endif
