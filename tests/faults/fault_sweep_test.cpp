// Failure injection over whole runs of the host: every platform call whose
// result the host examines, and every record the host or the scene library
// allocates, fails in turn while a small game module runs start-up, a mode,
// two images, a scene and a few frames. Each row names the box the user
// must see and what the run does next; the sweep at the end fails every
// occurrence of every such call once and holds the run to the general rules
// (no crash, only known boxes, the shutdown box last, nothing left held).
// Leaks on the paths that free (the holder of an image that got no record,
// bitmaps and device contexts of a failed upload) fail the test program
// through LeakSanitizer at exit, or the balance checks below.
#include "sweep_module.h"

#include "bmp_writer.h"
#include "failing_new.h"
#include "host/startup.h"
#include "module/prog_instance.h"
#include "platform/soft/soft_device.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Boxes = std::vector<std::pair<std::string, std::string>>; // text, caption

const std::pair<std::string, std::string> kDestroy{"DESTROY!", "Error!"};
const std::pair<std::string, std::string> kHeadFailed{"Head image could not be loaded and/or found",
                                                      "Report"};
const std::pair<std::string, std::string> kImageFailed{"Image could not be loaded and/or found",
                                                       "Error!"};

// Every box text the host can show on these runs.
const std::set<std::string> kKnownTexts = {
    "Unexpected Windows error (hwnd was NULL).",
    "DirectDrawCreate failed",
    "QueryInterface failed",
    "SetCooperativeLevel failed",
    "API could not be initialized!",
    "prog.dll was not found or is not a valid DLL.",
    "VProgInterface and VProgProcedure was not found in prog.dll - invalid DLL",
    "VProgInterface was not found in prog.dll - invalid DLL",
    "VProgProcedure was not found in prog.dll - invalid DLL",
    "SetDisplayMode failed",
    "CreateSurface failed",
    "GetAttachedSurface failed",
    "Tried to restore primary surface and failed.",
    "Head image could not be loaded and/or found",
    "Image could not be loaded and/or found",
    "No memory to add ihead",
    "No memory to add VImg",
    "DESTROY!",
};

// The platform calls whose failure the host looks at, with the failure each
// one is given in the sweep: null for handles, a DirectDraw error otherwise.
const std::vector<std::pair<std::string, uint64_t>> kCanFail = {
    {"CreateWindowExA", 0},
    {"DirectDrawCreate", plat::E_FAIL},
    {"QueryInterface", plat::E_FAIL},
    {"SetCooperativeLevel", plat::DDERR_INVALIDPARAMS},
    {"LoadLibraryA", 0},
    {"GetProcAddress", 0},
    {"SetDisplayMode", plat::E_NOTIMPL},
    {"CreateSurface", plat::DDERR_OUTOFMEMORY},
    {"GetAttachedSurface", plat::DDERR_NOTFOUND},
    {"Flip", plat::E_FAIL},
    {"Restore", plat::E_FAIL},
    {"LoadImageA", 0},
    {"GetObjectA", 0},
    {"CreateCompatibleDC", 0},
    {"GetDC", plat::DDERR_SURFACELOST},
    {"Lock", plat::DDERR_SURFACEBUSY},
    {"SetColorKey", plat::DDERR_INVALIDPARAMS},
    {"Unlock", plat::DDERR_NOTLOCKED},
};

// Calls whose results the host does not examine: failing them changes
// nothing the user or the module sees.
const std::vector<std::pair<std::string, uint64_t>> kIgnored = {
    {"BltFast", plat::DDERR_SURFACELOST},
    {"Blt", plat::DDERR_SURFACELOST},
    {"BitBlt", 0},
    {"SelectObject", 0},
    {"DeleteDC", 0},
    {"DeleteObject", 0},
    {"UpdateWindow", 0},
    {"SetFocus", 0},
    {"FlipToGDISurface", plat::DDERR_SURFACELOST},
    // A coarser clock, or a display that may sleep: nothing the user is told.
    {"timeBeginPeriod", plat::TIMERR_NOCANDO},
    {"timeEndPeriod", plat::TIMERR_NOCANDO},
    {"SetThreadExecutionState", 0},
};

