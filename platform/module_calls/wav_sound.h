// wav_sound.h - WAV files as the sound calls take them: PCM, 8 or 16 bits,
// mono or stereo, 1000 to 192000 frames a second. Reading and checking are
// apart from any audio output, so every host answers the same for a file.
#ifndef VANTREL_PLATFORM_MODULE_CALLS_WAV_SOUND_H
#define VANTREL_PLATFORM_MODULE_CALLS_WAV_SOUND_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace modulecalls {

// A sound checked and ready to play.
struct WavSound {
  uint16_t channels = 0;        // 1 or 2
  uint16_t bits = 0;            // 8 (unsigned samples) or 16 (signed, little-endian)
  uint32_t rate = 0;            // frames a second
  std::vector<uint8_t> samples; // the data chunk's whole frames, interleaved

  uint32_t BytesPerFrame() const { return uint32_t{channels} * bits / 8; }
  uint32_t Frames() const;
  // How long one pass plays, in milliseconds, rounded up.
  uint32_t DurationMs() const;
};

constexpr uint32_t kMinWavRate = 1000;
constexpr uint32_t kMaxWavRate = 192000;
// The largest WAV image taken, from a file or from memory (about ten minutes
// of CD-quality stereo).
constexpr uint32_t kMaxWavBytes = 128u * 1024u * 1024u;

// Reads the WAV image of `size` bytes. False, with the reason in `why`, for
// anything that is not a whole PCM WAV of the kind above: a header that
// promises more bytes than there are, a chunk that runs past the end, no
// format or data chunk, another encoding, sample size or channel count, or
// block and byte rates that do not match the format. A last partial frame is
// left out.
bool ParseWav(const uint8_t *bytes, size_t size, WavSound *out, std::string *why);

// The size a WAV image in memory claims for itself (its RIFF header's size
// plus 8), or 0 when `bytes` does not start like one. Reads 8 bytes.
size_t WavImageSize(const uint8_t *bytes);

// Reads and parses the file; false with the reason in `why` when it cannot
// be read or is no such WAV.
bool ReadWavFile(const char *path, WavSound *out, std::string *why);

} // namespace modulecalls

#endif
