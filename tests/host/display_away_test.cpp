// Switching away and back: while another program holds the display nothing
// is drawn, flipped or restored and no box is shown; input still reaches the
// module; once the display is the host's again the module's mode comes back
// if it was changed, the chain is restored, the images reloaded, and the
// scene is whole on the next frame. Only a restore that fails while the
// display is the host's is reported.
#include "bmp_writer.h"
#include "fake_module.h"

#include "display/display_state.h"
#include "host/host_state.h"
#include "host/startup.h"
#include "platform/soft/soft_device.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr int32_t kSpriteAt = 8;

int RunHost() { return vantrel::WinMain(nullptr, nullptr, nullptr, 1); }

// The scene of the module below is on the screen: its one sprite, red where
// its image is not keyed.
bool SceneShown() {
  const plat::Surface shown = soft::Primary();
  for (int32_t y = 1; y < 16; ++y) {
    for (int32_t x = 1; x < 16; ++x) {
      if (soft::PixelRgb(shown, kSpriteAt + x, kSpriteAt + y) != kRed) {
        return false;
      }
    }
  }
  return true;
}

int CountOf(const std::vector<std::string> &names) {
  int n = 0;
  for (const std::string &name : names) {
    n += td::CountCalls(name);
  }
  return n;
}

const std::vector<std::string> kDrawing = {"Flip", "Restore", "BltFast", "Blt", "SetDisplayMode"};

struct Row {
  const char *what;
  std::function<void()> away; // during the third frame, before it is drawn
  std::function<void()> back; // at the second wait while away
  const char *wait;           // how the host waits while away
  int modeSets;               // SetDisplayMode calls in the whole run
  std::vector<std::string> boxes;
};

void Lose() { ASSERT_TRUE(soft::LoseExclusiveMode()); }
void Deactivate() { td::Post(plat::WM_ACTIVATEAPP, 0); }
void Activate() { td::Post(plat::WM_ACTIVATEAPP, 1); }

const char *const kRestoreFailed = "Tried to restore primary surface and failed.";

std::vector<Row> Rows() {
  return {
      {"switched away and back",
       [] {
         Lose();
         Deactivate();
       },
       [] {
         soft::RegainExclusiveMode();
         Activate();
       },
       "WaitMessage",
       1,
       {"DESTROY!"}},
      {"lock screen: lost with no deactivation",
       Lose,
       [] { soft::RegainExclusiveMode(); },
       "MsgWaitForMultipleObjects",
       1,
       {"DESTROY!"}},
      {"another program changed the mode",
       [] {
         Lose();
         soft::ChangeModeElsewhere(800, 600, 32);
         Deactivate();
       },
       [] {
         soft::RegainExclusiveMode();
         Activate();
       },
       "WaitMessage",
       2,
       {"DESTROY!"}},
      {"a mode changed under the lock screen",
       [] {
         Lose();
         soft::ChangeModeElsewhere(640, 480, 8);
       },
       [] { soft::RegainExclusiveMode(); },
       "MsgWaitForMultipleObjects",
       2,
       {"DESTROY!"}},
      {"the restore fails while the display is ours",
       [] {
         Lose();
         Deactivate();
       },
       [] {
         soft::RegainExclusiveMode();
         td::Script("Restore", {plat::E_FAIL});
         Activate();
       },
       "WaitMessage",
       1,
       {kRestoreFailed, "DESTROY!", "DESTROY!"}},
      {"taken again between the test and the restore",
       [] {
         Lose();
         Deactivate();
       },
       [] {
         soft::RegainExclusiveMode();
         td::OnCall("Restore", [](const td::Call &) {
           td::OnCall("Restore", nullptr);
           soft::LoseExclusiveMode();
         });
         Activate();
       },
       "WaitMessage",
       1,
       {"DESTROY!"}},
  };
}

class DisplayAway : public ::testing::Test {
protected:
  void SetUp() override {
    fake::Install();
    bmp::Image image = bmp::Solid(16, 16, kRed);
    image.pixels[0] = 0x000000; // the key
    file = dir.File("red.bmp");
    ASSERT_TRUE(bmp::WriteFile(file, image));
  }
  void TearDown() override {
    td::Reset();
    DropNode();
  }

  void DropNode() {
    if (node != nullptr) {
      node->Unlink();
      delete node;
      node = nullptr;
    }
  }

  // A module that sets 320 x 240 x 16, loads one image, shows it as one
  // sprite and asks for a frame on every call.
  void InstallModule() {
    DropNode();
    const std::string path = file;
    fake::M().onInterface = [this, path](VProg *record) {
      ASSERT_EQ(record->SetMode(320, 240, 16), 1);
      VImg *image = record->AddImage(path.c_str(), IMG_LOAD);
      ASSERT_NE(image, nullptr);
      sprite = VSprite(image, 0, 0, 16, 16, kSpriteAt, kSpriteAt, 16, 16, SPR_SHOWN);
      node = layer.Add(1, 0, 0);
      ASSERT_NE(node, nullptr);
      node->sprite = &sprite;
      record->layers = &layer;
    };
    fake::M().procedureAnswer = 1;
  }

  bmp::TempDir dir;
  std::string file;
  VSprite sprite;
  VLayer layer;
  VNode *node = nullptr;
};

