// test_double.h - the platform as the tests see it.
//
// Defines every function of platform.h (namespace plat). DirectDraw and the
// bitmap calls run on the software display device (platform/soft), so tests
// check pixels as well as calls. On top of that the double:
//  - logs every platform call with its arguments, in order;
//  - answers any call from a script when one is queued for it;
//  - keeps a message queue that tests fill, with PostQuitMessage, WM_QUIT and
//    sent messages (DispatchMessageA calls the registered window procedure);
//  - records message boxes (owner, text, caption, flags) and answers them at
//    once (IDOK), running an optional hook while "the box is open";
//  - has a settable clock for timeGetTime;
//  - loads modules from a registry of in-process fake modules, or from a
//    folder given by the test (real shared libraries).
#ifndef VANTREL_TESTS_DOUBLE_TEST_DOUBLE_H
#define VANTREL_TESTS_DOUBLE_TEST_DOUBLE_H

#include "platform/platform.h"
#include "vantrel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace td {

// One logged platform call: its name (the platform name, e.g. "BltFast"),
// its integer-like arguments in order (handles as their addresses, rectangles
// flattened as four values, a null rectangle as the single value 0), and its
// text arguments.
struct Call {
  std::string name;
  std::vector<int64_t> args;
  std::vector<std::string> texts;
};

struct Box {
  plat::HWND owner;
  std::string text;
  std::string caption;
  uint32_t type;
};

// Back to a fresh platform: empty log, queue, scripts and boxes, clock 0, a
// fresh soft device, no modules. Also resets the host core's state.
void Reset();

const std::vector<Call> &Log();
std::vector<Call> CallsNamed(const std::string &name);
int CountCalls(const std::string &name);
void ClearLog();
// The names of the logged calls in order, optionally only those in `only`.
std::vector<std::string> CallNames(const std::vector<std::string> &only = {});

// Runs `hook` each time a call of `name` is logged, before the call does its
// work (for instance to let time pass during a Flip). One hook per name.
void OnCall(const std::string &name, std::function<void(const Call &)> hook);

// The next `answers.size()` calls of `name` answer these values (HRESULTs,
// BOOLs, or 0 for a null handle) instead of doing their work; later calls
// work as usual. For calls that hand out an object through an out-parameter
// (DirectDrawCreate, QueryInterface, CreateSurface, GetAttachedSurface,
// GetDC) a scripted answer writes null there.
void Script(const std::string &name, std::vector<uint64_t> answers);
// CreateSurface answering DD_OK but delivering no surface (next n calls).
void ScriptCreateSurfaceWithoutSurface(int n = 1);
// How many scripted answers calls of `name` were given since the last Reset
// (those of ScriptCreateSurfaceWithoutSurface count for CreateSurface).
int ScriptedAnswersGiven(const std::string &name);

// Message queue. Keyboard and mouse messages count as input, every other
// message as posted; fetches take posted messages first, then the quit
// message PostQuitMessage asked for (a flag, as on the platform), then input.
void Post(uint32_t message, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0);
size_t QueueSize();
// GetMessageA on an empty queue waits as WaitMessage does. DefWindowProcA
// destroys the window on WM_CLOSE, which sends WM_DESTROY.
// Called by WaitMessage when the queue is empty; it may Post. When it posts
// nothing, WaitMessage posts WM_QUIT with exit code 0x7E57 so a test never hangs.
void OnWait(std::function<void()> hook);
// MsgWaitForMultipleObjects runs the same hook when nothing waits; if the
// hook posts nothing the wait times out (WAIT_TIMEOUT). After 1000 timeouts
// in a row WM_QUIT with exit code 0x7E57 is posted.
// Idle turns never wait, so a test that lets the loop run active ends it
// here: after n more PeekMessageA calls that find the queue empty,
// WM_QUIT with `code` is posted.
void QuitAfterPeeks(int n, int32_t code = 0);

// Like the platform, ShowWindow activates the application: it sends
// WM_ACTIVATEAPP with wParam 1 to the window procedure. Off for the tests that
// need an application that never becomes active.
void ActivateOnShow(bool on);
// Sends a message straight to the window procedure (as SendMessageA would)
// and answers its result; 0 when no window procedure is registered.
plat::LRESULT Send(uint32_t message, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0);

// Message boxes.
const std::vector<Box> &Boxes();
// Runs inside MessageBoxA, before it answers.
void OnBox(std::function<void(const Box &)> hook);

// Clock. Each timeGetTime call answers Now() and then advances by `step`.
void SetClock(uint32_t ms);
void AdvanceClock(uint32_t ms);
uint32_t Now();
void SetClockStep(uint32_t step);

// Timer periods begun with timeBeginPeriod and not yet ended, in order, and
// the state SetThreadExecutionState last set (ES_CONTINUOUS at the start).
std::vector<uint32_t> OpenTimerPeriods();
uint32_t ExecutionState();

// Screen size answered by GetSystemMetrics (default 1024 x 768).
void SetScreen(int32_t w, int32_t h);

// Modules. A fake module registered under `name` is what LoadLibraryA(name)
// loads; either entry may be null (missing export).
void RegisterModule(const std::string &name, VProgInterfaceFn iface, VProgProcedureFn proc);
// Real shared libraries: LoadLibraryA(name) dlopens `folder/name`.
void SetModuleFolder(const std::string &folder);

// The window procedure registered with RegisterClassA, and the window.
plat::WNDPROC WindowProcedure();
plat::HWND MainWindow();

// Debugger output written through OutputDebugStringA.
const std::string &DebugOutput();

} // namespace td

#endif
