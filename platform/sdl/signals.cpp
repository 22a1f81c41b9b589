// signals.cpp - SIGINT and SIGTERM waited for on a thread of their own.
//
// SDL would turn them into a quit request, which looks like a close request
// and ends on the modal DESTROY! box: a terminal's Ctrl+C or a service
// manager's kill would then wait for ever. Instead both signals are blocked
// everywhere and one thread takes them with sigwait: the first marks the run
// as ending and wakes the message queue, which posts the quit message; the
// second restores the default action and raises it at once, whatever the
// main thread is doing (a box, a module call that never returns).
#include "platform/sdl/signals.h"

#include "platform/platform.h"

#include <SDL.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <thread>

namespace sdlplat {
namespace {

std::atomic<int> ending{0};
std::atomic<bool> watching{false};
bool quitPosted = false;

sigset_t Watched() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

const char *SignalName(int sig) { return sig == SIGINT ? "SIGINT" : "SIGTERM"; }

void Watch() {
  const sigset_t set = Watched();
  int sig = 0;
  watching.store(true);
  if (sigwait(&set, &sig) != 0) {
    return;
  }
  ending.store(sig);
  std::fprintf(stderr, "vantrel: %s received: ending the run (a second one ends it at once)\n",
               SignalName(sig));
  std::fflush(stderr);
  // Wakes a queue asleep in SDL; SDL_PushEvent may be called from any thread.
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
  }
  int again = 0;
  if (sigwait(&set, &again) != 0) {
    return;
  }
  EndBySignal(again);
}

} // namespace

void WatchSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const sigset_t set = Watched();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(Watch).detach();
  // SDL shows a box from a forked child. A fork taken while the new thread is
  // still starting (and may hold the allocator's lock) leaves the child
  // waiting for ever on that lock: the box, and the host, would hang. So the
  // host goes on only once the watcher is about to wait.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!watching.load() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
}

int EndingSignal() { return ending.load(); }

bool QuitOnSignal() {
  const int sig = ending.load();
  if (sig == 0) {
    return false;
  }
  if (!quitPosted) {
    quitPosted = true;
    plat::PostQuitMessage(0);
  }
  return true;
}

void EndBySignal(int sig) {
  std::fflush(stderr);
  std::signal(sig, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, sig);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(sig);
  std::_Exit(128 + sig); // not reached: the default action ends the process
}

} // namespace sdlplat
