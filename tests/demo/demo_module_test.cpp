// The built demo module, prog.dll, driven through its two exports by a
// stand-in for the host: what it asks of the host, and what it answers.
#include "demo_layout.h"
#include "vantrel.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// The stand-in host: callbacks that record what the module asks for.
// ---------------------------------------------------------------------------
struct HostLog {
  std::vector<std::string> calls; // "SetMode 640x480x16", "AddImage <file> 3101", "Report <text>"
  bool refuseMode = false;
  std::vector<VImg *> images;
};
HostLog host;

int32_t SetModeCb(int32_t w, int32_t h, int32_t bpp) {
  host.calls.push_back("SetMode " + std::to_string(w) + "x" + std::to_string(h) + "x" +
                       std::to_string(bpp));
  return host.refuseMode ? 0 : 1;
}

// Like the host: every call appends an image; it answers it only when the
// file exists.
VImg *AddImageCb(const char *file, int32_t flag) {
  host.calls.push_back(std::string("AddImage ") + file + " " + std::to_string(flag));
  VImg *img = new VImg(new VSurf(), file, flag);
  host.images.push_back(img);
  return fs::exists(file) ? img : nullptr;
}

// The Win32 calls the demo makes, as the host program serves them: these
// stand-ins are exported from the test program (ENABLE_EXPORTS), and the
// module resolves them here when it is loaded.
std::vector<std::string> sounds; // "<file> 0x<flags>"
uint16_t shiftState = 0;

extern "C" int PlaySoundA(const char *sound, void *, uint32_t flags) {
  char hex[16];
  std::snprintf(hex, sizeof hex, " 0x%08X", flags);
  sounds.push_back(std::string(sound != nullptr ? sound : "NULL") + hex);
  return 1;
}
extern "C" short GetKeyState(int vk) { return static_cast<short>(vk == 0x10 ? shiftState : 0); }

int32_t DrawMapCb(VMap *) { return 1; }
int32_t DrawSpriteCb(VSprite *) { return 1; }
int32_t ReportCb(const char *text) {
  host.calls.push_back(std::string("Report ") + text);
  return 1;
}

// One loaded copy of the module. dlopen shares a library loaded twice from
// one path, so each test that needs fresh module state loads its own copy.
struct Module {
  void *lib = nullptr;
  VProgInterfaceFn init = nullptr;
  VProgProcedureFn proc = nullptr;
  VProg prog;

  explicit Module(const fs::path &file) {
    lib = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (lib != nullptr) {
      init = reinterpret_cast<VProgInterfaceFn>(dlsym(lib, "VProgInterface"));
      proc = reinterpret_cast<VProgProcedureFn>(dlsym(lib, "VProgProcedure"));
    }
    prog.SetMode = SetModeCb;
    prog.DrawMap = DrawMapCb;
    prog.AddImage = AddImageCb;
    prog.DrawSprite = DrawSpriteCb;
    prog.Report = ReportCb;
  }
  // The library stays loaded, as the host keeps it; the images are ours.
  ~Module() {
    for (VImg *img : host.images) {
      delete img;
    }
    host = HostLog();
    sounds.clear();
    shiftState = 0;
  }

  int32_t Send(int32_t code, int32_t elapsed = 0) {
    prog.event.code = code;
    return proc(elapsed);
  }
  int32_t Key(uint8_t key) {
    prog.event.key = key;
    return Send(EV_KEYDOWN);
  }
};