TEST_F(DisplayAway, EverySequenceComesBackWithTheSceneAndNoBoxForTheSwitch) {
  for (const Row &row : Rows()) {
    SCOPED_TRACE(row.what);
    fake::Install();
    InstallModule();
    int frames = 0;
    int waits = 0;
    int drawingAtFirstWait = -1;
    int drawingWhileAway = 0;
    bool shownBeforeAway = false;
    bool shownAfter = false;
    fake::M().onProcedure = [&](const fake::ProcCall &call) {
      if (call.event.code != EV_FRAME) {
        return;
      }
      ++frames;
      if (frames == 3) {
        shownBeforeAway = SceneShown();
        row.away();
      } else if (frames == 6) {
        shownAfter = SceneShown(); // the frames since the return presented
        plat::PostQuitMessage(0);
      }
    };
    td::OnWait([&] {
      ++waits;
      if (waits == 1) {
        drawingAtFirstWait = CountOf(kDrawing);
        td::Post(plat::WM_MOUSEMOVE, 0, 0x00140064); // input still arrives
      } else if (waits == 2) {
        drawingWhileAway = CountOf(kDrawing) - drawingAtFirstWait;
        row.back();
      } else {
        // Taken again: let go of it once more.
        soft::RegainExclusiveMode();
        if (vantrel::active == 0) {
          Activate();
        }
      }
    });

    EXPECT_EQ(RunHost(), 0);
    EXPECT_TRUE(shownBeforeAway);
    EXPECT_TRUE(shownAfter) << "the scene did not come back";
    EXPECT_EQ(drawingWhileAway, 0) << "drew, flipped or restored while away";
    EXPECT_GE(td::CountCalls(row.wait), 2);
    EXPECT_EQ(td::CountCalls("WaitMessage") + td::CountCalls("MsgWaitForMultipleObjects"), waits);
    std::vector<std::string> texts;
    for (const td::Box &box : td::Boxes()) {
      texts.push_back(box.text);
    }
    EXPECT_EQ(texts, row.boxes);
    EXPECT_EQ(td::CountCalls("SetDisplayMode"), row.modeSets);
    for (const td::Call &call : td::CallsNamed("SetDisplayMode")) {
      EXPECT_EQ(std::vector<int64_t>(call.args.begin() + 1, call.args.end()),
                (std::vector<int64_t>{320, 240, 16, 0, 0}));
    }
    // The image was read once at the start and once after the return.
    EXPECT_GE(td::CountCalls("LoadImageA"), 2);
    const std::vector<int32_t> codes = fake::M().Codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), EV_MOUSEMOVE), codes.end());
    // A timed wait asks for every kind of message and no handle.
    for (const td::Call &call : td::CallsNamed("MsgWaitForMultipleObjects")) {
      EXPECT_EQ(call.args, (std::vector<int64_t>{0, 0, 0, 100, plat::QS_ALLINPUT}));
    }
  }
}

// A deactivation that loses nothing (a window that shares the display) gives
// the display back as it was: nothing is restored or reloaded.
TEST_F(DisplayAway, ADeactivationThatLosesNothingRestoresNothing) {
  InstallModule();
  int frames = 0;
  fake::M().onProcedure = [&frames](const fake::ProcCall &call) {
    if (call.event.code == EV_FRAME && ++frames == 2) {
      Deactivate();
    } else if (frames == 5) {
      plat::PostQuitMessage(0);
    }
  };
  td::OnWait([] { Activate(); });
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(td::CountCalls("Restore"), 0);
  EXPECT_EQ(td::CountCalls("LoadImageA"), 1);
  EXPECT_EQ(td::CountCalls("TestCooperativeLevel"), 1);
  EXPECT_TRUE(SceneShown());
}

// The demo, switched away and back 200 times: after each return its scene is
// on the screen as it was before the first switch (the pulsing star aside).
TEST(DisplayAwayDemo, TwoHundredSwitchesBringTheDemoSceneBackEachTime) {
  constexpr int kSwitches = 200;
  td::Reset(); // no fake module: prog.dll is the demo's
  td::SetModuleFolder(std::filesystem::path(DEMO_MODULE).parent_path().string());
  td::SetClockStep(9);
  auto outsideStar = [](int32_t x, int32_t y) {
    return x < 544 - 48 || x >= 544 + 48 || y < 176 - 48 || y >= 176 + 48;
  };
  std::vector<uint32_t> reference;
  auto shot = [&] {
    std::vector<uint32_t> pixels;
    const plat::Surface shown = soft::Primary();
    for (int32_t y = 0; y < 480; y += 3) {
      for (int32_t x = 0; x < 640; x += 3) {
        pixels.push_back(outsideStar(x, y) ? soft::PixelRgb(shown, x, y) : 0);
      }
    }
    return pixels;
  };
  int switches = 0;
  int flipsSinceBack = 0;
  int whole = 0;
  td::OnCall("Flip", [&](const td::Call &) {
    if (++flipsSinceBack < 3 || vantrel::displayAway) {
      return;
    }
    // The primary shows the frame presented last: the first whole one
    // since the return.
    if (reference.empty()) {
      reference = shot();
    } else {
      whole += shot() == reference ? 1 : 0;
    }
    if (switches == kSwitches) {
      plat::PostQuitMessage(0);
      return;
    }
    ++switches;
    flipsSinceBack = 0;
    td::ClearLog();            // a long run's log would only slow it down
    soft::LoseExclusiveMode(); // this flip finds the display gone
    Deactivate();
  });
  td::OnWait([] {
    soft::RegainExclusiveMode();
    Activate();
  });
  EXPECT_EQ(RunHost(), 0);
  EXPECT_EQ(switches, kSwitches);
  EXPECT_EQ(whole, kSwitches);
  ASSERT_EQ(td::Boxes().size(), 1u);
  EXPECT_EQ(td::Boxes().at(0).text, "DESTROY!");
  td::Reset();
}

} // namespace
