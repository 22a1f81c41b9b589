// sound_mixer.cpp - SDL2_mixer as the output of the module's sound calls.
//
// The sound is converted once, when it starts, to the device's own format
// with SDL's converter, and played on the mixer's one channel: a new sound
// halts the last (the channel is halted before its buffer is freed, under
// the mixer's lock). SND_SYNC waits on the module's thread, as Windows does.
#include "platform/sdl/sound_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

namespace sdlplat {
namespace {

constexpr int kChannel = 0;
constexpr int kRate = 44100;
constexpr int kChannels = 2;

int32_t bufferFrames = 512;
bool opened = false;
bool failed = false;
Mix_Chunk *chunk = nullptr;
std::vector<uint8_t> converted; // the chunk's samples, in the device's format

// Latency: the performance counter at the last start, and the one of the
// first audio callback that mixed any of it.
std::atomic<uint64_t> startedAt{0};
std::atomic<uint64_t> heardAt{0};
std::atomic<bool> awaitingFirst{false};

void PostMix(void *, Uint8 *, int) {
  if (awaitingFirst.load(std::memory_order_acquire) && Mix_Playing(kChannel) != 0) {
    heardAt.store(SDL_GetPerformanceCounter(), std::memory_order_release);
    awaitingFirst.store(false, std::memory_order_release);
  }
}

// ALSA's library writes every failure of a device it looks for to standard
// error in lines of its own; while the device is opened they are kept quiet,
// and the one line below says what went wrong. (SDL loads the library when
// its ALSA driver starts; with another driver nothing is done.)
void QuietAlsaError(const char *, int, const char *, int, const char *, ...) {}
using AlsaErrorHandler = void (*)(const char *, int, const char *, int, const char *, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);

void QuietAlsa(bool quiet) {
  void *alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (alsa == nullptr) {
    return;
  }
  auto set = reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (set != nullptr) {
    set(quiet ? QuietAlsaError : nullptr); // null: ALSA's own handler again
  }
  dlclose(alsa);
}

bool OpenDevice() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    return false;
  }
  QuietAlsa(true);
  const bool ok = Mix_OpenAudio(kRate, AUDIO_S16SYS, kChannels, bufferFrames) == 0;
  QuietAlsa(false);
  return ok;
}

bool Open() {
  if (opened || failed) {
    return opened;
  }
  if (!OpenDevice()) {
    std::fprintf(stderr, "vantrel: no audio device (%s): sound calls answer FALSE\n",
                 SDL_GetError());
    failed = true;
    return false;
  }
  Mix_AllocateChannels(1);
  Mix_SetPostMix(PostMix, nullptr);
  opened = true;
  return true;
}

void Halt() {
  if (opened) {
    Mix_HaltChannel(kChannel);
  }
  if (chunk != nullptr) {
    Mix_FreeChunk(chunk); // QuickLoad_RAW: the samples stay ours
    chunk = nullptr;
  }
  awaitingFirst.store(false, std::memory_order_release);
}

bool Start(const modulecalls::WavSound &sound, bool loop) {
  Halt();
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  if (Mix_QuerySpec(&rate, &format, &channels) == 0) {
    return false;
  }
  const SDL_AudioFormat from = sound.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(sound.channels),
                        static_cast<int>(sound.rate), format, static_cast<Uint8>(channels),
                        rate) < 0) {
    return false;
  }
  cvt.len = static_cast<int>(sound.samples.size());
  converted.assign(static_cast<size_t>(cvt.len) * static_cast<size_t>(cvt.len_mult), 0);
  std::memcpy(converted.data(), sound.samples.data(), sound.samples.size());
  cvt.buf = converted.data();
  if (cvt.needed != 0 && SDL_ConvertAudio(&cvt) != 0) {
    return false;
  }
  const int bytes = cvt.needed != 0 ? cvt.len_cvt : cvt.len;
  chunk = Mix_QuickLoad_RAW(converted.data(), static_cast<Uint32>(bytes));
  if (chunk == nullptr) {
    return false;
  }
  startedAt.store(SDL_GetPerformanceCounter(), std::memory_order_release);
  heardAt.store(0, std::memory_order_release);
  awaitingFirst.store(true, std::memory_order_release);
  if (Mix_PlayChannel(kChannel, chunk, loop ? -1 : 0) < 0) {
    Halt();
    return false;
  }
  return true;
}

bool Playing() { return opened && Mix_Playing(kChannel) != 0; }

void Wait() {
  while (Playing()) {
    SDL_Delay(1);
  }
}

const modulecalls::SoundOutput kMixer = {Open, Start, Halt, Playing, Wait};

} // namespace

const modulecalls::SoundOutput *MixerSoundOutput() { return &kMixer; }

void SetSoundBufferFrames(int32_t frames) { bufferFrames = frames; }

void CloseSound() {
  Halt();
  if (opened) {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  opened = false;
  failed = false;
  converted.clear();
  converted.shrink_to_fit();
}

int64_t LastStartLatencyMicros() {
  const uint64_t heard = heardAt.load(std::memory_order_acquire);
  const uint64_t started = startedAt.load(std::memory_order_acquire);
  if (heard == 0 || heard < started) {
    return -1;
  }
  return static_cast<int64_t>((heard - started) * 1000000 / SDL_GetPerformanceFrequency());
}

} // namespace sdlplat
