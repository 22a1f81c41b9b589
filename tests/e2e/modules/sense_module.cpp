// sense_module.cpp - a module that shows the served key states and plays
// sounds through the served sound calls, for the desktop, replay and web
// tests.
//
// Screen (640x480x16, 32x32 tiles): blue, with two rows of indicators for
// the keys Left, Up, Right, Down, A, the left and the right button. Row 1 is
// GetKeyState (yellow: down, red: up and toggled, green: up), row 3
// GetAsyncKeyState, asked every call (yellow: down, red: pressed since the
// last call and up again, green: up). A frame is drawn on every input event
// and once per 16 ms of idle time.
//
// S plays a scene of sounds written as WAV files (44100 frames a second,
// 16-bit stereo) into the current folder, each answer on the debug output:
//   tone_a.wav   SND_SYNC              100 ms, left = 1000 + i, right = -1000 - i
//   tone_b.wav   SND_ASYNC | SND_LOOP   25 ms, left = 20000 + i, right = 7
//   tone_e.wav   SND_ASYNC | SND_NOSTOP  refused while b loops: never heard
//   NULL                               stops b; then 150 ms of silence
//   tone_c.wav   SND_ASYNC             replaced at once by
//   tone_d.wav   SND_SYNC               50 ms, left = -10000 - i, right = 3
//   broken.wav, missing.wav            FALSE
// and then "sense: sound done".
#include "vantrel.h"
#include "vantrel_win32.h"

#include <cstdint>
#include <cstdio>
#include <vector>

VANTREL_EXPORTS

