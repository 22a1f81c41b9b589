// The key-state calls served to modules (GetAsyncKeyState, GetKeyState),
// kept by the window's own messages; and the window title calls.
#include "fake_module.h"

#include "host/host_state.h"
#include "host/startup.h"
#include "host/window_proc.h"
#include "module/prog_instance.h"
#include "platform/module_calls/window_title.h"
#include "tests/double/test_double.h"
#include "vantrel_win32.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class ServedKeys : public ::testing::Test {
protected:
  void SetUp() override {
    fake::Install();
    vantrel::progProcedure = fake::Procedure;
  }
  void Send(uint32_t message, plat::WPARAM wParam) {
    vantrel::WindowProc(window, message, wParam, 0);
  }
  plat::HWND window = reinterpret_cast<plat::HWND>(&marker);
  char marker = 0;
};

// One step of a script: a message for the window (none when 0), then the
// two queries of one key, GetKeyState first (GetAsyncKeyState clears the
// "pressed since" bit it reports).
struct Step {
  uint32_t message;
  plat::WPARAM wParam;
  int vk;
  uint16_t keyState;
  uint16_t asyncState;
};

constexpr uint32_t kDown = plat::WM_KEYDOWN;
constexpr uint32_t kUp = plat::WM_KEYUP;
constexpr uint32_t kNone = 0;

struct Script {
  const char *name;
  std::vector<Step> steps;
};

TEST_F(ServedKeys, ScriptsOfPressesHoldsAndReleases) {
  const Script scripts[] = {
      {"press, hold, release",
       {{kNone, 0, 'A', 0x0000, 0x0000},
        {kDown, 'A', 'A', 0x8001, 0x8001}, // down, toggled, pressed since the last query
        {kNone, 0, 'A', 0x8001, 0x8000},   // asked again: no new press
        {kDown, 'A', 'A', 0x8001, 0x8000}, // the platform's repeat is no new press
        {kUp, 'A', 'A', 0x0001, 0x0000},   // up; the toggle stays
        {kDown, 'A', 'A', 0x8000, 0x8001}, // the second press toggles back
        {kUp, 'A', 'A', 0x0000, 0x0000}}},
      {"a press between two queries is still seen",
       {{kDown, 'B', kNone, 0, 0},
        {kUp, 'B', 'B', 0x0001, 0x0001},
        {kNone, 0, 'B', 0x0001, 0x0000}}},
      {"two keys",
       {{kDown, VK_LEFT, kNone, 0, 0},
        {kDown, VK_UP, VK_LEFT, 0x8001, 0x8001},
        {kNone, 0, VK_UP, 0x8001, 0x8001},
        {kUp, VK_LEFT, VK_LEFT, 0x0001, 0x0000},
        {kNone, 0, VK_UP, 0x8001, 0x8000},
        {kUp, VK_UP, VK_UP, 0x0001, 0x0000}}},
      {"Escape, which ends the run, is kept too",
       {{kDown, VK_ESCAPE, VK_ESCAPE, 0x8001, 0x8001},
        {kUp, VK_ESCAPE, VK_ESCAPE, 0x0001, 0x0000}}},
      {"the mouse buttons by their virtual keys",
       {{plat::WM_LBUTTONDOWN, 1, VK_LBUTTON, 0x8001, 0x8001},
        {plat::WM_RBUTTONDOWN, 2, VK_RBUTTON, 0x8001, 0x8001},
        {plat::WM_LBUTTONUP, 0, VK_LBUTTON, 0x0001, 0x0000},
        {kNone, 0, VK_RBUTTON, 0x8001, 0x8000},
        {plat::WM_RBUTTONUP, 0, VK_RBUTTON, 0x0001, 0x0000}}},
      {"the key is the low 8 bits of wParam",
       {{kDown, 0x1C1, 0xC1, 0x8001, 0x8001}, {kNone, 0, 0x1C1, 0x0000, 0x0000}}},
      {"no key outside 0..255; other messages change nothing",
       {{plat::WM_SYSKEYDOWN, 'C', 'C', 0x0000, 0x0000},
        {plat::WM_MBUTTONDOWN, 0, 0x04, 0x0000, 0x0000},
        {kDown, 0xFF, -1, 0x0000, 0x0000},
        {kNone, 0, 256, 0x0000, 0x0000},
        {kNone, 0, 0xFF, 0x8001, 0x8001}}},
  };
  for (const Script &script : scripts) {
    fake::Install();
    vantrel::progProcedure = fake::Procedure;
    for (size_t i = 0; i < script.steps.size(); ++i) {
      const Step &step = script.steps[i];
      if (step.message != kNone) {
        Send(step.message, step.wParam);
      }
      if (step.vk == kNone) {
        continue;
      }
      EXPECT_EQ(static_cast<uint16_t>(GetKeyState(step.vk)), step.keyState)
          << script.name << ", step " << i;
      EXPECT_EQ(static_cast<uint16_t>(GetAsyncKeyState(step.vk)), step.asyncState)
          << script.name << ", step " << i;
    }
  }
}

// During the module's own call the key already reads as the event has it.
TEST_F(ServedKeys, TheModuleReadsTheStateItsEventBrings) {
  std::vector<uint16_t> during;
  fake::M().onProcedure = [&during](const fake::ProcCall &call) {
    if (call.event.code == EV_KEYDOWN || call.event.code == EV_KEYUP) {
      during.push_back(static_cast<uint16_t>(GetKeyState(call.event.key)));
    }
  };
  Send(kDown, 'Q');
  Send(kUp, 'Q');
  EXPECT_EQ(during, (std::vector<uint16_t>{0x8001, 0x0001}));
  EXPECT_LT(GetKeyState(VK_SPACE), 1); // 0: never pressed
}

TEST_F(ServedKeys, ARunStartsWithEveryKeyUp) {
  Send(kDown, 'Z');
  td::Reset();
  EXPECT_EQ(GetKeyState('Z'), 0);
}

std::vector<std::string> shown;
void Show(const char *title) { shown.emplace_back(title); }

TEST_F(ServedKeys, TheTitleGoesOnTheHostsWindowOnly) {
  modulecalls::ResetWindowTitle();
  shown.clear();
  EXPECT_EQ(GetActiveWindow(), nullptr); // no window yet
  EXPECT_EQ(SetWindowTextA(nullptr, "x"), FALSE);

  HWND seen = nullptr;
  BOOL answers[3] = {};
  fake::M().onProcedure = [&](const fake::ProcCall &call) {
    if (call.event.code == EV_INIT) {
      seen = GetActiveWindow();
      modulecalls::SetTitleShower(Show);
      answers[0] = SetWindowTextA(seen, "My game");
      answers[1] = SetWindowTextA(reinterpret_cast<HWND>(&marker), "not ours");
      answers[2] = SetWindowTextA(seen, nullptr); // an empty title
      SetWindowTextA(seen, "My game 2");
    }
  };
  td::QuitAfterPeeks(1);
  EXPECT_EQ(vantrel::WinMain(nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(seen, reinterpret_cast<HWND>(vantrel::mainWindow));
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(answers[0], TRUE);
  EXPECT_EQ(answers[1], FALSE);
  EXPECT_EQ(answers[2], TRUE);
  EXPECT_EQ(shown, (std::vector<std::string>{"My game", "", "My game 2"}));
  EXPECT_EQ(modulecalls::WindowTitle(), "My game 2");
  modulecalls::ResetWindowTitle();
}

} // namespace
