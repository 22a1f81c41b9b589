// wav_sound.cpp - reading and checking WAV images, chunk by chunk.
#include "platform/module_calls/wav_sound.h"

#include <cstdio>
#include <cstring>

namespace modulecalls {
namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kExtensible = 0xFFFE;

uint16_t U16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t *p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
bool Tag(const uint8_t *p, const char *tag) { return std::memcmp(p, tag, 4) == 0; }

bool Fail(std::string *why, const char *reason) {
  if (why != nullptr) {
    *why = reason;
  }
  return false;
}

// The format chunk's fields, checked for what can be played.
bool ReadFormat(const uint8_t *p, uint32_t size, WavSound *out, std::string *why) {
  if (size < 16) {
    return Fail(why, "the format chunk is shorter than 16 bytes");
  }
  uint16_t tag = U16(p);
  const uint16_t channels = U16(p + 2);
  const uint32_t rate = U32(p + 4);
  const uint32_t byteRate = U32(p + 8);
  const uint16_t blockAlign = U16(p + 12);
  const uint16_t bits = U16(p + 14);
  if (tag == kExtensible && size >= 40) {
    tag = U16(p + 24); // the sub-format's first two bytes name the encoding
  }
  if (tag != kPcm) {
    return Fail(why, "the samples are not PCM");
  }
  if (channels != 1 && channels != 2) {
    return Fail(why, "not mono or stereo");
  }
  if (bits != 8 && bits != 16) {
    return Fail(why, "the samples are not 8 or 16 bits");
  }
  if (rate < kMinWavRate || rate > kMaxWavRate) {
    return Fail(why, "the sample rate is outside 1000 to 192000");
  }
  if (blockAlign != channels * bits / 8 || byteRate != rate * blockAlign) {
    return Fail(why, "the block size or byte rate does not match the format");
  }
  out->channels = channels;
  out->bits = bits;
  out->rate = rate;
  return true;
}

} // namespace

uint32_t WavSound::Frames() const {
  const uint32_t frame = BytesPerFrame();
  return frame == 0 ? 0 : static_cast<uint32_t>(samples.size() / frame);
}

uint32_t WavSound::DurationMs() const {
  if (rate == 0) {
    return 0;
  }
  return static_cast<uint32_t>((uint64_t{Frames()} * 1000 + rate - 1) / rate);
}

size_t WavImageSize(const uint8_t *bytes) {
  if (bytes == nullptr || !Tag(bytes, "RIFF")) {
    return 0;
  }
  return size_t{U32(bytes + 4)} + 8;
}

bool ParseWav(const uint8_t *bytes, size_t size, WavSound *out, std::string *why) {
  if (bytes == nullptr || size < 12 || !Tag(bytes, "RIFF") || !Tag(bytes + 8, "WAVE")) {
    return Fail(why, "not a WAV file");
  }
  if (size > kMaxWavBytes) {
    return Fail(why, "larger than 128 MiB");
  }
  const uint64_t riffEnd = uint64_t{U32(bytes + 4)} + 8;
  if (riffEnd > size) {
    return Fail(why, "the header promises more bytes than there are");
  }
  const size_t end = static_cast<size_t>(riffEnd); // anything after the RIFF is not the WAV's
  WavSound sound;
  bool haveFormat = false;
  const uint8_t *data = nullptr;
  uint32_t dataSize = 0;
  size_t at = 12;
  while (at + 8 <= end) {
    const uint8_t *chunk = bytes + at;
    const uint32_t chunkSize = U32(chunk + 4);
    if (chunkSize > end - at - 8) {
      return Fail(why, "a chunk runs past the end of the file");
    }
    if (Tag(chunk, "fmt ") && !haveFormat) {
      if (!ReadFormat(chunk + 8, chunkSize, &sound, why)) {
        return false;
      }
      haveFormat = true;
    } else if (Tag(chunk, "data") && data == nullptr) {
      data = chunk + 8;
      dataSize = chunkSize;
    }
    // Chunks start on even offsets; the pad byte after the last may be missing.
    at += 8 + size_t{chunkSize} + (chunkSize & 1u);
  }
  if (!haveFormat) {
    return Fail(why, "no format chunk");
  }
  if (data == nullptr) {
    return Fail(why, "no data chunk");
  }
  const uint32_t frame = sound.BytesPerFrame();
  sound.samples.assign(data, data + (dataSize - dataSize % frame));
  *out = std::move(sound);
  return true;
}

bool ReadWavFile(const char *path, WavSound *out, std::string *why) {
  if (path == nullptr || path[0] == '\0') {
    return Fail(why, "no file name");
  }
  std::FILE *file = std::fopen(path, "rb");
  if (file == nullptr) {
    return Fail(why, "cannot be opened");
  }
  std::vector<uint8_t> bytes;
  uint8_t buffer[16384];
  size_t n = 0;
  bool tooLarge = false;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (bytes.size() + n > kMaxWavBytes) {
      tooLarge = true;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (tooLarge) {
    return Fail(why, "larger than 128 MiB");
  }
  if (readError) {
    return Fail(why, "cannot be read");
  }
  return ParseWav(bytes.data(), bytes.size(), out, why);
}

} // namespace modulecalls