// A call whose result the host does not examine, but whose failure has a
// consequence: a surface whose device context was not given back stays
// busy, so the read lock that follows is refused and the load fails.
const std::vector<std::pair<std::string, uint64_t>> kKnockOn = {
    {"ReleaseDC", plat::E_FAIL},
};

plat::HINSTANCE Instance() {
  static char instance;
  return reinterpret_cast<plat::HINSTANCE>(&instance);
}

struct RunResult {
  int exitCode = 0;
  Boxes boxes;
  sweep::Seen seen;
  std::string debug;
  int flips = 0;
  int refusedAllocations = 0;
};

// What a row does to the platform before the run.
using Arrange = std::function<void()>;

// Fails the `occurrence`-th call of `name` (0 = the first) with `answer`.
Arrange FailNth(const std::string &name, int occurrence, uint64_t answer) {
  return [name, occurrence, answer] {
    auto count = std::make_shared<int>(0);
    td::OnCall(name, [name, occurrence, answer, count](const td::Call &) {
      if ((*count)++ == occurrence) {
        td::Script(name, {answer});
      }
    });
  };
}

// CreateSurface number `occurrence` answers DD_OK without a surface.
Arrange NoSurfaceAt(int occurrence) {
  return [occurrence] {
    auto count = std::make_shared<int>(0);
    td::OnCall("CreateSurface", [occurrence, count](const td::Call &) {
      if ((*count)++ == occurrence) {
        td::ScriptCreateSurfaceWithoutSurface(1);
      }
    });
  };
}

// Nothrow allocation number `index` of the run fails.
Arrange FailAllocation(int index) {
  return [index] { failnew::FailAllocation(index); };
}

class FaultRun : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    tiles = dir.File("tiles.bmp");
    sprite = dir.File("sprite.bmp");
    ASSERT_TRUE(bmp::WriteFile(tiles, bmp::Solid(32, 16, 0x3060C8)));
    ASSERT_TRUE(bmp::WriteFile(sprite, bmp::Solid(8, 8, 0xF0D830)));
  }
  void TearDown() override {
    failnew::Disarm();
    sweep::Prepare("", "");
    td::Reset();
  }

  // One whole run: start-up, three idle frames, the quit message, shutdown.
  RunResult RunWith(const Arrange &arrange) {
    td::Reset();
    sweep::Prepare(tiles, sprite);
    td::RegisterModule("prog.dll", sweep::Interface, sweep::Procedure);
    td::QuitAfterPeeks(3, 0);
    arrange();
    RunResult run;
    run.exitCode = vantrel::WinMain(Instance(), nullptr, nullptr, 5);
    run.refusedAllocations = failnew::Refused();
    failnew::Disarm();
    for (const td::Box &box : td::Boxes()) {
      run.boxes.emplace_back(box.text, box.caption);
    }
    run.seen = sweep::Last();
    run.debug = td::DebugOutput();
    run.flips = td::CountCalls("Flip");
    return run;
  }

  // Every bitmap, device context and lock that an upload obtained was given
  // back. `failed` names the call that was made to fail: a failed GetDC
  // hands out no context, and a failed Unlock or ReleaseDC leaves its
  // surface busy.
  static void ExpectNothingHeld(const std::string &failed = "") {
    EXPECT_EQ(td::CountCalls("DeleteObject"), td::CountCalls("GetObjectA"));
    EXPECT_EQ(td::CountCalls("DeleteDC"), td::CountCalls("SelectObject"));
    EXPECT_EQ(td::CountCalls("ReleaseDC"),
              td::CountCalls("GetDC") - (failed.rfind("GetDC", 0) == 0 ? 1 : 0));
    if (failed.rfind("Unlock", 0) == 0 || failed.rfind("ReleaseDC", 0) == 0) {
      return;
    }
    for (VImg *image = vantrel::prog.ihead; image != nullptr; image = image->next) {
      if (image->surf == nullptr || image->surf->surface == nullptr) {
        continue;
      }
      auto surface = static_cast<plat::Surface>(image->surf->surface);
      plat::DDSURFACEDESC2 desc{};
      desc.dwSize = sizeof desc;
      EXPECT_EQ(soft::Lock(surface, nullptr, &desc, plat::DDLOCK_READONLY, nullptr), plat::DD_OK)
          << image->name << " was left locked";
      EXPECT_EQ(soft::Unlock(surface, nullptr), plat::DD_OK);
    }
  }

  int ImagesOnList() const {
    int n = 0;
    for (VImg *image = vantrel::prog.ihead; image != nullptr; image = image->next) {
      ++n;
    }
    return n;
  }

  bmp::TempDir dir;
  std::string tiles;
  std::string sprite;
};

