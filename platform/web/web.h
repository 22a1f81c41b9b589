// web.h - the browser backend: the headless backend's window, queue and
// soft display device, with the page's keyboard, pointer and focus as input,
// the page's canvas as the screen and its dialog for boxes. The program
// runs as one blocking loop; Asyncify suspends it in the calls that wait
// (the flip waits for the browser's next frame, an inactive page waits for
// an event, a box waits for its answer, a module's Sleep waits), so the
// host's loop stays the one every platform runs.
#ifndef VANTREL_PLATFORM_WEB_WEB_H
#define VANTREL_PLATFORM_WEB_WEB_H

#include <cstdint>

namespace web {

// Plays the linked module with the person at the page; answers the host's
// exit code once the run has ended (the page then says so).
int RunLive();

// The page's replay entry: replays the script the page fetched, on the
// virtual clock, as vantrel-replay does, and keeps the chosen frames as the
// canvas shows them. Answers vantrel-replay's exit codes.
int RunPageReplay(const char *frames);

} // namespace web

#endif
