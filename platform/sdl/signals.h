// signals.h - Ctrl+C and kill on the desktop: the run ends as a quit does
// (the module hears EV_SHUTDOWN, boxes go to standard error only), then the
// process ends by the signal; a second signal ends it at once.
#ifndef VANTREL_PLATFORM_SDL_SIGNALS_H
#define VANTREL_PLATFORM_SDL_SIGNALS_H

namespace sdlplat {

// Tells SDL to leave SIGINT and SIGTERM alone, starts the one thread that
// waits for them and hands both to it. Neither is blocked: the processes
// the host starts get the normal signal mask. First thing in main, before
// SDL starts any thread of its own.
void WatchSignals();

// Whether a box is open; once the run is ending by a signal, an open box's
// helper process is sent the signal too, so the box cannot hold the run.
void NoteBoxOpen(bool open);

// The signal that asked the run to end, or 0.
int EndingSignal();

// Posts the quit message once after a signal arrived; called whenever the
// queue looks for events. Answers whether the run is ending by a signal.
bool QuitOnSignal();

// Ends the process by `sig`'s default action: restored, unblocked, raised.
[[noreturn]] void EndBySignal(int sig);

} // namespace sdlplat

#endif
