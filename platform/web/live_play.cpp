// live_play.cpp - the page as the host's input, screen and boxes.
//
// The headless backend's queue asks the input source for a step whenever it
// runs dry. Here that step is the page's next event, or an idle turn whose
// elapsed time is the real time since the previous step, so the virtual
// clock follows the page's clock. The program gives the browser its turn
// after every frame it shows (waiting for the next animation frame), after
// a slice of idle turns that drew nothing, and, while the page has lost the
// focus, until the page has an event.
#include "platform/web/web.h"

#include "host/startup.h"
#include "platform/headless/headless.h"
#include "platform/module_calls/module_calls.h"
#include "platform/module_calls/sound_player.h"
#include "platform/module_calls/window_title.h"
#include "platform/soft/soft_device.h"
#include "platform/web/canvas_frame.h"
#include "platform/web/page_bridge.h"
#include "platform/web/page_input.h"
#include "platform/web/page_sound.h"

namespace web {
namespace {

// The longest the program runs without giving the browser a turn.
constexpr double kSliceMs = 12.0;

struct Live {
  InputState input;
  double lastStepAt = 0;                              // when the last step was taken (page clock)
  uint32_t clockMs = 0;                               // whole milliseconds handed out so far
  double startedAt = 0;                               // the page clock at the first step
  double sliceStart = 0;                              // when the browser last had a turn
  headless::InputStep pending[kMostMessagesForEvent]; // made by one event, not yet taken
  int32_t pendingCount = 0;
  int32_t pendingNext = 0;
};
Live live;

void ModeSize(int32_t *w, int32_t *h) {
  soft::SurfaceView view{};
  const plat::Surface primary = soft::Primary();
  if (primary != nullptr && soft::View(primary, &view)) {
    *w = view.width;
    *h = view.height;
  } else {
    *w = 640;
    *h = 480;
  }
}

// The whole milliseconds since the previous step (fractions carry over).
uint32_t Elapsed(double now) {
  const double since = now - live.startedAt;
  const uint32_t total = since <= 0 ? 0u : static_cast<uint32_t>(since);
  const uint32_t elapsed = total - live.clockMs;
  live.clockMs = total;
  live.lastStepAt = now;
  return elapsed;
}

bool NextStep(headless::InputStep *out) {
  if (live.pendingNext < live.pendingCount) {
    *out = live.pending[live.pendingNext++];
    out->elapsed = Elapsed(page::Now());
    return true;
  }
  for (;;) {
    PageEvent event;
    while (page::NextEvent(&event)) {
      int32_t w = 0;
      int32_t h = 0;
      ModeSize(&w, &h);
      DisplayChange display = DisplayChange::None;
      live.pendingCount = MessagesForEvent(event, w, h, &live.input, live.pending, &display);
      live.pendingNext = 0;
      if (live.pendingCount == 0) {
        continue;
      }
      *out = live.pending[live.pendingNext++];
      // As on the desktop: the display goes with the focus, and its
      // surfaces stay lost until the host restores them.
      if (display == DisplayChange::Lose) {
        soft::LoseExclusiveMode();
      } else if (display == DisplayChange::Regain && soft::ExclusiveModeAway()) {
        soft::RegainExclusiveMode();
      }
      out->elapsed = Elapsed(page::Now());
      return true;
    }
    if (!live.input.active) {
      // The host makes no idle turns now: nothing happens until the page
      // has something to say.
      page::WaitForEvent();
      live.sliceStart = page::Now();
      continue;
    }
    double now = page::Now();
    if (now - live.sliceStart >= kSliceMs) {
      page::WaitForFrame();
      now = page::Now();
      live.sliceStart = now;
    }
    out->idle = true;
    out->message = 0;
    out->elapsed = Elapsed(now);
    return true;
  }
}

// A flip: the frame goes on the canvas and the program waits for the
// browser to show it.
void PresentFrame(uint32_t frame) {
  (void)frame;
  const double flipped = page::Now();
  if (ShowVisibleSurface()) {
    const double shown = page::Now();
    page::NoteFrameTime(shown - live.lastStepAt, shown - flipped);
  }
  page::WaitForFrame();
  live.sliceStart = page::Now();
}

int32_t AskInPage(const char *text, const char *caption, uint32_t type) {
  const int32_t answer = page::AskBox(text, caption, type);
  live.sliceStart = page::Now();
  return answer;
}

// The module's Sleep: the browser runs meanwhile, and the clock the module
// reads catches up with the page's clock, as the desktop's reads the real
// one, so a module that waits for timeGetTime to move gets there. That time is not counted
// again in the next step's elapsed value: time spent inside a call never is.
void SleepInPage(uint32_t ms) {
  page::Sleep(ms);
  const double now = page::Now();
  const uint32_t slept = static_cast<uint32_t>(now - live.startedAt) - live.clockMs;
  headless::AdvanceClock(slept);
  live.clockMs += slept;
  live.sliceStart = now;
}

} // namespace

int RunLive() {
  live = Live{};
  live.startedAt = page::Now();
  live.lastStepAt = live.startedAt;
  live.sliceStart = live.startedAt;
  headless::ResetBackend();
  headless::SetInputSource(NextStep);
  headless::SetFramePresenter(PresentFrame);
  headless::SetBoxAsker(AskInPage);
  modulecalls::SetModuleSleep(SleepInPage);
  // The module's sounds through the page's audio, its title as the page's.
  modulecalls::SetSoundOutput(PageSoundOutput());
  modulecalls::SetTitleShower(page::ShowTitle);

  char commandLine[] = "";
  constexpr int SW_SHOWNORMAL = 1;
  const int code =
      vantrel::WinMain(plat::GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);

  headless::SetInputSource(nullptr);
  headless::SetFramePresenter(nullptr);
  headless::SetBoxAsker(nullptr);
  PageSoundOutput()->stop(); // nothing goes on sounding over the ended page
  modulecalls::SetSoundOutput(nullptr);
  modulecalls::SetTitleShower(nullptr);
  page::RunEnded(code);
  return code;
}

} // namespace web
