// signals.cpp - SIGINT and SIGTERM handed to a thread of their own.
//
// SDL would turn them into a quit request, which looks like a close request
// and ends on the modal DESTROY! box: a terminal's Ctrl+C or a service
// manager's kill would then wait for ever. Instead a handler passes each
// signal through a pipe to one watcher thread: the first marks the run as
// ending and wakes the message queue, which posts the quit message; the
// second restores the default action and raises it at once, whatever the
// main thread is doing (a box, a module call that never returns).
//
// Neither signal is blocked, so the processes the host starts (a module's
// system(), SDL's box helper) get the normal signal mask; a forked child
// that does not run a new program gets the default actions back, so the
// host's handler never runs in it. While a box is open when the run is
// ending, the box's helper process is sent the signal too: the box goes,
// and the run ends without anybody at the screen.
#include "platform/sdl/signals.h"

#include "platform/platform.h"

#include <SDL.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace sdlplat {
namespace {

std::atomic<int> ending{0};
std::atomic<bool> watching{false};
std::atomic<bool> boxOpen{false};
bool quitPosted = false;
int signalPipe[2] = {-1, -1};

constexpr int kWatched[] = {SIGINT, SIGTERM};

const char *SignalName(int sig) { return sig == SIGINT ? "SIGINT" : "SIGTERM"; }

void OnSignal(int sig) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(sig);
  [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
  errno = saved;
}

// In a forked child: the default actions, as a new program would have.
void DefaultsInChild() {
  for (const int sig : kWatched) {
    std::signal(sig, SIG_DFL);
  }
}

// The next signal through the pipe; 0 when none came within `timeoutMs`
// (-1: wait for ever).
int NextSignal(int timeoutMs) {
  pollfd fd{signalPipe[0], POLLIN, 0};
  for (;;) {
    const int ready = poll(&fd, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      return 0;
    }
    unsigned char byte = 0;
    const ssize_t n = read(signalPipe[0], &byte, 1);
    if (n == 1) {
      return byte;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    return 0;
  }
}

// Sends `sig` to every child process of the host (the box's helper).
void SignalChildren(int sig) {
  DIR *proc = opendir("/proc");
  if (proc == nullptr) {
    return;
  }
  const pid_t self = getpid();
  while (const dirent *entry = readdir(proc)) {
    char *end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') {
      continue;
    }
    const std::string path = std::string("/proc/") + entry->d_name + "/stat";
    std::FILE *stat = std::fopen(path.c_str(), "r");
    if (stat == nullptr) {
      continue;
    }
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    // "pid (name) state ppid ...": the name may hold anything but ends at
    // the last parenthesis.
    const char *close = read ? std::strrchr(line, ')') : nullptr;
    char state = 0;
    long parent = 0;
    if (close != nullptr && std::sscanf(close + 1, " %c %ld", &state, &parent) == 2 &&
        parent == self) {
      kill(static_cast<pid_t>(pid), sig);
    }
  }
  closedir(proc);
}

void Watch() {
  watching.store(true);
  const int sig = NextSignal(-1);
  if (sig == 0) {
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
  for (;;) {
    const int again = NextSignal(100);
    if (again != 0) {
      EndBySignal(again);
    }
    if (boxOpen.load()) {
      SignalChildren(sig);
    }
  }
}

} // namespace

void WatchSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (pipe2(signalPipe, O_CLOEXEC) != 0) {
    std::fprintf(stderr, "vantrel: cannot watch for signals: %s\n", std::strerror(errno));
    return;
  }
  pthread_atfork(nullptr, nullptr, DefaultsInChild);
  std::thread(Watch).detach();
  // SDL shows a box from a forked child. A fork taken while the new thread is
  // still starting (and may hold the allocator's lock) leaves the child
  // waiting for ever on that lock: the box, and the host, would hang. So the
  // host goes on only once the watcher is about to wait.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!watching.load() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (const int sig : kWatched) {
    sigaction(sig, &action, nullptr);
  }
}

int EndingSignal() { return ending.load(); }

void NoteBoxOpen(bool open) { boxOpen.store(open); }

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