// ---------------------------------------------------------------------------
// The clean run, which every row departs from
// ---------------------------------------------------------------------------

TEST_F(FaultRun, CleanRunShowsOnlyTheShutdownBox) {
  const RunResult run = RunWith([] {});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.boxes, (Boxes{kDestroy}));
  EXPECT_EQ(run.seen.setMode, 1);
  EXPECT_NE(run.seen.head, nullptr);
  EXPECT_NE(run.seen.later, nullptr);
  EXPECT_TRUE(run.seen.layerMade && run.seen.cellsMade && run.seen.nodeMade);
  EXPECT_EQ(run.seen.codes.front(), EV_INIT);
  EXPECT_EQ(run.seen.codes.back(), EV_SHUTDOWN);
  EXPECT_GE(run.flips, 3);
  // The calls the rows below fail at a given occurrence come in this order.
  EXPECT_EQ(td::CountCalls("CreateSurface"), 3); // primary, tileset, sprite image
  EXPECT_EQ(td::CountCalls("LoadImageA"), 2);
  EXPECT_EQ(td::CountCalls("GetProcAddress"), 2);
  EXPECT_GE(td::CountCalls("BltFast"), 1);
  EXPECT_GE(td::CountCalls("Blt"), 1);
  ExpectNothingHeld();
}

// The records allocated with the failing allocator, in order: holder and
// image of the tileset, holder and image of the sprite image, the layer,
// the map's cells, the node. The allocation rows below count on it.
TEST_F(FaultRun, CleanRunAllocatesSevenRecords) {
  td::Reset();
  sweep::Prepare(tiles, sprite);
  td::RegisterModule("prog.dll", sweep::Interface, sweep::Procedure);
  td::QuitAfterPeeks(3, 0);
  failnew::FailAllocation(-1); // counts without failing
  vantrel::WinMain(Instance(), nullptr, nullptr, 5);
  EXPECT_EQ(failnew::Count(), 7);
  failnew::Disarm();
}

// ---------------------------------------------------------------------------
// Table: each failing call with the boxes and the outcome it must give
// ---------------------------------------------------------------------------

struct Row {
  const char *name;
  Arrange arrange;
  int exitCode;
  Boxes boxes;
  std::function<void(const RunResult &)> outcome; // further checks, may be empty
  std::string covers;                             // the call or record this row fails
};

// A failing row names itself in the test output, not as bytes.
void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

void NotStarted(const RunResult &run) {
  EXPECT_EQ(run.seen.interfaceCalls, 0);
  EXPECT_TRUE(run.seen.codes.empty());
}

void NoChain(const RunResult &run) {
  EXPECT_EQ(run.seen.setMode, 0);
  // The images still load on the device's first format, and frames asked
  // for without a chain present nothing.
  EXPECT_NE(run.seen.head, nullptr);
  EXPECT_NE(run.seen.later, nullptr);
  EXPECT_EQ(run.flips, 0);
  EXPECT_EQ(td::CountCalls("BltFast") + td::CountCalls("Blt"), 0);
}

