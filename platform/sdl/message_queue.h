// message_queue.h - the thread's message queue.
#ifndef VANTREL_PLATFORM_SDL_MESSAGE_QUEUE_H
#define VANTREL_PLATFORM_SDL_MESSAGE_QUEUE_H

#include "platform/platform.h"

namespace sdlplat {

// Appends a message to the queue: keyboard and mouse messages to the input
// queue, every other message to the posted ones (each in arrival order).
void Enqueue(const plat::MSG &msg);

// Spaces idle turns so that the module is called at most `perSecond` times
// a second when no input comes (0: as often as it can). The main loop's peek
// (no filter, nothing removed) waits for the next turn while the queue is
// empty, and answers at once when a message arrives meanwhile.
void SetIdleTurnsPerSecond(int32_t perSecond);

// Forgets every queued message and a pending quit (tests only).
void ResetQueue();

} // namespace sdlplat

#endif
