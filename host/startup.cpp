// The entry point: start-up in its fixed order, then the main loop.
#include "host/startup.h"

#include "display/display_mode.h"
#include "display/display_regain.h"
#include "host/dispatch.h"
#include "host/host_state.h"
#include "host/message_boxes.h"
#include "host/system_requests.h"
#include "host/window_proc.h"
#include "images/image_list.h"
#include "module/module_loader.h"
#include "module/prog_instance.h"
#include "render/draw.h"

namespace vantrel {

namespace {

constexpr const char *kClassName = "Vantrel Engine Beta";
constexpr const char *kTitle = "Release 1 pre1";
// How often an active host whose display another program holds looks whether
// it is back.
constexpr uint32_t kDisplayPollMs = 100;

void RegisterWindowClass(plat::HINSTANCE instance) {
  plat::WNDCLASSA wc{};
  wc.style = plat::CS_VREDRAW | plat::CS_HREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = instance;
  wc.hIcon = plat::LoadIconA(nullptr, plat::IDI_APPLICATION);
  wc.hCursor = plat::LoadCursorA(nullptr, plat::IDC_ARROW);
  wc.hbrBackground = plat::GetStockObject(plat::BLACK_BRUSH);
  wc.lpszMenuName = kClassName;
  wc.lpszClassName = kClassName;
  // A refused registration shows up as the window that cannot be created.
  plat::RegisterClassA(&wc);
}

plat::HWND CreateMainWindow(plat::HINSTANCE instance) {
  const int32_t width = plat::GetSystemMetrics(plat::SM_CXSCREEN);
  const int32_t height = plat::GetSystemMetrics(plat::SM_CYSCREEN);
  return plat::CreateWindowExA(plat::WS_EX_TOPMOST, kClassName, kTitle, plat::WS_POPUP, 0, 0, width,
                               height, nullptr, nullptr, instance, nullptr);
}

void FillCallbackSlots() {
  prog.SetMode = SetMode;
  prog.DrawMap = DrawMap;
  prog.AddImage = AddImage;
  prog.DrawSprite = DrawSprite;
  prog.Report = ReportBox;
}

// One message per turn; idle turns only while the application is active and
// the queue is empty. Answers the quit message's code.
int MainLoop() {
  plat::MSG msg{};
  for (;;) {
    if (plat::PeekMessageA(&msg, nullptr, 0, 0, plat::PM_NOREMOVE) != 0) {
      // A failed fetch (-1) counts as a message, but must not hand on the
      // previous one a second time.
      msg = plat::MSG{};
      if (plat::GetMessageA(&msg, nullptr, 0, 0) == 0) {
        break;
      }
      plat::TranslateMessage(&msg);
      plat::DispatchMessageA(&msg);
    } else if (active != 0 && DisplayReady()) {
      prog.event.code = EV_FRAME;
      Dispatch(CallKind::Idle);
    } else if (active != 0) {
      // Another program holds the display, perhaps with no message to say
      // when it lets go (the lock screen): look again now and then.
      plat::MsgWaitForMultipleObjects(0, nullptr, 0, kDisplayPollMs, plat::QS_ALLINPUT);
    } else {
      plat::WaitMessage();
    }
  }
  ShutdownNotify();
  return static_cast<int>(msg.wParam);
}

// A start-up step failed after the window stood: the module hears of it when
// it can, and the run ends with a failure code.
int FailStartup() {
  ShutdownNotify();
  return 1;
}

} // namespace

int32_t CheckModuleVersion(const VProg *record) {
  if (record == nullptr) {
    return 0;
  }
  if (record->version > MODULE_VERSION_MAX) {
    return ErrorBox("Module is newer version, not supported");
  }
  return 1;
}

namespace {

// Start-up and the main loop; every way out answers the exit code.
int Run(plat::HINSTANCE instance, int showCmd) {
  RegisterWindowClass(instance);
  mainWindow = CreateMainWindow(instance);
  if (mainWindow == nullptr) {
    // Nothing else has started; the launcher must still learn of the failure.
    ErrorBox("Unexpected Windows error (hwnd was NULL).");
    return 1;
  }
  plat::ShowWindow(mainWindow, showCmd);
  plat::UpdateWindow(mainWindow);
  plat::SetFocus(mainWindow);
  lastTick = plat::timeGetTime();

  if (InitDisplay() == 0) {
    ErrorBox("API could not be initialized!");
    return FailStartup();
  }
  if (LoadModule() == 0) {
    return FailStartup();
  }
  FillCallbackSlots();
  if (progInterface(&prog) == 0) {
    ReportBox("VProgInterface(&prog) failed");
    return FailStartup();
  }
  if (CheckModuleVersion(&prog) == 0) {
    return FailStartup();
  }

  // The initial call never draws, whatever the module answers.
  prog.event.code = EV_INIT;
  if (callObserver != nullptr) {
    callObserver(CallKind::Init, prog.event, 0);
  }
  progProcedure(0);
  return MainLoop();
}

} // namespace

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE /*previous*/, char * /*commandLine*/,
            int showCmd) {
  BeginTimerPeriod();
  const int code = Run(instance, showCmd);
  EndSystemRequests();
  return code;
}

} // namespace vantrel
