// box_watcher.cpp - answers every message box that appears on the Wine
// desktop and writes down what it said.
//
// Message boxes inside a Wine virtual desktop are not X windows, so the test
// harness cannot see them from outside. This program runs with wine in the
// same prefix as the host. Every 20 ms it looks for visible top-level dialogs
// (class "#32770"), appends one line "caption<TAB>text" to the log for each
// new one (text: the box's static control, id 0xFFFF), and posts it
// WM_COMMAND IDOK, as a click on OK would. It ends when the stop file exists.
//
//   box_watcher.exe LOG STOPFILE [DELAY_MS]
//
// DELAY_MS (default 0) keeps each box open that long before answering, so
// that the harness can take a screenshot of it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Seen {
  HWND wnd;
  DWORD since;  // when the box was first found
  bool logged;  // written to the log
  DWORD posted; // when IDOK was last posted, 0 before
};

constexpr int kMaxSeen = 256;
Seen seen[kMaxSeen];
int seenCount = 0;
const char *logPath = nullptr;
DWORD answerDelay = 0;

Seen *Find(HWND wnd) {
  for (int i = 0; i < seenCount; ++i) {
    if (seen[i].wnd == wnd) {
      return &seen[i];
    }
  }
  if (seenCount == kMaxSeen) {
    seenCount = 0; // old boxes are long gone
  }
  seen[seenCount] = Seen{wnd, GetTickCount(), false, 0};
  return &seen[seenCount++];
}

void Log(HWND box) {
  char caption[512] = {};
  char text[2048] = {};
  GetWindowTextA(box, caption, sizeof caption);
  HWND label = GetDlgItem(box, 0xFFFF);
  if (label != nullptr) {
    GetWindowTextA(label, text, sizeof text);
  }
  FILE *f = std::fopen(logPath, "ab");
  if (f != nullptr) {
    std::fprintf(f, "%s\t%s\n", caption, text);
    std::fclose(f);
  }
}

BOOL CALLBACK Visit(HWND wnd, LPARAM) {
  char cls[64] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(wnd)) {
    return TRUE;
  }
  Seen *s = Find(wnd);
  if (!s->logged) {
    Log(wnd);
    s->logged = true;
  }
  const DWORD now = GetTickCount();
  // Posted again every second while the box stays: a box still busy
  // opening may have dropped the first one.
  if (now - s->since >= answerDelay && (s->posted == 0 || now - s->posted >= 1000)) {
    PostMessageA(wnd, WM_COMMAND, IDOK, 0);
    s->posted = now | 1;
  }
  return TRUE;
}

bool Exists(const char *path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: box_watcher LOG STOPFILE [DELAY_MS]\n");
    return 2;
  }
  logPath = argv[1];
  if (argc > 3) {
    answerDelay = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
  }
  // Create the log at once, so the harness knows the watcher runs.
  if (FILE *f = std::fopen(logPath, "ab")) {
    std::fclose(f);
  }
  while (!Exists(argv[2])) {
    EnumWindows(Visit, 0);
    Sleep(20);
  }
  return 0;
}
