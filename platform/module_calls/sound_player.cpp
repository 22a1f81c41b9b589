// sound_player.cpp - PlaySoundA's rules over whichever output the host set.
#include "platform/module_calls/sound_player.h"

#include "host/host_state.h"
#include "platform/platform.h"

#include <set>
#include <string>

namespace modulecalls {
namespace {

constexpr uint32_t SND_ASYNC = 0x00000001u;
constexpr uint32_t SND_NODEFAULT = 0x00000002u;
constexpr uint32_t SND_MEMORY = 0x00000004u;
constexpr uint32_t SND_LOOP = 0x00000008u;
constexpr uint32_t SND_NOSTOP = 0x00000010u;
constexpr uint32_t SND_PURGE = 0x00000040u;
constexpr uint32_t SND_ALIAS = 0x00010000u;    // also in SND_ALIAS_ID
constexpr uint32_t SND_RESOURCE = 0x00040000u; // SND_RESOURCE without its SND_MEMORY bit

const SoundOutput *output = nullptr;
SoundCallObserver observer = nullptr;
// The file name of the sound last started ("" for one from memory), for
// SND_PURGE with a name.
std::string lastStarted;
// Each sound whose failure has been explained on the debug output.
std::set<std::string> explained;

// Why a sound could not be played, once per sound, on the debug output: a
// module only gets FALSE.
void Explain(const char *function, const std::string &what, const std::string &why) {
  if (!explained.insert(what).second) {
    return;
  }
  const std::string line = std::string(function) + ": " + what + ": " + why + "\n";
  plat::OutputDebugStringA(line.c_str());
}

bool Load(const char *sound, uint32_t flags, bool memory, WavSound *wav, std::string *why) {
  if ((flags & SND_RESOURCE) != 0) {
    *why = "this host has no module resources";
    return false;
  }
  if ((flags & SND_ALIAS) != 0) {
    *why = "this host has no system sounds";
    return false;
  }
  if (memory) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(sound);
    const size_t size = WavImageSize(bytes);
    if (size == 0) {
      *why = "not a WAV image";
      return false;
    }
    return ParseWav(bytes, size, wav, why);
  }
  return ReadWavFile(sound, wav, why);
}

// `flags` as the module gave them go into the log; `how` are those that act.
int32_t Play(const char *function, const char *sound, uint32_t flags, uint32_t how) {
  const bool memory = sound != nullptr && (how & SND_MEMORY) != 0 && (how & SND_RESOURCE) == 0;
  SoundCall call{function, memory ? nullptr : sound, memory, 0, flags, 0};
  if (memory) {
    const size_t size = WavImageSize(reinterpret_cast<const uint8_t *>(sound));
    call.memoryBytes = static_cast<uint32_t>(size > kMaxWavBytes ? kMaxWavBytes : size);
  }
  const auto answer = [&call](int32_t value) {
    call.answer = value;
    if (observer != nullptr) {
      observer(call);
    }
    return value;
  };

  if (output == nullptr || !output->ready()) {
    return answer(0);
  }
  if (sound == nullptr) {
    output->stop();
    return answer(1);
  }
  if ((how & SND_PURGE) != 0) {
    if (memory || lastStarted == sound) {
      output->stop();
    }
    return answer(1);
  }
  if ((how & SND_LOOP) != 0 && (how & SND_ASYNC) == 0) {
    // A loop played synchronously would never return.
    Explain(function, memory ? "a sound in memory" : std::string("\"") + sound + "\"",
            "SND_LOOP needs SND_ASYNC");
    return answer(0);
  }
  if ((how & SND_NOSTOP) != 0 && output->playing()) {
    return answer(0);
  }
  // Whatever plays stops before the new sound is even looked for.
  output->stop();
  WavSound wav;
  std::string why;
  if (!Load(sound, how, memory, &wav, &why)) {
    // This host has no default sound: with or without SND_NODEFAULT the
    // answer is FALSE and nothing is heard.
    Explain(function, memory ? "a sound in memory" : std::string("\"") + sound + "\"", why);
    return answer(0);
  }
  if (wav.Frames() == 0) {
    return answer(1); // played: there was nothing to hear
  }
  if (!output->start(wav, (how & SND_LOOP) != 0)) {
    return answer(0);
  }
  lastStarted = memory ? "" : sound;
  if ((how & SND_ASYNC) == 0) {
    output->wait();
  }
  return answer(1);
}

// The virtual device: a sound lasts its length on the served clock.
struct VirtualSound {
  bool started = false;
  bool loop = false;
  uint32_t startTick = 0;
  uint32_t durationMs = 0;
};
VirtualSound virtualSound;

const SoundOutput kVirtual = {
    []() { return true; },
    [](const WavSound &sound, bool loop) {
      virtualSound = VirtualSound{true, loop, plat::timeGetTime(), sound.DurationMs()};
      return true;
    },
    []() { virtualSound.started = false; },
    []() {
      return virtualSound.started &&
             (virtualSound.loop ||
              plat::timeGetTime() - virtualSound.startTick < virtualSound.durationMs);
    },
    []() { virtualSound.started = false; },
};

} // namespace

void SetSoundOutput(const SoundOutput *next) { output = next; }

void SetSoundCallObserver(SoundCallObserver next) { observer = next; }

int32_t PlaySound(const char *sound, const void *module, uint32_t flags) {
  static_cast<void>(module); // resources are not served: SND_RESOURCE answers FALSE
  return Play("PlaySoundA", sound, flags, flags);
}

int32_t SndPlaySound(const char *sound, uint32_t flags) {
  // sndPlaySoundA takes a file name or a WAV image in memory, and these flags.
  constexpr uint32_t kItsFlags = SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP | SND_NOSTOP;
  return Play("sndPlaySoundA", sound, flags, flags & kItsFlags);
}

const SoundOutput *VirtualSoundOutput() { return &kVirtual; }

void ResetSoundPlayer() {
  output = nullptr;
  observer = nullptr;
  lastStarted.clear();
  explained.clear();
  virtualSound = VirtualSound{};
}

} // namespace modulecalls