namespace {

VProg *prog = nullptr;
VMap *map = nullptr;
int32_t owed = 0;

constexpr int kCols = 20;
constexpr int kRows = 15;
constexpr int kKeys[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, 'A', VK_LBUTTON, VK_RBUTTON};
enum Tile { kKey = 0, kBlue = 1, kYellow = 2, kRed = 3, kGreen = 4 };
constexpr uint32_t kColours[] = {0xFF00FF, 0x0000FF, 0xFFFF00, 0xFF0000, 0x00FF00};

void Put16(std::vector<uint8_t> &b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t> &b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

bool WriteFile(const char *path, const std::vector<uint8_t> &b) {
  FILE *f = std::fopen(path, "wb");
  if (f == nullptr) {
    return false;
  }
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

// Five 32x32 tiles in a row, 24-bit bottom-up.
bool WriteTileset(const char *path) {
  constexpr int w = 160;
  constexpr int h = 32;
  std::vector<uint8_t> b{'B', 'M'};
  Put32(b, 54 + w * 3 * h);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, w);
  Put32(b, h);
  Put16(b, 1);
  Put16(b, 24);
  for (int i = 0; i < 6; ++i) {
    Put32(b, 0);
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t rgb = kColours[x / 32];
      b.push_back(static_cast<uint8_t>(rgb));
      b.push_back(static_cast<uint8_t>(rgb >> 8));
      b.push_back(static_cast<uint8_t>(rgb >> 16));
    }
  }
  return WriteFile(path, b);
}

// A 44100 Hz 16-bit stereo WAV of `frames` frames.
bool WriteTone(const char *path, int frames, int left0, int leftStep, int right0, int rightStep) {
  std::vector<uint8_t> b{'R', 'I', 'F', 'F'};
  Put32(b, 36 + frames * 4);
  for (const char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) {
    b.push_back(static_cast<uint8_t>(c));
  }
  Put32(b, 16);
  Put16(b, 1);
  Put16(b, 2);
  Put32(b, 44100);
  Put32(b, 44100 * 4);
  Put16(b, 4);
  Put16(b, 16);
  for (const char c : {'d', 'a', 't', 'a'}) {
    b.push_back(static_cast<uint8_t>(c));
  }
  Put32(b, frames * 4);
  for (int i = 0; i < frames; ++i) {
    Put16(b, static_cast<uint16_t>(static_cast<int16_t>(left0 + leftStep * i)));
    Put16(b, static_cast<uint16_t>(static_cast<int16_t>(right0 + rightStep * i)));
  }
  return WriteFile(path, b);
}

void Say(const char *what, int answer) {
  char line[96];
  std::snprintf(line, sizeof line, "sense: %s -> %d\n", what, answer);
  OutputDebugStringA(line);
}

void PlayScene() {
  bool written = WriteTone("tone_a.wav", 4410, 1000, 1, -1000, -1);
  written = WriteTone("tone_b.wav", 1102, 20000, 1, 7, 0) && written;
  written = WriteTone("tone_c.wav", 4410, 30000, -1, 5, 0) && written;
  written = WriteTone("tone_d.wav", 2205, -10000, -1, 3, 0) && written;
  written = WriteTone("tone_e.wav", 4410, -30000, 1, 9, 0) && written;
  std::vector<uint8_t> broken{'R', 'I', 'F', 'F', 0xFF, 0, 0, 0, 'W', 'A', 'V', 'E'};
  written = WriteFile("broken.wav", broken) && written;
  Say("files written", written ? 1 : 0);
  Say("a sync", PlaySoundA("tone_a.wav", nullptr, SND_FILENAME | SND_SYNC));
  Say("b loop", PlaySoundA("tone_b.wav", nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP));
  Sleep(150);
  Say("e nostop", PlaySoundA("tone_e.wav", nullptr, SND_FILENAME | SND_ASYNC | SND_NOSTOP));
  Sleep(50);
  Say("stop", PlaySoundA(nullptr, nullptr, 0));
  Sleep(150);
  Say("c async", PlaySoundA("tone_c.wav", nullptr, SND_FILENAME | SND_ASYNC));
  Say("d sync", sndPlaySoundA("tone_d.wav", SND_SYNC));
  Say("broken", PlaySoundA("broken.wav", nullptr, SND_FILENAME | SND_ASYNC));
  Say("missing", PlaySoundA("missing.wav", nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT));
  OutputDebugStringA("sense: sound done\n");
}

Tile KeyTile(int vk) {
  const auto s = static_cast<uint16_t>(GetKeyState(vk));
  return (s & 0x8000) != 0 ? kYellow : (s & 1) != 0 ? kRed : kGreen;
}

Tile AsyncTile(int vk) {
  const auto s = static_cast<uint16_t>(GetAsyncKeyState(vk));
  return (s & 0x8000) != 0 ? kYellow : (s & 1) != 0 ? kRed : kGreen;
}

void ShowKeys() {
  int col = 1;
  for (const int vk : kKeys) {
    map->cells[1 * kCols + col].tileCol = KeyTile(vk);
    map->cells[3 * kCols + col].tileCol = AsyncTile(vk);
    col += 2;
  }
}

void Init() {
  const int32_t mode = prog->SetMode(640, 480, 16);
  const bool written = WriteTileset("sense.bmp");
  VImg *tileset = prog->AddImage("sense.bmp", IMG_LOAD);
  char line[96];
  std::snprintf(line, sizeof line, "sense: init mode=%d bitmap=%d image=%d\n", mode,
                written ? 1 : 0, tileset != nullptr ? 1 : 0);
  OutputDebugStringA(line);
  SetWindowTextA(GetActiveWindow(), "Sense module");
  map = new VMap(kCols, kRows, 0, MAP_SHOWN, 0, 0, kCols, kRows, 32, 32, 0);
  for (int i = 0; i < kCols * kRows; ++i) {
    map->cells[i].tileCol = kBlue;
  }
  auto *layer = new VLayer();
  layer->map = map;
  prog->layers = layer;
}

} // namespace

int32_t VANTREL_STDCALL VProgInterface(VProg *record) {
  prog = record;
  prog->version = 1;
  return 1;
}

int32_t VANTREL_STDCALL VProgProcedure(int32_t elapsedMs) {
  const VEvent &e = prog->event;
  switch (e.code) {
  case EV_INIT:
    Init();
    return 0;
  case EV_SHUTDOWN:
    if (prog->layers != nullptr) {
      VLayer *layer = prog->layers;
      prog->layers = nullptr;
      delete layer;
      delete map;
      map = nullptr;
    }
    return 0;
  case EV_KEYDOWN:
    if (e.key == 'S') {
      PlayScene();
    }
    break;
  default:
    break;
  }
  if (map == nullptr) {
    return 0;
  }
  ShowKeys();
  if (e.code == EV_FRAME) {
    owed += elapsedMs > 0 ? elapsedMs : 0;
    if (owed < 16) {
      return 0;
    }
    owed %= 16;
  }
  return 1;
}
