// video_startup.cpp - starting SDL's video on the display the session names.
//
// Left to choose, SDL tries its drivers in turn and takes the first that
// starts: when the X server does not take the connection at that moment (it
// is starting, or too busy to answer) SDL passes over it without a word and
// settles on its offscreen driver, which shows nothing and takes no input.
// So the driver is asked for by name: x11 when DISPLAY is set, wayland when
// WAYLAND_DISPLAY is, a few times over about two seconds, and when none
// starts SDL's own reason is printed with the display it could not open.
#include "platform/sdl/backend_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace sdlplat {
namespace {

struct SessionDriver {
  const char *driver;   // SDL's name for it
  const char *variable; // the environment variable that names the display
};

constexpr SessionDriver kSessionDrivers[] = {{"x11", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}};

// Waits between rounds, in milliseconds: about two seconds in all.
constexpr uint32_t kWaits[] = {50, 100, 150, 200, 250, 300, 400, 500};

// SDL's last error with anything unprintable replaced (a failed driver has
// been seen to leave stray bytes in it).
void CopyError(char *out, size_t size) {
  const char *error = SDL_GetError();
  size_t n = 0;
  for (; error != nullptr && error[n] != '\0' && n + 1 < size; ++n) {
    const auto ch = static_cast<unsigned char>(error[n]);
    out[n] = (ch >= 0x20 && ch < 0x7F) ? static_cast<char>(ch) : '?';
  }
  out[n] = '\0';
}

bool IsSet(const char *variable) {
  const char *value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

bool StartDriver(const char *driver, char *error, size_t size) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    return true;
  }
  CopyError(error, size);
  return false;
}

} // namespace

bool EnsureVideo() {
  static bool failed = false; // said once; later calls fail quietly
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    return true;
  }
  if (failed) {
    return false;
  }
  failed = true;
  // SDL's software renderer draws into the window's surface, which SDL would
  // otherwise back with an OpenGL texture: with the software renderer the
  // surface is the display's own (shared memory on X11), so no GL runs.
  const char *renderDriver = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (renderDriver != nullptr && SDL_strcasecmp(renderDriver, "software") == 0) {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  }

  char error[256] = "";
  // A driver named in SDL_VIDEODRIVER (the tests' dummy one, for instance)
  // is the user's choice: started once, as named.
  const char *requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (requested != nullptr && requested[0] != '\0') {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      CopyError(error, sizeof error);
      std::fprintf(stderr, "vantrel: no display: SDL's video driver \"%s\" did not start: %s\n",
                   requested, error);
      return false;
    }
    failed = false;
    return true;
  }

  const SessionDriver *last = nullptr;
  for (size_t round = 0; round <= std::size(kWaits); ++round) {
    for (const SessionDriver &session : kSessionDrivers) {
      if (!IsSet(session.variable)) {
        continue;
      }
      last = &session;
      if (StartDriver(session.driver, error, sizeof error)) {
        failed = false;
        return true;
      }
    }
    if (last == nullptr || round == std::size(kWaits)) {
      break;
    }
    SDL_Delay(kWaits[round]);
  }
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  if (last == nullptr) {
    std::fprintf(stderr, "vantrel: no display: set DISPLAY or WAYLAND_DISPLAY\n");
  } else {
    std::fprintf(stderr, "vantrel: no display: %s=%s could not be opened: %s\n", last->variable,
                 std::getenv(last->variable), error);
  }
  return false;
}

} // namespace sdlplat
