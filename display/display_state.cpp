// The display state shared by the mode, presentation, upload and blitting code.
#include "display/display_state.h"

namespace vantrel {

plat::DirectDraw4 device = nullptr;
plat::Surface primary = nullptr;
plat::Surface backBuffer = nullptr;
int32_t screenW = 0;
int32_t screenH = 0;
int32_t screenBpp = 0;
bool displayAway = false;

} // namespace vantrel
