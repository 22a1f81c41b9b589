// page_bridge.h - the page around the game (web_page.js): its events, its
// canvas, its box dialog and its clock. The waiting calls suspend the
// program (Asyncify) and give the browser its turn; they return when the
// page has what they wait for.
#ifndef VANTREL_PLATFORM_WEB_PAGE_BRIDGE_H
#define VANTREL_PLATFORM_WEB_PAGE_BRIDGE_H

#include "platform/web/page_input.h"

#include <cstdint>
#include <string>

namespace web::page {

// Takes the oldest event the page has queued; false when none is waiting.
bool NextEvent(PageEvent *out);
// Waits until the page queues an event.
void WaitForEvent();
// Waits for the browser's next animation frame.
void WaitForFrame();
// Lets the browser run what is waiting and comes straight back.
void Yield();
// Waits `ms` milliseconds.
void Sleep(uint32_t ms);
// The page's clock in milliseconds (performance.now()).
double Now();

// Shows the box dialog with `caption` and `text` and waits for its answer.
int32_t AskBox(const char *text, const char *caption, uint32_t type);

// Puts `width` x `height` pixels (bytes red, green, blue, alpha) on the
// canvas, which takes that size.
void PutFrame(const uint8_t *rgba, int32_t width, int32_t height);
// Keeps what the canvas shows now as frame `n`, read back from the canvas.
void KeepCanvasAs(uint32_t n);
// Adds one presented frame's times to the page's figures: the whole frame
// (the turn that drew it, its drawing and its putting on the canvas) and the
// last part alone.
void NoteFrameTime(double frameMs, double presentMs);

// The title the module gave its window (SetWindowTextA) as the page's title.
void ShowTitle(const char *title);

// The game has ended with `code`: the page says so.
void RunEnded(int32_t code);

// The page's replay entry: true when the page was opened to replay a script,
// with the frames to keep (as vantrel-replay's --frames takes them).
bool ReplayRequested(std::string *frames);
// Where the page put the script it fetched.
constexpr const char *kReplayScriptFile = "/vantrel-replay.script";
// The replay has ended: what it did, for the page and whoever drives it.
void ReplayEnded(int32_t exitCode, uint32_t framesPresented, uint32_t framesKept,
                 bool scriptFinished, const char *error);

} // namespace web::page

#endif
