// headless.h - the backend without a screen: the soft display device, one
// window that exists only as its procedure, a message source fed by the
// program that runs it (vantrel-replay feeds a script), a virtual
// millisecond clock and message boxes written to standard error.
#ifndef VANTREL_PLATFORM_HEADLESS_HEADLESS_H
#define VANTREL_PLATFORM_HEADLESS_HEADLESS_H

#include "platform/platform.h"

#include <cstdint>

namespace headless {

// One step of input: either an idle turn (no message waiting, so the host's
// loop makes its idle call) or a message for the window. The virtual clock
// moves on by `elapsed` when the step is taken, so the call it causes gets
// exactly that elapsed value.
struct InputStep {
  bool idle = true;
  uint32_t elapsed = 0;
  uint32_t message = 0; // when not idle: the window message and its parameters
  plat::WPARAM wParam = 0;
  plat::LPARAM lParam = 0;
};

// Gives the next step; false when the input has ended, which posts the quit
// message (code 0) as closing the window would.
using InputSource = bool (*)(InputStep *out);
void SetInputSource(InputSource source);

// Called after every flip that shows a new frame, with its number (from 1).
using FrameSink = void (*)(uint32_t frame);
void SetFrameSink(FrameSink sink);
uint32_t FramesPresented();

// True once the input has ended (the quit message posted for it was not the
// module's or the window's own).
bool InputEnded();

// For a backend built on this one that has a screen and a person before it
// (the web page). Both are kept by ResetBackend: they belong to the program,
// not to one run.
// Called after every flip that shows a new frame, before the frame sink,
// with its number; it may show the frame and wait for the screen.
using FramePresenter = void (*)(uint32_t frame);
void SetFramePresenter(FramePresenter presenter);
// Asks a message box of the person: called after the box is written to
// standard error, and answers for it. Null (the default) answers with the
// box's default button at once.
using BoxAsker = int32_t (*)(const char *text, const char *caption, uint32_t type);
void SetBoxAsker(BoxAsker asker);

// The virtual clock: starts at 0, moves only as steps are taken and as the
// module's served Sleep asks.
uint32_t Now();
// Moves the virtual clock on by `ms` (the served Sleep under replay).
void AdvanceClock(uint32_t ms);

// Puts the backend back as at process start: no window, no queue, clock 0,
// no source, no sink (tests only).
void ResetBackend();

} // namespace headless

#endif
