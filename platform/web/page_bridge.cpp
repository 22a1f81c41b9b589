// page_bridge.cpp - the calls into the page's script (web_page.js). The
// EM_ASYNC_JS ones suspend the program until their promise settles.
#include "platform/web/page_bridge.h"

#include "platform/box_buttons.h"

#include <emscripten.h>
#include <string>

namespace {

// clang-format off
EM_JS(int32_t, vantrel_page_next_event, (int32_t *ints, double *numbers, char *code, int32_t codeSize), {
  return Module.vantrelPage.takeEvent(ints, numbers, code, codeSize);
});
EM_ASYNC_JS(void, vantrel_page_wait_event, (), {
  await Module.vantrelPage.nextEventArrives();
});
EM_ASYNC_JS(void, vantrel_page_wait_frame, (), {
  await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});
EM_ASYNC_JS(void, vantrel_page_sleep, (int32_t ms), {
  await new Promise(function(resolve) { setTimeout(resolve, ms); });
});
EM_ASYNC_JS(int32_t, vantrel_page_ask_box, (const char *text, const char *caption, const char *labels, const int32_t *answers, int32_t count, int32_t defaultIndex, int32_t onEscape), {
  var buttons = [];
  var names = UTF8ToString(labels).split('\n');
  for (var i = 0; i < count; i++) {
    buttons.push({label: names[i], answer: HEAP32[(answers >> 2) + i]});
  }
  return await Module.vantrelPage.askBox(UTF8ToString(text), UTF8ToString(caption), buttons, defaultIndex, onEscape);
});
EM_JS(void, vantrel_page_put_frame, (const uint8_t *rgba, int32_t width, int32_t height), {
  Module.vantrelPage.putFrame(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
});
EM_JS(void, vantrel_page_keep_canvas, (uint32_t n), {
  Module.vantrelPage.keepCanvas(n);
});
EM_JS(void, vantrel_page_note_frame_time, (double frameMs, double presentMs), {
  Module.vantrelPage.noteFrameTime(frameMs, presentMs);
});
EM_JS(void, vantrel_page_show_title, (const char *title), {
  document.title = UTF8ToString(title);
});
EM_JS(void, vantrel_page_run_ended, (int32_t code), {
  Module.vantrelPage.runEnded(code);
});
EM_JS(int32_t, vantrel_page_replay_frames, (char *out, int32_t size), {
  var frames = Module.vantrelPage.replayFrames();
  if (frames === null) return -1;
  if (size > 0) stringToUTF8(frames, out, size);
  return lengthBytesUTF8(frames);
});
EM_JS(void, vantrel_page_replay_ended, (int32_t code, uint32_t presented, uint32_t kept, int32_t finished, const char *error), {
  Module.vantrelPage.replayEnded({exitCode: code, framesPresented: presented, framesKept: kept,
                                  scriptFinished: finished !== 0, error: UTF8ToString(error)});
});
// clang-format on

} // namespace

namespace web::page {

bool NextEvent(PageEvent *out) {
  int32_t ints[5] = {};
  double numbers[4] = {};
  char code[32] = {};
  if (vantrel_page_next_event(ints, numbers, code, sizeof code) == 0) {
    return false;
  }
  *out = PageEvent{};
  out->kind = static_cast<PageEventKind>(ints[0]);
  out->button = ints[1];
  out->repeat = ints[2] != 0;
  out->alt = ints[3] != 0;
  out->key = VirtualKeyFromCode(code);
  out->x = numbers[0];
  out->y = numbers[1];
  out->boxWidth = numbers[2];
  out->boxHeight = numbers[3];
  return true;
}

void WaitForEvent() { vantrel_page_wait_event(); }
void WaitForFrame() { vantrel_page_wait_frame(); }
void Yield() { vantrel_page_sleep(0); }
void Sleep(uint32_t ms) { vantrel_page_sleep(static_cast<int32_t>(ms & 0x7FFFFFFF)); }
double Now() { return emscripten_get_now(); }

int32_t AskBox(const char *text, const char *caption, uint32_t type) {
  // The page shows the buttons of the box's set, with Windows' answers.
  const plat::BoxButtons set = plat::ButtonsOf(type);
  std::string labels;
  int32_t answers[3] = {};
  for (int32_t i = 0; i < set.count; ++i) {
    labels += (i == 0 ? "" : "\n");
    labels += set.buttons[i].label;
    answers[i] = set.buttons[i].answer;
  }
  return vantrel_page_ask_box(text, caption, labels.c_str(), answers, set.count, set.defaultIndex,
                              set.onEscape);
}

void PutFrame(const uint8_t *rgba, int32_t width, int32_t height) {
  vantrel_page_put_frame(rgba, width, height);
}
void KeepCanvasAs(uint32_t n) { vantrel_page_keep_canvas(n); }
void NoteFrameTime(double frameMs, double presentMs) {
  vantrel_page_note_frame_time(frameMs, presentMs);
}
void ShowTitle(const char *title) { vantrel_page_show_title(title); }
void RunEnded(int32_t code) { vantrel_page_run_ended(code); }

bool ReplayRequested(std::string *frames) {
  const int32_t n = vantrel_page_replay_frames(nullptr, 0);
  if (n < 0) {
    return false;
  }
  std::string text(static_cast<size_t>(n) + 1, '\0');
  vantrel_page_replay_frames(text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  *frames = text;
  return true;
}

void ReplayEnded(int32_t exitCode, uint32_t framesPresented, uint32_t framesKept,
                 bool scriptFinished, const char *error) {
  vantrel_page_replay_ended(exitCode, framesPresented, framesKept, scriptFinished ? 1 : 0,
                            error != nullptr ? error : "");
}

} // namespace web::page
