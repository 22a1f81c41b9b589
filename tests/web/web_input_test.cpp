// The web page backend's plain parts: page events as window messages, and
// the headless backend's hooks it stands on (the frame presenter, the box
// asker).
#include "capture/frame_image.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/soft/pixel_format.h"
#include "platform/soft/soft_device.h"
#include "platform/web/page_input.h"
#include "tests/soft/soft_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using web::DisplayChange;
using web::InputState;
using web::PageEvent;
using web::PageEventKind;

TEST(WebKeys, CodesByPosition) {
  const struct {
    const char *code;
    uint32_t vk;
  } cases[] = {
      {"KeyA", 'A'},
      {"KeyZ", 'Z'},
      {"Digit0", '0'},
      {"Digit9", '9'},
      {"F1", 0x70},
      {"F12", 0x7B},
      {"F24", 0x87},
      {"ArrowLeft", 0x25},
      {"ArrowUp", 0x26},
      {"ArrowRight", 0x27},
      {"ArrowDown", 0x28},
      {"Escape", 0x1B},
      {"Enter", 0x0D},
      {"NumpadEnter", 0x0D},
      {"Space", 0x20},
      {"PageUp", 0x21},
      {"PageDown", 0x22},
      {"ShiftRight", 0x10},
      {"ControlLeft", 0x11},
      {"AltRight", 0x12},
      {"Numpad0", 0x60},
      {"Numpad9", 0x69},
      {"NumpadAdd", 0x6B},
      {"Equal", 0xBB},
      {"Minus", 0xBD},
      {"PrintScreen", 0x2C},
      {"IntlBackslash", 0xE2},
      // No code: unknown names, near misses, F0 and F25, an empty code.
      {"", 0},
      {"Key", 0},
      {"KeyAA", 0},
      {"Keya", 0},
      {"F0", 0},
      {"F25", 0},
      {"F1x", 0},
      {"Digit10", 0},
      {"Unidentified", 0},
      {"escape", 0},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(web::VirtualKeyFromCode(c.code), c.vk) << '"' << c.code << '"';
  }
}

TEST(WebPointer, CssPixelsToModePixels) {
  const struct {
    double x, y, boxW, boxH;
    int32_t modeW, modeH;
    int32_t wantX, wantY;
  } cases[] = {
      {0, 0, 640, 480, 640, 480, 0, 0},             // one to one
      {639.9, 479.9, 640, 480, 640, 480, 639, 479}, // the last pixel
      {400, 300, 800, 600, 640, 480, 320, 240},     // scaled 1.25, no bars
      {100, 0, 1000, 480, 640, 480, 0, 0},          // bars at the sides (180 each)
      {180, 0, 1000, 480, 640, 480, 0, 0},          // the mode's left edge
      {500, 240, 1000, 480, 640, 480, 320, 240},    // its centre
      {900, 240, 1000, 480, 640, 480, 639, 240},    // right bar: clamped
      {320, 10, 640, 1000, 640, 480, 320, 0},       // bars above and below
      {320, 980, 640, 1000, 640, 480, 320, 479},    // bottom bar: clamped
      {-50, -50, 640, 480, 640, 480, 0, 0},         // outside the element
      {2000, 2000, 640, 480, 640, 480, 639, 479},
      {10, 10, 0, 0, 320, 240, 10, 10}, // no size yet: one to one
      {10, 10, 640, 480, 0, 0, 0, 0},   // no mode
  };
  for (const auto &c : cases) {
    const plat::POINT p = web::PointerInMode(c.x, c.y, c.boxW, c.boxH, c.modeW, c.modeH);
    EXPECT_EQ(p.x, c.wantX) << c.x << "," << c.y << " in " << c.boxW << "x" << c.boxH;
    EXPECT_EQ(p.y, c.wantY) << c.x << "," << c.y << " in " << c.boxW << "x" << c.boxH;
  }
}