// The tileset (the list's head) failed to load: it stays on the list, the
// sprite image behind it loads, and the run goes on to its end.
void HeadFailed(const RunResult &run) {
  EXPECT_EQ(run.seen.setMode, 1);
  EXPECT_EQ(run.seen.head, nullptr);
  EXPECT_NE(run.seen.later, nullptr);
  ASSERT_NE(vantrel::prog.ihead, nullptr);
  EXPECT_EQ(vantrel::prog.ihead->next, run.seen.later);
  EXPECT_GE(run.flips, 3);
}

void LaterFailed(const RunResult &run) {
  EXPECT_EQ(run.seen.setMode, 1);
  EXPECT_NE(run.seen.head, nullptr);
  EXPECT_EQ(run.seen.later, nullptr);
  ASSERT_NE(vantrel::prog.ihead, nullptr);
  EXPECT_NE(vantrel::prog.ihead->next, nullptr); // the failed image is on the list
  EXPECT_GE(run.flips, 3);
}

void AsClean(const RunResult &run) {
  EXPECT_EQ(run.seen.setMode, 1);
  EXPECT_NE(run.seen.head, nullptr);
  EXPECT_NE(run.seen.later, nullptr);
  EXPECT_GE(run.flips, 3);
}

// The records the host or the scene library allocates, each failed by a row.
const std::set<std::string> kRecords = {"VSurf", "VImg", "VMap cells", "VNode", "VLayer"};

class FaultTable : public FaultRun, public ::testing::WithParamInterface<Row> {};

TEST_P(FaultTable, ShowsItsBoxAndEndsAsChosen) {
  const Row &row = GetParam();
  const RunResult run = RunWith(row.arrange);
  // The row really made what it covers fail: a scripted failure was handed
  // to that call, or an allocation was refused.
  if (kRecords.count(row.covers) != 0) {
    EXPECT_GE(run.refusedAllocations, 1) << row.covers;
  } else {
    EXPECT_GE(td::ScriptedAnswersGiven(row.covers), 1) << row.covers << " never failed";
  }
  EXPECT_EQ(run.exitCode, row.exitCode);
  EXPECT_EQ(run.boxes, row.boxes);
  if (row.outcome) {
    row.outcome(run);
  }
  ExpectNothingHeld(row.name);
}