// A fresh copy of the demo in a folder of its own (unique to this process,
// removed at the end of the test), with or without its bitmaps.
struct DemoCopy {
  fs::path dir;
  DemoCopy(const std::string &name, bool withBitmaps) {
    const fs::path from = fs::path(DEMO_MODULE).parent_path();
    dir = fs::temp_directory_path() /
          ("vantrel_demo_" + name + "_" + std::to_string(static_cast<long>(getpid())));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(from / "prog.dll", dir / "prog.dll");
    if (withBitmaps) {
      fs::copy_file(from / demo::kTilesFile, dir / demo::kTilesFile);
      fs::copy_file(from / demo::kSpritesFile, dir / demo::kSpritesFile);
      fs::copy_file(from / demo::kFontFile, dir / demo::kFontFile);
    }
  }
  ~DemoCopy() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

TEST(DemoModule, ExportsBothEntryPointsUnderPlainNames) {
  Module m(DEMO_MODULE);
  ASSERT_NE(m.lib, nullptr) << dlerror();
  EXPECT_NE(m.init, nullptr);
  EXPECT_NE(m.proc, nullptr);
  EXPECT_EQ(fs::path(DEMO_MODULE).filename(), "prog.dll");
}

TEST(DemoModule, RefusesANullRecord) {
  const DemoCopy copy("null", false);
  const fs::path &dir = copy.dir;
  Module m(dir / "prog.dll");
  ASSERT_NE(m.init, nullptr);
  EXPECT_EQ(m.init(nullptr), 0);
  // Without a record the procedure does nothing and asks for no frame.
  EXPECT_EQ(m.proc(100), 0);
  EXPECT_TRUE(host.calls.empty());
}

TEST(DemoModule, AWholeRun) {
  const DemoCopy copy("run", true);
  const fs::path &dir = copy.dir;
  Module m(dir / "prog.dll");
  ASSERT_NE(m.init, nullptr);
  EXPECT_NE(m.init(&m.prog), 0);
  EXPECT_LE(m.prog.version, MODULE_VERSION_MAX);

  // Start: the mode first, then the tileset, then the sprites and the font,
  // found next to prog.dll whatever the current folder.
  EXPECT_EQ(m.Send(EV_INIT), 0);
  const std::vector<std::string> start = {
      "SetMode 640x480x16",
      "AddImage " + (dir / "tiles.bmp").string() + " 3101",
      "AddImage " + (dir / "sprites.bmp").string() + " 3101",
      "AddImage " + (dir / "vantrel-font.bmp").string() + " 3101",
  };
  EXPECT_EQ(host.calls, start);
  ASSERT_NE(m.prog.layers, nullptr);
  VLayer *back = m.prog.layers;
  ASSERT_NE(back->next, nullptr);
  VLayer *front = back->next;
  ASSERT_NE(back->map, nullptr);
  ASSERT_NE(front->map, nullptr);
  ASSERT_NE(front->next, nullptr);
  VLayer *hud = front->next;
  // Every sprite uses the second image (the first is the tileset); the
  // score on the layer over them, the font.
  int scoreChars = 0;
  for (VNode *n = hud->first; n != nullptr; n = n->next) {
    if (n->sprite->state != HIDDEN) { // the space is hidden
      EXPECT_EQ(n->sprite->image, host.images.at(2));
      ++scoreChars;
    }
  }
  EXPECT_EQ(scoreChars, 11); // "SCORE 000000"
  for (VLayer *l : {back, front}) {
    for (VNode *n = l->first; n != nullptr; n = n->next) {
      EXPECT_EQ(n->sprite->image, host.images.at(1));
    }
  }

  // Pacing: idle turns of 1 ms give a frame every 1/60 s.
  int frames = 0;
  for (int i = 0; i < 1000; ++i) {
    frames += m.Send(EV_FRAME, 1) != 0 ? 1 : 0;
  }
  EXPECT_EQ(frames, 60);

  // Input.
  m.Key(0x27); // Right
  m.Key(0x28); // Down
  EXPECT_EQ(back->map->x, -demo::kScrollStep);
  EXPECT_EQ(back->map->y, -demo::kScrollStep);
  shiftState = 0x8000; // Shift held down: four steps at a time
  m.Key(0x27);
  EXPECT_EQ(back->map->x, -5 * demo::kScrollStep);
  shiftState = 0x0001; // up again (toggled)
  m.Key(0x25);
  EXPECT_EQ(back->map->x, -4 * demo::kScrollStep);
  m.Key(0x48); // H
  EXPECT_EQ(front->map->state, HIDDEN);
  m.Key(0x48);
  EXPECT_NE(front->map->state, HIDDEN);

  m.prog.event.mouseX = 100;
  m.prog.event.mouseY = 50;
  m.Send(EV_MOUSEMOVE);
  const VSprite *cursor = front->last->sprite;
  EXPECT_EQ(cursor->dstX, 100 - demo::kCursorHotX);
  EXPECT_EQ(cursor->dstY, 50 - demo::kCursorHotY);

  // A left click drops a sprite under the pointer, just below the cursor;
  // a right click there moves it to the back layer.
  m.Send(EV_LBUTTONDOWN);
  VNode *dropped = front->last->prev;
  EXPECT_EQ(dropped->sprite->dstX, 100 - 16);
  m.Send(EV_LBUTTONUP);
  m.Send(EV_RBUTTONDOWN);
  EXPECT_EQ(dropped->owner, back);
  EXPECT_EQ(back->last, dropped);
  // Each change plays its sound at once, as a file, with no default sound.
  const std::string async = " 0x00020003"; // SND_FILENAME | SND_ASYNC | SND_NODEFAULT
  EXPECT_EQ(sounds, (std::vector<std::string>{(dir / "drop.wav").string() + async,
                                              (dir / "swap.wav").string() + async}));

  // F1 shows the help through the Report slot.
  host.calls.clear();
  m.Key(0x70);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].rfind("Report Vantrel demo", 0), 0u);
  EXPECT_NE(host.calls[0].find("Arrow keys"), std::string::npos);

  // Shutdown: the scene comes off prog and is freed (LeakSanitizer checks
  // the freeing); later calls draw nothing and touch nothing.
  EXPECT_EQ(m.Send(EV_SHUTDOWN), 0);
  EXPECT_EQ(m.prog.layers, nullptr);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(m.Send(EV_FRAME, 20), 0);
  }
  EXPECT_EQ(m.Key(0x27), 0);
}

TEST(DemoModule, MissingBitmapsAreReportedAndNothingIsDrawn) {
  const DemoCopy copy("nobitmaps", false);
  const fs::path &dir = copy.dir;
  Module m(dir / "prog.dll");
  ASSERT_NE(m.init, nullptr);
  m.init(&m.prog);
  m.Send(EV_INIT);
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[1], "AddImage " + (dir / "tiles.bmp").string() + " 3101");
  EXPECT_EQ(host.calls[2], "Report The demo needs tiles.bmp, sprites.bmp and vantrel-font.bmp "
                           "next to prog.dll.");
  EXPECT_EQ(m.prog.layers, nullptr);
  EXPECT_EQ(m.Send(EV_FRAME, 1000), 0);
  EXPECT_EQ(m.Send(EV_SHUTDOWN), 0);
}

TEST(DemoModule, RefusedModeLoadsNothingAndDrawsNothing) {
  const DemoCopy copy("nomode", true);
  const fs::path &dir = copy.dir;
  Module m(dir / "prog.dll");
  ASSERT_NE(m.init, nullptr);
  m.init(&m.prog);
  host.refuseMode = true;
  m.Send(EV_INIT);
  EXPECT_EQ(host.calls, std::vector<std::string>{"SetMode 640x480x16"});
  EXPECT_EQ(m.prog.layers, nullptr);
  EXPECT_EQ(m.Send(EV_FRAME, 1000), 0);
  m.prog.event.mouseX = 5;
  EXPECT_EQ(m.Send(EV_MOUSEMOVE, 1000), 0);
}

} // namespace