PageEvent Key(PageEventKind kind, uint32_t vk, bool repeat = false, bool alt = false) {
  PageEvent e;
  e.kind = kind;
  e.key = vk;
  e.repeat = repeat;
  e.alt = alt;
  return e;
}

PageEvent Pointer(PageEventKind kind, double x, double y, int32_t button = 0) {
  PageEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.boxWidth = 640;
  e.boxHeight = 480;
  e.button = button;
  return e;
}

PageEvent Focus(bool gained) {
  PageEvent e;
  e.kind = gained ? PageEventKind::FocusGained : PageEventKind::FocusLost;
  return e;
}

// A sequence of page events and the messages they make, one row each: the
// state carries over from row to row.
TEST(WebMessages, EventsInTurn) {
  struct Msg {
    uint32_t message;
    plat::WPARAM wParam;
    plat::LPARAM lParam;
  };
  struct Row {
    PageEvent event;
    DisplayChange display;
    std::vector<Msg> made;
  };
  const auto at = [](int32_t x, int32_t y) { return static_cast<plat::LPARAM>((y << 16) | x); };
  const plat::LPARAM up = static_cast<plat::LPARAM>(0xC0000001u);
  const Row rows[] = {
      {Key(PageEventKind::KeyDown, 0x27), DisplayChange::None, {{plat::WM_KEYDOWN, 0x27, 1}}},
      {Key(PageEventKind::KeyDown, 0x27, true),
       DisplayChange::None,
       {{plat::WM_KEYDOWN, 0x27, 0x40000001}}},
      {Key(PageEventKind::KeyUp, 0x27), DisplayChange::None, {{plat::WM_KEYUP, 0x27, up}}},
      {Key(PageEventKind::KeyDown, 0x12), DisplayChange::None, {{plat::WM_SYSKEYDOWN, 0x12, 1}}},
      {Key(PageEventKind::KeyDown, 'X', false, true),
       DisplayChange::None,
       {{plat::WM_SYSKEYDOWN, 'X', 1}}},
      {Key(PageEventKind::KeyUp, 0x79), DisplayChange::None, {{plat::WM_SYSKEYUP, 0x79, up}}},
      {Key(PageEventKind::KeyDown, 0), DisplayChange::None, {}}, // no code
      {Pointer(PageEventKind::PointerMove, 100, 50),
       DisplayChange::None,
       {{plat::WM_MOUSEMOVE, 0, at(100, 50)}}},
      // Pressed where the pointer is: the press alone.
      {Pointer(PageEventKind::ButtonDown, 100.5, 50.9, 0),
       DisplayChange::None,
       {{plat::WM_LBUTTONDOWN, 0x0001, at(100, 50)}}},
      {Pointer(PageEventKind::PointerMove, 102, 52),
       DisplayChange::None,
       {{plat::WM_MOUSEMOVE, 0x0001, at(102, 52)}}},
      {Pointer(PageEventKind::ButtonDown, 102, 52, 2),
       DisplayChange::None,
       {{plat::WM_RBUTTONDOWN, 0x0003, at(102, 52)}}},
      // Released elsewhere (no move seen): the pointer moves there first.
      {Pointer(PageEventKind::ButtonUp, 300, 200, 0),
       DisplayChange::None,
       {{plat::WM_MOUSEMOVE, 0x0003, at(300, 200)}, {plat::WM_LBUTTONUP, 0x0002, at(300, 200)}}},
      {Pointer(PageEventKind::ButtonDown, 300, 200, 3), DisplayChange::None, {}}, // no message
      {Pointer(PageEventKind::ButtonDown, 1000, -5, 1),                           // clamped
       DisplayChange::None,
       {{plat::WM_MOUSEMOVE, 0x0002, at(639, 0)}, {plat::WM_MBUTTONDOWN, 0x0012, at(639, 0)}}},
      {Focus(true), DisplayChange::None, {}}, // already active
      {Focus(false), DisplayChange::Lose, {{plat::WM_ACTIVATEAPP, 0, 0}}},
      {Focus(false), DisplayChange::None, {}}, // already inactive
      // The buttons were released away from the page: no longer held.
      {Pointer(PageEventKind::PointerMove, 0, 0),
       DisplayChange::None,
       {{plat::WM_MOUSEMOVE, 0, at(0, 0)}}},
      {Focus(true), DisplayChange::Regain, {{plat::WM_ACTIVATEAPP, 1, 0}}},
  };
  InputState state;
  int row = 0;
  for (const Row &r : rows) {
    headless::InputStep steps[web::kMostMessagesForEvent];
    DisplayChange display = DisplayChange::None;
    const int32_t made = web::MessagesForEvent(r.event, 640, 480, &state, steps, &display);
    EXPECT_EQ(display, r.display) << "row " << row;
    ASSERT_EQ(made, static_cast<int32_t>(r.made.size())) << "row " << row;
    for (int32_t i = 0; i < made; ++i) {
      EXPECT_FALSE(steps[i].idle) << "row " << row << " message " << i;
      EXPECT_EQ(steps[i].message, r.made[i].message) << "row " << row << " message " << i;
      EXPECT_EQ(steps[i].wParam, r.made[i].wParam) << "row " << row << " message " << i;
      EXPECT_EQ(steps[i].lParam, r.made[i].lParam) << "row " << row << " message " << i;
    }
    ++row;
  }
}

