// Construction and destruction of the interface record and its event.
#include "vantrel.h"

#include <new>

VEvent::VEvent()
    : code(EV_INIT), key(0), reserved(0), aux(EVENT_AUX_DEFAULT), mouseX(0), mouseY(0) {}

// The callback slots are deliberately not initialised here: the host's record
// lives in zeroed static storage, and the host fills the slots at start-up.
VProg::VProg() : layers(nullptr), reserved(0), ihead(nullptr), event(), version(0) {}

// The image list belongs to the host and is freed here. The scene hanging off
// `layers`, the first layer included, was allocated by the module with its
// own runtime; freeing it from the host would cross C runtimes, so it is left
// to the module that owns it.
VProg::~VProg() {
  delete ihead;
  ihead = nullptr;
}

VLayer *VProg::NewLayer(int32_t /*ignored*/) {
  layers = new (std::nothrow) VLayer();
  return layers;
}
