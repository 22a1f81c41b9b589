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
 *   Sleep(ms)               waits ms milliseconds (under replay: moves the
 *                           replay's clock on by ms and returns at once)
 *   MessageBoxA(w, t, c, u) a modal box with text t and caption c and the
 *                           buttons of u (MB_OK ... MB_RETRYCANCEL); answers
 *                           the button pressed (IDOK ... IDNO); Escape or
 *                           closing the box answers IDCANCEL where the box
 *                           has a Cancel button (under replay: the default
 *                           button, MB_DEFBUTTONn, answers at once)
 *
 * The clock moves during a call as on Windows: on the desktop it is the real
 * clock; under replay it is the replay's own, moved by the script's elapsed
 * values and by the module's Sleep, so a replay reads the same times on
 * every run. Game time is best taken from the elapsed values the module's
 * procedure is given: those are what a recording replays exactly. */
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
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_ICONERROR 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONWARNING 0x00000030u
#define MB_ICONINFORMATION 0x00000040u
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

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
