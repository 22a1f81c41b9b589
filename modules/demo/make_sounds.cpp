// make_sounds - makes the demo's three sounds, drop.wav, swap.wav and
// tick.wav, as PCM WAV files.
//
// Run by the build: `make_sounds <folder>` writes the three files into
// <folder>. They are synthesised here, in integers (so every machine makes
// the same bytes), never downloaded:
//   drop.wav  90 ms, 22050 Hz, 16-bit mono: a square wave falling from 880
//             to 440 Hz, fading out
//   swap.wav  140 ms, 22050 Hz, 16-bit mono: two triangle-wave notes, C5 then G5
//   tick.wav  25 ms, 11025 Hz, 8-bit mono: a short 1500 Hz click
// Standard C++ only, so the build can also compile it with the machine's own
// compiler when it cross-compiles the module.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Wav {
  uint32_t rate;
  uint16_t bits;                // 8 or 16, mono
  std::vector<int32_t> samples; // -32768..32767
};

void Put(std::vector<uint8_t> &b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
}

bool Write(const std::string &path, const Wav &wav) {
  const uint32_t bytesPerSample = wav.bits / 8u;
  const uint32_t data = static_cast<uint32_t>(wav.samples.size()) * bytesPerSample;
  std::vector<uint8_t> b{'R', 'I', 'F', 'F'};
  Put(b, 36 + data + (data & 1u), 4);
  for (const char c : std::string("WAVEfmt ")) {
    b.push_back(static_cast<uint8_t>(c));
  }
  Put(b, 16, 4);
  Put(b, 1, 2); // PCM
  Put(b, 1, 2); // mono
  Put(b, wav.rate, 4);
  Put(b, wav.rate * bytesPerSample, 4);
  Put(b, bytesPerSample, 2);
  Put(b, wav.bits, 2);
  for (const char c : std::string("data")) {
    b.push_back(static_cast<uint8_t>(c));
  }
  Put(b, data, 4);
  for (const int32_t s : wav.samples) {
    if (wav.bits == 8) {
      b.push_back(static_cast<uint8_t>(128 + s / 256)); // unsigned, 128 is silence
    } else {
      Put(b, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(s))), 2);
    }
  }
  if ((data & 1u) != 0) {
    b.push_back(0); // chunks end on even offsets
  }
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    return false;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

// A phase accumulator: 65536 steps per cycle.
struct Oscillator {
  uint32_t phase = 0;
  int32_t Square(uint32_t hz, uint32_t rate) {
    phase = (phase + hz * 65536u / rate) & 0xFFFFu;
    return phase < 0x8000u ? 1 : -1;
  }
  // -32768..32767, a triangle.
  int32_t Triangle(uint32_t hz, uint32_t rate) {
    phase = (phase + hz * 65536u / rate) & 0xFFFFu;
    const int32_t p = static_cast<int32_t>(phase);
    return p < 0x8000 ? p * 2 - 32768 : (0xFFFF - p) * 2 - 32768;
  }
};

Wav Drop() {
  Wav w{22050, 16, {}};
  const int32_t n = 22050 * 90 / 1000;
  Oscillator o;
  for (int32_t i = 0; i < n; ++i) {
    const uint32_t hz = static_cast<uint32_t>(880 - 440 * i / n);
    w.samples.push_back(o.Square(hz, w.rate) * 9000 * (n - i) / n);
  }
  return w;
}

Wav Swap() {
  Wav w{22050, 16, {}};
  const int32_t half = 22050 * 70 / 1000;
  Oscillator o;
  for (int32_t i = 0; i < 2 * half; ++i) {
    const uint32_t hz = i < half ? 523 : 784;
    const int32_t inNote = i % half;
    // A quick rise and a fade in each note.
    const int32_t envelope = inNote < 200 ? inNote * 100 / 200 : 100 * (half - inNote) / half;
    w.samples.push_back(o.Triangle(hz, w.rate) / 4 * envelope / 100);
  }
  return w;
}

Wav Tick() {
  Wav w{11025, 8, {}};
  const int32_t n = 11025 * 25 / 1000;
  Oscillator o;
  for (int32_t i = 0; i < n; ++i) {
    w.samples.push_back(o.Square(1500, w.rate) * 12000 * (n - i) * (n - i) / (n * n));
  }
  return w;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds <folder>\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  const struct {
    const char *name;
    Wav wav;
  } sounds[] = {{"drop.wav", Drop()}, {"swap.wav", Swap()}, {"tick.wav", Tick()}};
  for (const auto &s : sounds) {
    if (!Write(folder + s.name, s.wav)) {
      std::fprintf(stderr, "make_sounds: cannot write %s%s\n", folder.c_str(), s.name);
      return 1;
    }
  }
  return 0;
}
