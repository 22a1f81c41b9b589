// gdi_present_bench.cpp - what showing a frame in a window costs the Windows
// host: the soft device's render pass of the reference scene at 640x480x16,
// against presenting it with GDI (the flip, its conversion to 32-bit pixels
// and the StretchDIBits alone) in a 640x480 client and stretched into a
// 1600x1200 one, then the host's own loop paced at 60 frames a second for a
// few seconds at each size, with the processor time it used. With --demo it
// runs the demo module instead (prog.dll and its files in the current
// folder): the host itself, paced the same way (or --turns-per-second N, 0
// for no cap, as the host runs without --fps-cap), at both sizes.
//
// The real Windows backend serves every call, driven as the host drives it:
// the window through plat::CreateWindowExA, the device and the 640x480x16
// mode through the core's InitDisplay and SetMode, the flip through Present.
// Google Benchmark has no MinGW build here, so the program times itself: a
// warm-up, then batches of at least 0.4 s, each figure the median of the
// batches with the fastest and slowest beside it. Processor time is the
// process's (user + kernel), which Windows and Wine count in ticks of 10 to
// 16 ms: batches are long enough for that to stay within a few per cent.
//
//   vantrel_gdi_present_bench [--repetitions N] [--paced-seconds S] [--paced-only] [--demo
//   [--turns-per-second N]]
#include "bench/bench_surfaces.h"
#include "bench/reference_scene.h"
#include "capture/frame_pixels.h"
#include "display/display_state.h"
#include "display/present.h"
#include "host/call_observer.h"
#include "host/host_state.h"
#include "host/startup.h"
#include "module/prog_instance.h"
#include "platform/platform.h"
#include "platform/soft/frame_place.h"
#include "platform/soft/soft_device.h"
#include "platform/win32/win32_presentation.h"
#include "render/draw.h"

// After platform.h: windows.h defines macros named as its USER constants, so
// those are written here as the Windows macros.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int32_t kModeW = 640;
constexpr int32_t kModeH = 480;
constexpr int32_t kBigW = 1600;
constexpr int32_t kBigH = 1200;
constexpr double kBatchSeconds = 0.4;
constexpr double kWarmUpSeconds = 0.2;

int repetitions = 7;
double pacedSeconds = 5.0;
int32_t demoTurns = 60; // the demo's idle turns a second; 0: as many as the loop runs