// The hooks the web backend sets on the headless backend.
struct Seen {
  std::vector<std::string> calls;
};
Seen seen;

void Presenter(uint32_t frame) { seen.calls.push_back("present " + std::to_string(frame)); }
void Sink(uint32_t frame) { seen.calls.push_back("sink " + std::to_string(frame)); }
int32_t Asker(const char *text, const char *caption, uint32_t type) {
  seen.calls.push_back(std::string("ask [") + caption + "] " + text + " " + std::to_string(type));
  return 7;
}

TEST(HeadlessHooks, PresenterBeforeSinkAndKeptAcrossReset) {
  seen = Seen{};
  headless::SetFramePresenter(Presenter);
  headless::ResetBackend(); // the program's hooks stay
  plat::DirectDraw4 dd = softtest::OpenDevice();
  ASSERT_EQ(soft::SetDisplayMode(dd, 64, 32, 16, 0, 0), plat::DD_OK);
  plat::Surface back = nullptr;
  plat::Surface primary = softtest::PrimaryChain(dd, &back);
  ASSERT_NE(primary, nullptr);
  headless::SetFrameSink(Sink);
  EXPECT_EQ(plat::Flip(primary, nullptr, 0), plat::DD_OK);
  EXPECT_EQ(plat::Flip(primary, nullptr, 0), plat::DD_OK);
  soft::LoseExclusiveMode();
  EXPECT_EQ(plat::Flip(primary, nullptr, 0), plat::DDERR_SURFACELOST); // no frame shown
  const std::vector<std::string> want{"present 1", "sink 1", "present 2", "sink 2"};
  EXPECT_EQ(seen.calls, want);
  headless::SetFramePresenter(nullptr);
  headless::ResetBackend();
}

TEST(HeadlessHooks, BoxesAskedOrAnsweredAtOnce) {
  seen = Seen{};
  EXPECT_EQ(plat::MessageBoxA(nullptr, "text", "Caption", 0), 1); // IDOK, nobody asked
  headless::SetBoxAsker(Asker);
  headless::ResetBackend();
  EXPECT_EQ(plat::MessageBoxA(nullptr, "DESTROY!", "Error!", 0x30), 7);
  EXPECT_EQ(plat::MessageBoxA(nullptr, nullptr, nullptr, 0), 7);
  headless::SetBoxAsker(nullptr);
  EXPECT_EQ(plat::MessageBoxA(nullptr, "again", "Caption", 0), 1);
  const std::vector<std::string> want{"ask [Error!] DESTROY! 48", "ask [Error]  0"};
  EXPECT_EQ(seen.calls, want);
}

} // namespace
