// Host state of the shell, and putting the whole host back to process start.
#include "host/host_state.h"

#include "base/say_why.h"
#include "display/display_state.h"
#include "host/call_observer.h"
#include "host/key_table.h"
#include "host/system_requests.h"
#include "images/image_reload.h"
#include "module/prog_instance.h"

#include <new>

namespace vantrel {

plat::HWND mainWindow = nullptr;
uint32_t lastTick = 0;
int32_t active = 0;

void ResetHostState() {
  // Reconstructing `prog` frees its image list, as process exit would.
  prog.~VProg();
  new (&prog) VProg();
  ForgetUploads();
  prog.SetMode = nullptr;
  prog.DrawMap = nullptr;
  prog.AddImage = nullptr;
  prog.DrawSprite = nullptr;
  prog.Report = nullptr;
  progInterface = nullptr;
  progProcedure = nullptr;
  callObserver = nullptr;

  device = nullptr;
  primary = nullptr;
  backBuffer = nullptr;
  screenW = 0;
  screenH = 0;
  screenBpp = 0;
  displayAway = false;

  mainWindow = nullptr;
  lastTick = 0;
  active = 0;
  ForgetSaidWhy();
  ResetKeyTable();
  ForgetSystemRequests();
}

} // namespace vantrel
