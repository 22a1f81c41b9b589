// sound_bench.cpp - how long a sound takes to start on the desktop: from the
// start of the sound (what PlaySoundA does after reading the file) to the
// first audio callback of SDL that mixes its samples, for device buffers of
// 256 to 2048 frames at 44100 frames a second, each sound started at a random
// moment of the device's period. Also the first sound call's
// own cost, which opens the device.
//
// Without a sound card (a build machine) set SDL_AUDIODRIVER=disk (and
// SDL_DISKAUDIOFILE=/dev/null): SDL's disk driver asks for the next buffer
// at the pace of a real device, one buffer's time after the last.
#include "platform/sdl/sound_mixer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// A 100 ms tone in the device's own format: nothing to convert.
modulecalls::WavSound Tone() {
  modulecalls::WavSound s;
  s.channels = 2;
  s.bits = 16;
  s.rate = 44100;
  s.samples.resize(4410 * 4);
  for (size_t i = 0; i < s.samples.size(); ++i) {
    s.samples[i] = static_cast<uint8_t>((i / 4) % 64 < 32 ? 0x10 : 0xF0);
  }
  return s;
}

// Manual time: the latency the mixer saw, per started sound.
void StartLatency(benchmark::State &state) {
  sdlplat::CloseSound();
  sdlplat::SetSoundBufferFrames(static_cast<int32_t>(state.range(0)));
  const modulecalls::SoundOutput &out = *sdlplat::MixerSoundOutput();
  if (!out.ready()) {
    state.SkipWithError("no audio device (set SDL_AUDIODRIVER=disk)");
    return;
  }
  const modulecalls::WavSound tone = Tone();
  const auto period = static_cast<uint32_t>(state.range(0) * 1000 / 44100);
  uint32_t lcg = 12345;
  double worst = 0;
  for (auto _ : state) {
    // A start at a random moment of the device's period, as a game's are:
    // right after a callback the wait would always be one whole period.
    lcg = lcg * 1103515245u + 12345u;
    SDL_Delay((lcg >> 16) % (period + 1));
    out.start(tone, false);
    int64_t micros = -1;
    const uint64_t deadline = SDL_GetTicks64() + 2000;
    while ((micros = sdlplat::LastStartLatencyMicros()) < 0 && SDL_GetTicks64() < deadline) {
      SDL_Delay(0);
    }
    out.stop();
    if (micros < 0) {
      state.SkipWithError("the sound never reached the audio callback");
      return;
    }
    const double seconds = static_cast<double>(micros) / 1e6;
    worst = seconds > worst ? seconds : worst;
    state.SetIterationTime(seconds);
  }
  state.counters["buffer_ms"] = static_cast<double>(state.range(0)) * 1000.0 / 44100.0;
  state.counters["worst_ms"] = worst * 1000.0;
  sdlplat::CloseSound();
}

void OpenDevice(benchmark::State &state) {
  sdlplat::SetSoundBufferFrames(512);
  for (auto _ : state) {
    sdlplat::CloseSound();
    if (!sdlplat::MixerSoundOutput()->ready()) {
      state.SkipWithError("no audio device (set SDL_AUDIODRIVER=disk)");
      return;
    }
  }
  sdlplat::CloseSound();
}

} // namespace

BENCHMARK(StartLatency)
    ->Arg(256)
    ->Arg(512)
    ->Arg(1024)
    ->Arg(2048)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OpenDevice)->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