const std::vector<Row> &Rows() {
  static const std::vector<Row> rows = {
      // Start-up.
      {"CreateWindowExA", FailNth("CreateWindowExA", 0, 0), 1,
       Boxes{{"Unexpected Windows error (hwnd was NULL).", "Error!"}}, NotStarted,
       "CreateWindowExA"},
      {"DirectDrawCreate", FailNth("DirectDrawCreate", 0, plat::E_FAIL), 1,
       Boxes{{"DirectDrawCreate failed", "Error!"},
             {"API could not be initialized!", "Error!"},
             kDestroy},
       NotStarted, "DirectDrawCreate"},
      {"QueryInterface", FailNth("QueryInterface", 0, 0x80004002u /* E_NOINTERFACE */), 1,
       Boxes{{"QueryInterface failed", "Error!"},
             {"API could not be initialized!", "Error!"},
             kDestroy},
       NotStarted, "QueryInterface"},
      {"SetCooperativeLevel", FailNth("SetCooperativeLevel", 0, plat::DDERR_INVALIDPARAMS), 1,
       Boxes{{"SetCooperativeLevel failed", "Error!"},
             {"API could not be initialized!", "Error!"},
             kDestroy},
       NotStarted, "SetCooperativeLevel"},
      {"LoadLibraryA", FailNth("LoadLibraryA", 0, 0), 1,
       Boxes{{"prog.dll was not found or is not a valid DLL.", "Error!"}, kDestroy}, NotStarted,
       "LoadLibraryA"},
      {"GetProcAddressInterface", FailNth("GetProcAddress", 0, 0), 1,
       Boxes{{"VProgInterface was not found in prog.dll - invalid DLL", "Error!"}, kDestroy},
       [](const RunResult &run) {
         // The procedure was found, so it hears the shutdown and nothing else.
         EXPECT_EQ(run.seen.interfaceCalls, 0);
         EXPECT_EQ(run.seen.codes, std::vector<int32_t>{EV_SHUTDOWN});
       },
       "GetProcAddress"},
      {"GetProcAddressProcedure", FailNth("GetProcAddress", 1, 0), 1,
       Boxes{{"VProgProcedure was not found in prog.dll - invalid DLL", "Error!"}, kDestroy},
       NotStarted, "GetProcAddress"},
      {"GetProcAddressBoth",
       [] {
         td::OnCall("GetProcAddress", [](const td::Call &) { td::Script("GetProcAddress", {0}); });
       },
       1,
       Boxes{
           {"VProgInterface and VProgProcedure was not found in prog.dll - invalid DLL", "Error!"},
           kDestroy},
       NotStarted, "GetProcAddress"},

      // The display mode and its chain.
      {"SetDisplayMode", FailNth("SetDisplayMode", 0, plat::E_NOTIMPL), 0,
       Boxes{{"SetDisplayMode failed", "Error!"}, kDestroy}, NoChain, "SetDisplayMode"},
      {"CreateSurfacePrimary", FailNth("CreateSurface", 0, plat::DDERR_OUTOFMEMORY), 0,
       Boxes{{"CreateSurface failed", "Error!"}, kDestroy}, NoChain, "CreateSurface"},
      {"CreateSurfacePrimaryWithoutSurface", NoSurfaceAt(0), 0,
       Boxes{{"CreateSurface failed", "Error!"}, kDestroy}, NoChain, "CreateSurface"},
      {"GetAttachedSurface", FailNth("GetAttachedSurface", 0, plat::DDERR_NOTFOUND), 0,
       Boxes{{"GetAttachedSurface failed", "Error!"}, kDestroy}, NoChain, "GetAttachedSurface"},

      // Presentation.
      {"FlipFails", FailNth("Flip", 0, plat::E_FAIL), 0, Boxes{kDestroy}, AsClean, "Flip"},
      {"FlipLostRestored",
       [] {
         FailNth("Flip", 0, plat::DDERR_SURFACELOST)();
         td::Script("Restore", {plat::DD_OK});
       },
       0, Boxes{kDestroy}, AsClean, "Flip"},
      {"RestoreFails",
       [] {
         FailNth("Flip", 0, plat::DDERR_SURFACELOST)();
         FailNth("Restore", 0, plat::E_FAIL)();
       },
       0, Boxes{{"Tried to restore primary surface and failed.", "Error!"}, kDestroy, kDestroy},
       [](const RunResult &run) {
         // The module heard EV_SHUTDOWN in the middle of the run, which went on.
         int shutdowns = 0;
         for (int32_t code : run.seen.codes) {
           shutdowns += code == EV_SHUTDOWN ? 1 : 0;
         }
         EXPECT_EQ(shutdowns, 2);
         EXPECT_GE(run.seen.framesAfterShutdown, 1);
         EXPECT_EQ(td::CountCalls("Restore"), 1);
       },
       "Restore"},

      // Images: the tileset is the list's head (a Report box), the sprite
      // image a later one (an Error! box).
      {"LoadImageAHead", FailNth("LoadImageA", 0, 0), 0, Boxes{kHeadFailed, kDestroy}, HeadFailed,
       "LoadImageA"},
      {"LoadImageALater", FailNth("LoadImageA", 1, 0), 0, Boxes{kImageFailed, kDestroy},
       LaterFailed, "LoadImageA"},
      {"GetObjectAHead", FailNth("GetObjectA", 0, 0), 0, Boxes{kHeadFailed, kDestroy}, HeadFailed,
       "GetObjectA"},
      {"GetObjectALater", FailNth("GetObjectA", 1, 0), 0, Boxes{kImageFailed, kDestroy},
       LaterFailed, "GetObjectA"},
      {"CreateSurfaceHead", FailNth("CreateSurface", 1, plat::DDERR_OUTOFMEMORY), 0,
       Boxes{kHeadFailed, kDestroy}, HeadFailed, "CreateSurface"},
      {"CreateSurfaceLater", FailNth("CreateSurface", 2, plat::DDERR_OUTOFMEMORY), 0,
       Boxes{kImageFailed, kDestroy}, LaterFailed, "CreateSurface"},
      {"CreateSurfaceHeadWithoutSurface", NoSurfaceAt(1), 0, Boxes{kHeadFailed, kDestroy},
       HeadFailed, "CreateSurface"},
      {"CreateSurfaceLaterWithoutSurface", NoSurfaceAt(2), 0, Boxes{kImageFailed, kDestroy},
       LaterFailed, "CreateSurface"},
      {"CreateCompatibleDC", FailNth("CreateCompatibleDC", 0, 0), 0, Boxes{kDestroy},
       [](const RunResult &run) {
         // Only a line on the debugger output; the upload goes on.
         EXPECT_EQ(run.debug, "CreateCompatableDC failed\n");
         AsClean(run);
       },
       "CreateCompatibleDC"},
      {"GetDCHead", FailNth("GetDC", 0, plat::DDERR_SURFACELOST), 0, Boxes{kHeadFailed, kDestroy},
       HeadFailed, "GetDC"},
      {"GetDCLater", FailNth("GetDC", 1, plat::DDERR_SURFACELOST), 0, Boxes{kImageFailed, kDestroy},
       LaterFailed, "GetDC"},
      {"LockHead", FailNth("Lock", 0, plat::DDERR_SURFACEBUSY), 0, Boxes{kHeadFailed, kDestroy},
       HeadFailed, "Lock"},
      {"LockLater", FailNth("Lock", 1, plat::DDERR_WASSTILLDRAWING), 0,
       Boxes{kImageFailed, kDestroy}, LaterFailed, "Lock"},
      {"SetColorKeyHead", FailNth("SetColorKey", 0, plat::DDERR_INVALIDPARAMS), 0,
       Boxes{kHeadFailed, kDestroy}, HeadFailed, "SetColorKey"},
      {"SetColorKeyLater", FailNth("SetColorKey", 1, plat::DDERR_INVALIDPARAMS), 0,
       Boxes{kImageFailed, kDestroy}, LaterFailed, "SetColorKey"},
      {"ReleaseDCHead", FailNth("ReleaseDC", 0, plat::E_FAIL), 0, Boxes{kHeadFailed, kDestroy},
       HeadFailed, "ReleaseDC"},
      {"ReleaseDCLater", FailNth("ReleaseDC", 1, plat::E_FAIL), 0, Boxes{kImageFailed, kDestroy},
       LaterFailed, "ReleaseDC"},
      {"UnlockHead", FailNth("Unlock", 0, plat::DDERR_NOTLOCKED), 0, Boxes{kHeadFailed, kDestroy},
       HeadFailed, "Unlock"},
      {"UnlockLater", FailNth("Unlock", 1, plat::DDERR_NOTLOCKED), 0, Boxes{kImageFailed, kDestroy},
       LaterFailed, "Unlock"},

      // Records from the failing allocator, in the order of the clean run.
      {"NoMemoryHeadHolder", FailAllocation(0), 0, Boxes{kHeadFailed, kDestroy},
       [](const RunResult &run) {
         HeadFailed(run);
         EXPECT_EQ(vantrel::prog.ihead->surf, nullptr);
         EXPECT_EQ(td::CountCalls("LoadImageA"), 1); // only the sprite image's
       },
       "VSurf"},
      {"NoMemoryHeadImage", FailAllocation(1), 0,
       Boxes{{"No memory to add ihead", "Error!"}, kDestroy},
       [](const RunResult &run) {
         // The sprite image, added next, became the head; the holder of the
         // failed one was freed (LeakSanitizer would say otherwise).
         EXPECT_EQ(run.seen.head, nullptr);
         ASSERT_NE(run.seen.later, nullptr);
         EXPECT_EQ(vantrel::prog.ihead, run.seen.later);
         EXPECT_EQ(td::CountCalls("LoadImageA"), 1);
       },
       "VImg"},
      {"NoMemoryLaterHolder", FailAllocation(2), 0, Boxes{kImageFailed, kDestroy},
       [](const RunResult &run) {
         LaterFailed(run);
         EXPECT_EQ(vantrel::prog.ihead->next->surf, nullptr);
       },
       "VSurf"},
      {"NoMemoryLaterImage", FailAllocation(3), 0,
       Boxes{{"No memory to add VImg", "Error!"}, kDestroy},
       [](const RunResult &run) {
         EXPECT_NE(run.seen.head, nullptr);
         EXPECT_EQ(run.seen.later, nullptr);
         EXPECT_EQ(vantrel::prog.ihead->next, nullptr);
       },
       "VImg"},
      {"NoMemoryLayer", FailAllocation(4), 0, Boxes{kDestroy},
       [](const RunResult &run) {
         // NewLayer answers null; the module goes on without a scene and
         // the frames present an empty one.
         EXPECT_FALSE(run.seen.layerMade);
         EXPECT_EQ(vantrel::prog.layers, nullptr);
         EXPECT_GE(run.flips, 3);
       },
       "VLayer"},
      {"NoMemoryCells", FailAllocation(5), 0, Boxes{kDestroy},
       [](const RunResult &run) {
         // A map without cells draws nothing; the sprite above it still draws.
         EXPECT_TRUE(run.seen.layerMade);
         EXPECT_FALSE(run.seen.cellsMade);
         EXPECT_TRUE(run.seen.nodeMade);
         EXPECT_EQ(td::CountCalls("BltFast"), 0);
         EXPECT_GE(td::CountCalls("Blt"), 3);
       },
       "VMap cells"},
      {"NoMemoryNode", FailAllocation(6), 0, Boxes{kDestroy},
       [](const RunResult &run) {
         EXPECT_TRUE(run.seen.cellsMade);
         EXPECT_FALSE(run.seen.nodeMade);
         EXPECT_EQ(td::CountCalls("Blt"), 0);
         EXPECT_GE(td::CountCalls("BltFast"), 12 * 3); // the 4 x 3 map, every frame
       },
       "VNode"},
  };
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EachFailure, FaultTable, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row> &row) {
                           return std::string(row.param.name);
                         });

