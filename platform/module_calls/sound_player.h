// sound_player.h - what PlaySoundA and sndPlaySoundA do, apart from how a
// host makes the sound heard: one sound at a time, a new one stopping the
// last, the flags and the answers Windows gives. A host plugs in its output
// (SDL2_mixer on the desktop, a virtual device under vantrel-replay, the
// page's audio in a browser); with none, every call answers FALSE.
#ifndef VANTREL_PLATFORM_MODULE_CALLS_SOUND_PLAYER_H
#define VANTREL_PLATFORM_MODULE_CALLS_SOUND_PLAYER_H

#include "platform/module_calls/wav_sound.h"

#include <cstdint>

namespace modulecalls {

// How a host makes sounds heard. Every function is called on the module's
// thread, from inside a sound call.
struct SoundOutput {
  // Opens the device when it is not open yet. False when there is none (the
  // output says so once on standard error).
  bool (*ready)();
  // Starts `sound` in place of whatever plays; `loop`: again and again
  // until stopped. False when the device refuses it.
  bool (*start)(const WavSound &sound, bool loop);
  // Stops the sound that plays, if any.
  void (*stop)();
  // Whether the last sound started still plays.
  bool (*playing)();
  // Returns when the last sound started has finished (a sound played with
  // SND_SYNC, never a loop).
  void (*wait)();
};

// Null: no audio device. The output stays the caller's.
void SetSoundOutput(const SoundOutput *output);

// One call as it was answered, for a sound log.
struct SoundCall {
  const char *function; // "PlaySoundA" or "sndPlaySoundA"
  const char *name;     // the file name; null for NULL and for a sound in memory
  bool memory;          // SND_MEMORY: `memoryBytes` of a WAV image
  uint32_t memoryBytes;
  uint32_t flags;
  int32_t answer; // TRUE (1) or FALSE (0)
};
using SoundCallObserver = void (*)(const SoundCall &call);
// Told of every sound call after it is answered; null: no one.
void SetSoundCallObserver(SoundCallObserver observer);

// The calls themselves, answering TRUE (1) or FALSE (0).
int32_t PlaySound(const char *sound, const void *module, uint32_t flags);
int32_t SndPlaySound(const char *sound, uint32_t flags);

// The virtual device of a host without audio (vantrel-replay): a sound plays
// for its length on the served clock (timeGetTime), a loop until stopped,
// and SND_SYNC's wait returns at once with the sound played out. So a replay
// answers SND_NOSTOP as the recorded run did, on the same times.
const SoundOutput *VirtualSoundOutput();

// Puts the player back as at process start: nothing playing, no output, no
// observer, no reasons said (tests).
void ResetSoundPlayer();

} // namespace modulecalls

#endif
