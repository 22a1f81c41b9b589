// page_sound.cpp - the module's sounds through the page's audio
// (Module.vantrelPage.sound in web_page.js). The sound, already checked by
// the player, goes to the page as its PCM bytes; the page converts them to
// an AudioBuffer at the sound's own rate. SND_SYNC's wait suspends the
// program (Asyncify) until the sound has ended, as the page's Sleep does.
#include "platform/web/page_sound.h"

#include <emscripten.h>

#include <cstdio>

namespace web {
namespace {

// clang-format off
// 0: no audio at all; 1: heard; 2: suspended until a key or click.
EM_JS(int32_t, vantrel_sound_ready, (), {
  return Module.vantrelPage.sound.ready();
});
EM_JS(int32_t, vantrel_sound_start, (const uint8_t *samples, uint32_t bytes, int32_t channels, int32_t bits, int32_t rate, int32_t loop), {
  return Module.vantrelPage.sound.start(samples, bytes, channels, bits, rate, loop !== 0) ? 1 : 0;
});
EM_JS(void, vantrel_sound_stop, (), {
  Module.vantrelPage.sound.stop();
});
EM_JS(int32_t, vantrel_sound_playing, (), {
  return Module.vantrelPage.sound.playing() ? 1 : 0;
});
EM_ASYNC_JS(void, vantrel_sound_wait, (), {
  await Module.vantrelPage.sound.ended();
});
// clang-format on

bool saidNone = false;
bool saidSuspended = false;

bool Ready() {
  const int32_t state = vantrel_sound_ready();
  if (state == 0) {
    if (!saidNone) {
      std::fprintf(stderr,
                   "vantrel: no audio device (the browser has no Web Audio): sound calls answer "
                   "FALSE\n");
      saidNone = true;
    }
    return false;
  }
  if (state == 2 && !saidSuspended) {
    std::fprintf(stderr, "vantrel: the page's sound starts at the first key or click; until "
                         "then sounds are answered but not heard\n");
    saidSuspended = true;
  }
  return true;
}

bool Start(const modulecalls::WavSound &sound, bool loop) {
  return vantrel_sound_start(sound.samples.data(), static_cast<uint32_t>(sound.samples.size()),
                             sound.channels, sound.bits, static_cast<int32_t>(sound.rate),
                             loop ? 1 : 0) != 0;
}

void Stop() { vantrel_sound_stop(); }

bool Playing() { return vantrel_sound_playing() != 0; }

void Wait() { vantrel_sound_wait(); }

const modulecalls::SoundOutput kPage = {Ready, Start, Stop, Playing, Wait};

} // namespace

const modulecalls::SoundOutput *PageSoundOutput() { return &kPage; }

} // namespace web
