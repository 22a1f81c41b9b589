// device_state.cpp - the device's object tables, look-ups and reset.
#include "platform/soft/device_state.h"

#include "platform/soft/soft_device.h"

namespace soft {

DeviceState &State() {
  static DeviceState state;
  return state;
}

SurfaceObject *FindSurface(const void *handle) {
  if (handle == nullptr) {
    return nullptr;
  }
  auto &table = State().surfaces;
  auto it = table.find(handle);
  return it == table.end() ? nullptr : it->second.get();
}

BitmapObject *FindBitmap(const void *handle) {
  if (handle == nullptr) {
    return nullptr;
  }
  auto &table = State().bitmaps;
  auto it = table.find(handle);
  return it == table.end() ? nullptr : it->second.get();
}

DeviceContext *FindContext(const void *handle) {
  if (handle == nullptr) {
    return nullptr;
  }
  auto &table = State().contexts;
  auto it = table.find(handle);
  return it == table.end() ? nullptr : it->second.get();
}

bool IsDirectDraw4(plat::DirectDraw4 dd) {
  const DeviceState &st = State();
  return st.created && dd != nullptr &&
         static_cast<const void *>(dd) == static_cast<const void *>(&st.directDraw.fourth);
}

void DestroySurface(SurfaceObject *s) {
  DeviceState &st = State();
  if (s == nullptr) {
    return;
  }
  SurfaceObject *back = s->primary ? s->chain : nullptr;
  if (s->chain != nullptr) {
    s->chain->chain = nullptr;
  }
  if (s->dc != nullptr) {
    st.contexts.erase(s->dc);
  }
  if (st.primary == s) {
    st.primary = nullptr;
  }
  st.surfaces.erase(s);
  if (back != nullptr) {
    DestroySurface(back);
  }
}

int64_t PitchFor(int64_t width, int32_t bpp) {
  const int64_t bytes = width * (bpp / 8);
  return (bytes + 3) / 4 * 4;
}

void ResetDevice() {
  DeviceState &st = State();
  st.contexts.clear();
  st.bitmaps.clear();
  st.surfaces.clear();
  st.primary = nullptr;
  st.stockBitmap = nullptr;
  st.created = false;
  st.modeSet = false;
  st.modeWidth = 0;
  st.modeHeight = 0;
  st.modeBpp = 32;
  st.cooperativeFlags = 0;
  st.exclusiveAway = false;
  st.modeChangedElsewhere = false;
  st.modeChangeLoses = true;
}

} // namespace soft