// Calls every run makes that the sweep does not fail: the message queue and
// the clock (the main loop's own tests drive them), boxes and debug output,
// window set-up whose answers the host passes on without looking, and the
// release of surfaces. A call the host starts making must be put here or in
// one of the tables above.
const std::set<std::string> kNotSwept = {
    "PeekMessageA", "GetMessageA",        "TranslateMessage", "DispatchMessageA",
    "WaitMessage",  "PostQuitMessage",    "DefWindowProcA",   "timeGetTime",
    "MessageBoxA",  "OutputDebugStringA", "GetModuleHandleA", "RegisterClassA",
    "LoadIconA",    "LoadCursorA",        "GetStockObject",   "GetSystemMetrics",
    "ShowWindow",   "SetCursor",          "ReleaseSurface",   "IsWindow"};

// Every call a clean run makes is classed in one of the tables above, so a
// call the host starts making joins the sweep; every call the tables name is
// made, so the sweep fails it for real; and every call that can fail, and
// every record, has a row (each row checks that its failure happened).
TEST_F(FaultRun, EveryFailingCallHasARow) {
  RunWith([] {});
  std::set<std::string> classed(kNotSwept);
  for (const auto &[call, answer] : kCanFail) {
    classed.insert(call); // made on a clean run, or only after another failure (Restore)
  }
  for (const auto *table : {&kIgnored, &kKnockOn}) {
    for (const auto &[call, answer] : *table) {
      classed.insert(call);
      EXPECT_GE(td::CountCalls(call), 1) << call << " is never made, so never swept";
    }
  }
  for (const std::string &name : td::CallNames()) {
    EXPECT_EQ(classed.count(name), 1u) << name << " is made but in no table";
  }

  std::set<std::string> covered;
  for (const Row &row : Rows()) {
    covered.insert(row.covers);
  }
  std::vector<std::string> required;
  for (const auto &[call, answer] : kCanFail) {
    required.push_back(call);
  }
  required.insert(required.end(), kRecords.begin(), kRecords.end());
  std::vector<std::string> missing;
  for (const std::string &what : required) {
    if (covered.count(what) == 0) {
      missing.push_back(what);
    }
  }
  EXPECT_TRUE(missing.empty()) << "no row for " << ::testing::PrintToString(missing);
  std::printf("failure table: %zu rows; %zu of %zu calls and records that can fail have a row\n",
              Rows().size(), required.size() - missing.size(), required.size());
}

