// sound_mixer.h - the desktop's sound output: SDL2_mixer playing the module's
// one sound on one channel, the device opened at the first sound call.
#ifndef VANTREL_PLATFORM_SDL_SOUND_MIXER_H
#define VANTREL_PLATFORM_SDL_SOUND_MIXER_H

#include "platform/module_calls/sound_player.h"

#include <cstdint>

namespace sdlplat {

// The output for modulecalls::SetSoundOutput.
const modulecalls::SoundOutput *MixerSoundOutput();

// The device's buffer, in sample frames, for the next opening (512 by
// default: 11.6 ms at 44100 frames a second).
void SetSoundBufferFrames(int32_t frames);

// Stops the sound and closes the device (before SDL_Quit).
void CloseSound();

// Microseconds from the last start of a sound to the moment its first
// samples reached SDL's audio callback; -1 while they have not yet.
int64_t LastStartLatencyMicros();

} // namespace sdlplat

#endif
