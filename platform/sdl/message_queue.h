// message_queue.h - the thread's message queue.
#ifndef VANTREL_PLATFORM_SDL_MESSAGE_QUEUE_H
#define VANTREL_PLATFORM_SDL_MESSAGE_QUEUE_H

#include "platform/platform.h"

namespace sdlplat {

// Appends a message to the queue: keyboard and mouse messages to the input
// queue, every other message to the posted ones (each in arrival order).
void Enqueue(const plat::MSG &msg);

// Forgets every queued message and a pending quit (tests only).
void ResetQueue();

} // namespace sdlplat

#endif