// ---------------------------------------------------------------------------
// The sweep: every occurrence of every call, each failed once
// ---------------------------------------------------------------------------

// The general rules every run keeps, whatever failed.
void ExpectSound(const RunResult &run, const std::string &what) {
  SCOPED_TRACE(what);
  EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode;
  for (const auto &[text, caption] : run.boxes) {
    EXPECT_EQ(kKnownTexts.count(text), 1u) << "unknown box " << text;
  }
  ASSERT_FALSE(run.boxes.empty());
  const bool noWindow = run.exitCode == 1 && run.boxes.size() == 1;
  if (!noWindow) {
    EXPECT_EQ(run.boxes.back(), kDestroy);
  }
  // A failed start stops before the module's first event; a started run
  // ends with the shutdown event.
  if (run.exitCode == 0) {
    EXPECT_EQ(run.seen.codes.front(), EV_INIT);
    EXPECT_EQ(run.seen.codes.back(), EV_SHUTDOWN);
  }
}

TEST_F(FaultRun, EveryOccurrenceOfEveryCallFailsInTurn) {
  // How often each call comes in a clean run.
  RunWith([] {});
  std::map<std::string, int> occurrences;
  for (const auto &[call, answer] : kCanFail) {
    occurrences[call] = td::CountCalls(call);
  }
  for (const auto &[call, answer] : kIgnored) {
    occurrences[call] = td::CountCalls(call);
  }
  for (const auto &[call, answer] : kKnockOn) {
    occurrences[call] = td::CountCalls(call);
  }
  const int allocations = 7;

  int runs = 0;
  for (const auto &[call, answer] : kCanFail) {
    for (int k = 0; k < std::min(occurrences[call], 6); ++k) {
      const std::string what = call + " #" + std::to_string(k);
      const RunResult run = RunWith(FailNth(call, k, answer));
      ExpectSound(run, what);
      ExpectNothingHeld(call);
      ++runs;
    }
  }
  for (const auto &[call, answer] : kKnockOn) {
    for (int k = 0; k < occurrences[call]; ++k) {
      const RunResult run = RunWith(FailNth(call, k, answer));
      ExpectSound(run, call + " #" + std::to_string(k));
      ExpectNothingHeld(call);
      ++runs;
    }
  }
  for (const auto &[call, answer] : kIgnored) {
    for (int k = 0; k < std::min(occurrences[call], 6); ++k) {
      const std::string what = call + " #" + std::to_string(k) + " (result not examined)";
      const RunResult run = RunWith(FailNth(call, k, answer));
      SCOPED_TRACE(what);
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_EQ(run.boxes, (Boxes{kDestroy}));
      AsClean(run);
      ++runs;
    }
  }
  for (int i = 0; i < allocations; ++i) {
    const RunResult run = RunWith(FailAllocation(i));
    ExpectSound(run, "allocation #" + std::to_string(i));
    EXPECT_EQ(run.exitCode, 0);
    ExpectNothingHeld();
    ++runs;
  }
  // Several calls that can fail, all failing in one run.
  const RunResult all = RunWith([] {
    FailNth("LoadImageA", 0, 0)();
    FailNth("Lock", 0, plat::DDERR_SURFACEBUSY)();
    FailNth("Flip", 0, plat::DDERR_SURFACELOST)();
    td::Script("Restore", {plat::E_FAIL, plat::E_FAIL});
    failnew::FailAllocation(5);
  });
  ExpectSound(all, "several at once");
  ++runs;
  std::printf("failure sweep: %d runs\n", runs);
}

} // namespace
