/* vantrel_win32.h - the Win32 calls a module may make on every host.
 *
 * Optional: include it instead of <windows.h> when a module ends the run,
 * logs, reads the clock, waits or shows a box the way Windows modules do.
 * On Windows it simply includes <windows.h> and <mmsystem.h> (link winmm
 * for timeGetTime and PlaySoundA). Elsewhere it declares the calls the desktop host and the
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
 *                           button, MB_DEFBUTTONn, answers at once). On
 *                           Windows in exclusive full screen it may be drawn
 *                           on the hidden back buffer (after an odd number
 *                           of flips) and never be seen: use prog->Report(t),
 *                           for which the host flips to the visible surface
 *                           first, or pass MB_TOPMOST and a NULL owner (in a
 *                           window or borderless every box is seen)
 *   GetAsyncKeyState(vk)    0x8000 while the key is down, bit 0 when it was
 *                           pressed since the previous query of that key
 *   GetKeyState(vk)         0x8000 while the key is down, bit 0 its toggle
 *                           (flipped by every press); the mouse buttons are
 *                           VK_LBUTTON and VK_RBUTTON
 *   PlaySoundA(s, 0, f)     plays the WAV file (SND_FILENAME) or WAV image
 *                           in memory (SND_MEMORY) s, one sound at a time;
 *                           PlaySoundA(NULL, 0, 0) stops it. Answers TRUE,
 *                           or FALSE for a missing or broken file, a sound
 *                           refused by SND_NOSTOP, or no audio device
 *   sndPlaySoundA(s, f)     the same, for a file name or SND_MEMORY image
 *   GetActiveWindow()       the host's window
 *   SetWindowTextA(w, s)    the window's title (shown when it runs in a window)
 *
 * The key states are the host's own table, kept by the key and button events
 * the module receives: under vantrel-replay the script drives them.
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
typedef void *HMODULE;
typedef short SHORT;
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
#define MB_TOPMOST 0x00040000u
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

/* PlaySoundA and sndPlaySoundA flags. */
#define SND_SYNC 0x00000000u      /* return when the sound has played */
#define SND_ASYNC 0x00000001u     /* return at once; the sound plays on */
#define SND_NODEFAULT 0x00000002u /* no default sound (this host has none) */
#define SND_MEMORY 0x00000004u    /* the name points to a WAV image in memory */
#define SND_LOOP 0x00000008u      /* again and again until stopped; with SND_ASYNC */
#define SND_NOSTOP 0x00000010u    /* FALSE, and no sound, while one plays */
#define SND_PURGE 0x00000040u     /* stop the sound (of this name) */
#define SND_NOWAIT 0x00002000u
#define SND_ALIAS 0x00010000u    /* a system sound's name: none on this host */
#define SND_FILENAME 0x00020000u /* the name is a file name */
#define SND_RESOURCE 0x00040004u /* a resource of the module: none on this host */

/* Virtual keys for the key-state calls (letters and digits are their
   upper-case characters, 'A' and '0'). */
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_NUMPAD0 0x60
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_F1 0x70

#ifdef __cplusplus
extern "C" {
#endif

void PostQuitMessage(int nExitCode);
void OutputDebugStringA(LPCSTR lpOutputString);
DWORD timeGetTime(void);
DWORD GetTickCount(void);
void Sleep(DWORD dwMilliseconds);
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
SHORT GetAsyncKeyState(int vKey);
SHORT GetKeyState(int nVirtKey);
BOOL PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
BOOL sndPlaySoundA(LPCSTR lpszSound, UINT fuSound);
HWND GetActiveWindow(void);
BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);

#ifdef __cplusplus
}
#endif

#endif /* !_WIN32 */
#endif