double Seconds() {
  static const double frequency = [] {
    ::LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  ::LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

double FileTimeSeconds(const ::FILETIME &t) {
  const uint64_t ticks = (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return static_cast<double>(ticks) * 1e-7; // 100 ns units
}

// User and kernel time of every thread of this process so far.
double ProcessorSeconds() {
  ::FILETIME created{}, exited{}, kernel{}, user{};
  if (::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user) == FALSE) {
    return 0;
  }
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

[[noreturn]] void Fail(const char *what) {
  std::fprintf(stderr, "vantrel_gdi_present_bench: %s\n", what);
  std::exit(1);
}

// Every waiting message to the window procedure, as the host's loop does
// between frames (painting, size changes).
void Pump() {
  plat::MSG msg{};
  while (plat::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
    plat::TranslateMessage(&msg);
    plat::DispatchMessageA(&msg);
  }
}

plat::LRESULT WindowProc(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                         plat::LPARAM lParam) {
  return plat::DefWindowProcA(wnd, message, wParam, lParam);
}

// The window the presenter shows into, made as the host makes its own.
plat::HWND MakeWindow() {
  plat::WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = plat::GetModuleHandleA(nullptr);
  wc.lpszClassName = "vantrel_gdi_present_bench";
  if (plat::RegisterClassA(&wc) == 0) {
    Fail("RegisterClassA failed");
  }
  plat::HWND wnd = plat::CreateWindowExA(0, wc.lpszClassName, "vantrel GDI bench", WS_POPUP, 0, 0,
                                         kModeW, kModeH, nullptr, nullptr, wc.hInstance, nullptr);
  if (wnd == nullptr) {
    Fail("CreateWindowExA failed");
  }
  plat::ShowWindow(wnd, SW_SHOWNORMAL);
  plat::UpdateWindow(wnd);
  return wnd;
}

// Gives the host window a client area of `w` x `h`, keeping its style.
void SizeClient(int32_t w, int32_t h) {
  const auto wnd = reinterpret_cast<::HWND>(win32::HostWindow());
  const auto style = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_EXSTYLE));
  ::RECT outer{0, 0, w, h};
  ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  ::SetWindowPos(wnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
}

::RECT Client() {
  ::RECT client{};
  ::GetClientRect(reinterpret_cast<::HWND>(win32::HostWindow()), &client);
  return client;
}

// The render pass without its flip: every layer's map, then its sprites.
void DrawScene() {
  for (VLayer *layer = vantrel::prog.layers; layer != nullptr; layer = layer->next) {
    if (layer->map != nullptr && layer->map->state != HIDDEN) {
      vantrel::DrawMap(layer->map);
    }
    for (VNode *node = layer->first; node != nullptr; node = node->next) {
      if (node->sprite != nullptr && node->sprite->state != HIDDEN) {
        vantrel::DrawSprite(node->sprite);
      }
    }
  }
}

struct Figure {
  double wall; // median seconds per call
  double fast; // fastest batch, seconds per call
  double slow; // slowest batch
  double cpu;  // median processor seconds per call
};

Figure Measure(const std::function<void()> &call) {
  int64_t warm = 0;
  const double start = Seconds();
  while (warm < 3 || Seconds() - start < kWarmUpSeconds) {
    call();
    ++warm;
  }
  const double each = (Seconds() - start) / static_cast<double>(warm);
  const int64_t batch = std::max<int64_t>(1, static_cast<int64_t>(kBatchSeconds / each) + 1);
  std::vector<double> wall, cpu;
  for (int r = 0; r < repetitions; ++r) {
    const double w0 = Seconds();
    const double c0 = ProcessorSeconds();
    for (int64_t i = 0; i < batch; ++i) {
      call();
    }
    cpu.push_back((ProcessorSeconds() - c0) / static_cast<double>(batch));
    wall.push_back((Seconds() - w0) / static_cast<double>(batch));
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  return {wall[wall.size() / 2], wall.front(), wall.back(), cpu[cpu.size() / 2]};
}

void PrintRow(const char *what, const Figure &f) {
  std::printf("%-44s %9.3f %9.3f %9.3f %9.3f\n", what, f.wall * 1e3, f.fast * 1e3, f.slow * 1e3,
              f.cpu * 1e3);
  std::fflush(stdout);
}

// Present as the host's loop does it: the flip, then a look at the queue.
void PresentTurn() {
  vantrel::Present();
  Pump();
}

// The converted front buffer's StretchDIBits alone, into the whole client
// area's picture, with the window's device context held.
Figure MeasureStretch(const std::vector<uint8_t> &pixels) {
  const auto wnd = reinterpret_cast<::HWND>(win32::HostWindow());
  const ::RECT client = Client();
  const soft::FramePlace place = soft::PlaceFrame(kModeW, kModeH, client.right, client.bottom);
  ::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kModeW;
  info.bmiHeader.biHeight = -kModeH;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::HDC dc = ::GetDC(wnd);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  const Figure f = Measure([&] {
    ::StretchDIBits(dc, place.x, place.y, place.w, place.h, 0, 0, kModeW, kModeH, pixels.data(),
                    &info, DIB_RGB_COLORS, SRCCOPY);
  });
  ::ReleaseDC(wnd, dc);
  Pump();
  return f;
}

void PrintPaced(const char *what, int64_t frames, double wall, double cpu, double longest) {
  std::printf("%-44s %6.1f frames/s  %5.1f%% of one core  %6.3f ms per frame", what,
              static_cast<double>(frames) / wall, 100.0 * cpu / wall,
              frames > 0 ? 1e3 * cpu / static_cast<double>(frames) : 0.0);
  if (longest >= 0) {
    std::printf("  longest gap %.1f ms", 1e3 * longest);
  }
  std::printf("\n");
  std::fflush(stdout);
}

// The host's loop at 60 idle turns a second for `pacedSeconds`: each turn a
// render pass and its flip, messages in between.
void Paced(const char *what) {
  win32::SetIdleTurnsPerSecond(60);
  Pump();
  int64_t frames = 0;
  const double w0 = Seconds();
  const double c0 = ProcessorSeconds();
  double longest = 0;
  double last = w0;
  while (Seconds() - w0 < pacedSeconds) {
    plat::MSG msg{};
    if (plat::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != 0) {
      if (plat::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        plat::TranslateMessage(&msg);
        plat::DispatchMessageA(&msg);
      }
      continue;
    }
    DrawScene();
    vantrel::Present();
    ++frames;
    const double now = Seconds();
    longest = std::max(longest, now - last);
    last = now;
  }
  const double wall = Seconds() - w0;
  const double cpu = ProcessorSeconds() - c0;
  win32::SetIdleTurnsPerSecond(0);
  PrintPaced(what, frames, wall, cpu, longest);
}

// The demo module run by the host itself (--demo): prog.dll and its files in
// the current folder, the host's window at the mode's size, 60 idle turns a
// second. The frames are the procedure's answers asking for a draw.
VProgProcedureFn demoProcedure = nullptr;
vantrel::CallKind callKind = vantrel::CallKind::Init;
std::atomic<int64_t> demoFrames{0};

int32_t VANTREL_STDCALL CountedProcedure(int32_t elapsedMs) {
  const int32_t answer = demoProcedure(elapsedMs);
  if (answer != 0 && callKind != vantrel::CallKind::Init && !vantrel::displayAway) {
    ++demoFrames;
  }
  return answer;
}

void NoteCall(vantrel::CallKind kind, const VEvent & /*event*/, int32_t /*elapsed*/) {
  callKind = kind;
  if (kind == vantrel::CallKind::Init) { // the module is loaded: count its answers
    demoProcedure = vantrel::progProcedure;
    vantrel::progProcedure = CountedProcedure;
  }
}

void MeasureDemo(const char *what) {
  const int64_t f0 = demoFrames;
  const double w0 = Seconds();
  const double c0 = ProcessorSeconds();
  ::Sleep(static_cast<DWORD>(pacedSeconds * 1000));
  PrintPaced(what, demoFrames - f0, Seconds() - w0, ProcessorSeconds() - c0, -1);
}

// Beside the host's loop: the two measures, then the end of the process (the
// host's own way out would wait on its closing box).
DWORD WINAPI WatchDemo(void * /*unused*/) {
  ::Sleep(1500); // start-up and the first frames
  char name[64];
  std::snprintf(name, sizeof name, "demo, %d turns/s, %g s, 640x480 client:", demoTurns,
                pacedSeconds);
  MeasureDemo(name);
  SizeClient(kBigW, kBigH);
  ::Sleep(500);
  const ::RECT client = Client();
  std::snprintf(name, sizeof name, "demo, %d turns/s, %g s, %ldx%ld client:", demoTurns,
                pacedSeconds, client.right, client.bottom);
  MeasureDemo(name);
  ::ExitProcess(0);
}

int RunDemo() {
  win32::ChoosePresentation(win32::Presentation::Windowed, 1);
  win32::SetIdleTurnsPerSecond(demoTurns);
  vantrel::callObserver = NoteCall;
  if (::CreateThread(nullptr, 0, WatchDemo, nullptr, 0, nullptr) == nullptr) {
    Fail("CreateThread failed");
  }
  char commandLine[] = "";
  const int code =
      vantrel::WinMain(plat::GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
  std::printf("the demo ended before it was measured (exit code %d)\n", code);
  return 1;
}

} // namespace

int main(int argc, char **argv) {
  bool pacedOnly = false;
  bool demo = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--paced-seconds") == 0 && i + 1 < argc) {
      pacedSeconds = std::max(0.5, std::atof(argv[++i]));
    } else if (std::strcmp(argv[i], "--paced-only") == 0) {
      pacedOnly = true;
    } else if (std::strcmp(argv[i], "--demo") == 0) {
      demo = true;
    } else if (std::strcmp(argv[i], "--turns-per-second") == 0 && i + 1 < argc) {
      demoTurns = std::max(0, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: vantrel_gdi_present_bench [--repetitions N] [--paced-seconds S] "
                           "[--paced-only] [--demo [--turns-per-second N]]\n");
      return 2;
    }
  }
  if (demo) {
    return RunDemo();
  }

  win32::ChoosePresentation(win32::Presentation::Windowed, 1);
  vantrel::mainWindow = MakeWindow();
  const bench::ReferenceScene &scene = bench::SceneFor(16); // InitDisplay, SetMode(640, 480, 16)
  bench::Install(scene);
  Pump();
  // Both buffers of the chain hold the scene.
  for (int i = 0; i < 2; ++i) {
    DrawScene();
    PresentTurn();
  }
  ::RECT client = Client();
  if (client.right != kModeW || client.bottom != kModeH) {
    Fail("the window's client area is not 640x480");
  }

  if (!pacedOnly) {
    std::printf("640x480x16 reference scene (%d tiles and sprites), %d batches of >= %.1f s\n",
                scene.drawnItems, repetitions, kBatchSeconds);
    std::printf("%-44s %9s %9s %9s %9s\n", "ms per call", "median", "fastest", "slowest", "cpu");
    PrintRow("render pass (soft device, no flip)", Measure(DrawScene));
    soft::SurfaceView view{};
    std::vector<uint8_t> pixels;
    if (!soft::View(soft::Primary(), &view)) {
      Fail("the primary surface has no view");
    }
    PrintRow("ViewToPixels32 (16 -> 32-bit BGRX)",
             Measure([&] { replay::ViewToPixels32(view, replay::PixelBytes::Bgrx, &pixels); }));
    PrintRow("StretchDIBits alone, 640x480 client", MeasureStretch(pixels));
    PrintRow("flip + queue check, 640x480 client", Measure(PresentTurn));
    SizeClient(kBigW, kBigH);
    client = Client();
    char name[64];
    std::snprintf(name, sizeof name, "StretchDIBits alone, %ldx%ld client", client.right,
                  client.bottom);
    PrintRow(name, MeasureStretch(pixels));
    std::snprintf(name, sizeof name, "flip + queue check, %ldx%ld client", client.right,
                  client.bottom);
    PrintRow(name, Measure(PresentTurn));
    SizeClient(kModeW, kModeH);
  }

  char name[64];
  std::snprintf(name, sizeof name, "paced 60/s, %g s, 640x480 client:", pacedSeconds);
  Paced(name);
  SizeClient(kBigW, kBigH);
  client = Client();
  std::snprintf(name, sizeof name, "paced 60/s, %g s, %ldx%ld client:", pacedSeconds, client.right,
                client.bottom);
  Paced(name);
  return 0;
}
